// Print and Print preview of a main window: the printed setting list of its session.
#pragma once

#include "files/PrintList.h"

#include <QString>

class QPagedPaintDevice;
class QWidget;

namespace kap {

class Session;

// Lets the user choose a printer and prints the list. Without any printer on the system the
// list goes to a PDF file the user names in the save dialog (which asks before it replaces a
// file); proposedPdf, or "Setting list.pdf" in the documents folder, is proposed.
void PrintSettingList(Session& session, const QString& proposedPdf);
// The list in a print-preview window over parent.
void PreviewSettingList(Session& session, QWidget* parent);

// Paints the laid-out list in its 8 pt font; false when the device could not be painted on.
bool paintSettingList(QPagedPaintDevice& device, const QList<printlist::PrintedPage>& pages);

}  // namespace kap
