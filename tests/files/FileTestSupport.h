// Shared pieces of the setting-file tests: files on disk, filled sessions, the save question
// and printed pages, and what the grids of a session hold.
#pragma once

#include "ScriptedDialogs.h"
#include "data/ActuatorTypes.h"
#include "platform/Dialogs.h"
#include "session/Session.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace kap::test {

// Every cell of both grids and the modified mark, to see that nothing moved.
struct GridState {
    QList<QStringList> data;
    QList<QStringList> parameters;
    QString tag;
    bool operator==(const GridState&) const = default;
};
GridState stateOf(Session& s);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// A setting file assembled line by line; CR LF after each line and one empty line at the end.
QByteArray fileOf(const QStringList& lines);

// The lines of a fresh window's file, written out from the file format itself.
QStringList freshPointLines();
QStringList freshPulseLines();

// Sessions filled with every kind of cell: the three modes, empty rows, negative and rounded
// positions, notes with commas, quotes and characters beyond ASCII, changed parameters.
void fillPoints(Session& s);
void fillZones(Session& s);

// The answers to "Do you save data?" a test walks through.
enum class Answer { No, Cancel, YesCancelledDialog, YesSaved };

struct Asked {
    Answer answer;
    const char* name;
    bool goesOn() const { return answer == Answer::No || answer == Answer::YesSaved; }
};

inline constexpr Asked kAnswers[] = {{Answer::No, "No"},
                                     {Answer::Cancel, "Cancel"},
                                     {Answer::YesCancelledDialog, "Yes, save dialog cancelled"},
                                     {Answer::YesSaved, "Yes, saved"}};

// Queues the answer to "Do you save data?" and, after Yes, what the Save As dialog returns.
void queueAnswer(ScriptedDialogs& d, Answer answer, const QString& path);
void expectAsked(const ScriptedDialogs& d, Answer answer, const QString& path,
                 const std::string& label);

// The pages of a PDF as pdftotext lays them out, each line reduced to its words (ligatures
// such as "fi" taken apart again).
QList<QList<QStringList>> pagesOf(const QString& pdf);
QStringList words(const QString& text);
::testing::AssertionResult hasLine(const QList<QStringList>& page, const QStringList& wanted);

// Answers every box: Ok, and No to questions; the open dialog returns openPath.
class LenientDialogs : public Dialogs {
public:
    MsgAnswer message(const QString& text, const QString& title, MsgIcon,
                      MsgButtons buttons) override
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
