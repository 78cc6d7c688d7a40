// Shared pieces of the setting-file tests: windows with the file commands installed, files
// on disk, and what the grids hold.
#pragma once

#include "Dialogs.h"
#include "MainFrame.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace kap::test {

// The window of a family with the file commands installed.
std::unique_ptr<MainFrame> makeWindow(Family family, Dialogs& dialogs);

// Every cell of both grids and the modified mark, to see that nothing moved.
struct GridState {
    QList<QStringList> data;
    QList<QStringList> parameters;
    QString tag;
    bool operator==(const GridState&) const = default;
};
GridState stateOf(MainFrame& w);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// A setting file assembled line by line; CR LF after each line and one empty line at the end.
QByteArray fileOf(const QStringList& lines);

// The lines of a fresh window's file, written out from the file format itself.
QStringList freshPointLines();
QStringList freshPulseLines();

// Answers every box: Ok, and No to questions; the open dialog returns openPath.
class LenientDialogs : public Dialogs {
public:
    MsgAnswer message(const QString& text, const QString& title, MsgIcon, MsgButtons buttons) override
    {
        texts << text;
        titles << title;
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
    void beep() override {}
    QString saveFileName(const FileDialogOptions&) override { return {}; }
    QString openFileName(const FileDialogOptions&) override { return openPath; }
    bool choosePrinter(QPrinter&) override { return false; }

    QString openPath;
    QStringList texts;
    QStringList titles;
};

}  // namespace kap::test
