// Dialogs for tests: answers are queued in advance, every box is recorded, and a box that
// finds no queued answer fails the running test.
#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kap::test {

struct Box {
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

class ScriptedDialogs : public Dialogs {
public:
    // Queue the answer of the next box (Ok for an OK box, Yes/No/Cancel for questions).
    ScriptedDialogs& answer(MsgAnswer a)
    {
        answers_.append(a);
        return *this;
    }
    ScriptedDialogs& ok(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            answers_.append(MsgAnswer::Ok);
        return *this;
    }
    // Queue the result of the next file dialog ("" = cancelled) or print dialog.
    ScriptedDialogs& file(const QString& path)
    {
        files_.append(path);
        return *this;
    }
    ScriptedDialogs& printer(bool accept)
    {
        printers_.append(accept);
        return *this;
    }
    // Queue the button (by index) pressed in the next box with buttons of its own.
    ScriptedDialogs& pick(int index)
    {
        picks_.append(index);
        return *this;
    }

    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    void beep() override { ++beeps; }
    int choose(const QString& text, const QString& title, MsgIcon icon,
               const QStringList& buttons) override;
    QString saveFileName(const FileDialogOptions& request) override;
    QString openFileName(const FileDialogOptions& request) override;
    bool choosePrinter(QPrinter& printer) override;

    QList<Box> boxes;            // every box shown, in order
    QList<QStringList> choices;  // the buttons of every choose() box, in order
    QList<FileDialogOptions> fileDialogs;
    int beeps = 0;
    int pendingAnswers() const
    {
        return int(answers_.size() + files_.size() + printers_.size() + picks_.size());
    }
    QStringList texts() const;

private:
    QList<MsgAnswer> answers_;
    QStringList files_;
    QList<bool> printers_;
    QList<int> picks_;
};

}  // namespace kap::test
