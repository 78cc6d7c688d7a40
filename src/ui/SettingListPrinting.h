// Print and Print preview of a main window: the printed setting list of its session.
#pragma once

#include <QString>

class QWidget;

namespace kap {

class Session;

// Lets the user choose a printer and prints the list. Without any printer on the system the
// dialog offers a PDF file: fallbackPdf, or "Setting list.pdf" in the documents folder.
void PrintSettingList(Session& session, const QString& fallbackPdf);
// The list in a print-preview window over parent.
void PreviewSettingList(Session& session, const QString& fallbackPdf, QWidget* parent);

}  // namespace kap
