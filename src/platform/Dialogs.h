// Every message box, question, file dialog and print dialog of the tool goes through this
// interface: QtDialogs shows real dialogs, the tests script the answers.
#pragma once

#include <QString>
#include <QStringList>

class QPrinter;

namespace kap {

enum class MsgIcon { None, Question, Exclamation, Critical, Information };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct FileDialogOptions {
    QString title;        // "SaveAs", "Open"
    QString filter;       // in the classic "Description(*.ext)|*.ext|" form
    QString initialName;  // empty: no name proposed
    bool overwritePrompt = true;
    // Given to a typed name without one ("csv"), before the overwrite prompt; empty: none.
    QString defaultSuffix;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal box. An empty title means the program title.
    virtual MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons) = 0;
    virtual void beep() = 0;
    // A modal box with buttons of its own, the last of them the escape answer. Returns the
    // index of the button pressed. A view without a user takes the escape answer.
    virtual int choose(const QString& text, const QString& title, MsgIcon icon,
                       const QStringList& buttons)
    {
        (void)text, (void)title, (void)icon;
        return int(buttons.size()) - 1;
    }

    // Returns the chosen path, or an empty text when the user cancelled.
    virtual QString saveFileName(const FileDialogOptions& request) = 0;
    virtual QString openFileName(const FileDialogOptions& request) = 0;

    // Lets the user choose and set up a printer; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;

    // Convenience forms of message().
    void ok(const QString& text, const QString& title, MsgIcon icon = MsgIcon::None)
    {
        message(text, title, icon, MsgButtons::Ok);
    }
    bool yes(const QString& text, const QString& title)
    {
        return message(text, title, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
    }
};

}  // namespace kap
