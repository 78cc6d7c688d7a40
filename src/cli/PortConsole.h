// What a port's session shows, turned into console output: its boxes become lines naming the
// port, its progress dialog a bar, and its questions are answered as the user who typed the
// command would answer them.
#pragma once

#include "cli/Console.h"
#include "platform/Dialogs.h"
#include "session/SessionView.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kap {
class Session;
}

namespace kap::cli {

struct ShownBox {
    QString text;
    QString title;
};

class PortDialogs : public Dialogs {
public:
    // console null: nothing is written (a trial open of a file).
    PortDialogs(Console* console, int slot) : console_(console), slot_(slot) {}

    // What the file dialogs answer.
    QString savePath;
    QString openPath;

    // While set, a Yes/No question goes to the user (or is answered Yes when assumeYes);
    // otherwise every Yes/No question is answered Yes, since the command asked for it, and
    // "Do you save data?" No, since the command line has nothing of its own to save.
    void putQuestionsToUser(bool on, bool assumeYes = false)
    {
        confirming_ = on;
        assumeYes_ = assumeYes;
    }
    // The user said no, or the input ended, when asked.
    bool declined() const { return declined_; }

    // Unless verbose, a step's boxes are held back: a step that succeeds is told by one line
    // of the port instead, one that fails by its boxes, which say why.
    void setVerbose(bool on) { verbose_ = on; }
    void endStep(bool failed);

    // Every box and question, in order.
    QList<ShownBox> boxes;

    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    void beep() override {}
    QString saveFileName(const FileDialogOptions&) override { return savePath; }
    QString openFileName(const FileDialogOptions&) override { return openPath; }
    bool choosePrinter(QPrinter&) override { return false; }

private:
    void say(const QString& text);

    Console* console_;
    int slot_;
    bool confirming_ = false;
    bool assumeYes_ = false;
    bool declined_ = false;
    bool verbose_ = true;
    QStringList held_;
};

// The view of a port's session: only the progress dialog and the controller's error line
// are shown.
class PortView : public NoView {
public:
    PortView(Console& console, int slot, const Session& session)
        : console_(console), slot_(slot), session_(session)
    {
    }

    void showError(const QString& text) override;
    // What Open could not take from the file, as a line of the port.
    void showStatusMessage(const QString& text) override;

private:
    // The progress dialog's steps go to the console; nobody can press Cancel here.
    void setRange(int minimum, int maximum) override;
    void setValue(int value) override;
    void show() override;
    void hide() override;

    Console& console_;
    int slot_;
    const Session& session_;
    int minimum_ = 0;
    int maximum_ = 0;
    int value_ = 0;
    bool shown_ = false;
};

}  // namespace kap::cli
