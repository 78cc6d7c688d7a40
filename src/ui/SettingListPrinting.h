// Plugs the setting-file commands and the printed list into a main window: New File, Open,
// Save As (also the Save As of the window's closing steps), Print and Print preview.
#pragma once

#include <QString>

namespace kap {

class MainFrame;

struct FileCommandOptions {
    // Where the list goes when the system has no printer: the print dialog offers this PDF
    // file and the user may change it. Empty: "Setting list.pdf" in the documents folder.
    QString pdfPath;
};

void installFileCommands(MainFrame& window, const FileCommandOptions& options = {});

}  // namespace kap
