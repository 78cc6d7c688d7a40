#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace kap::test {

MsgAnswer ScriptedDialogs::message(const QString& text, const QString& title, MsgIcon icon,
                                   MsgButtons buttons)
{
    boxes.append({text, title, icon, buttons});
    if (answers_.isEmpty()) {
        ADD_FAILURE() << "unexpected message box: \"" << text.toStdString() << "\" titled \""
                      << title.toStdString() << "\"";
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
    return answers_.takeFirst();
}

int ScriptedDialogs::choose(const QString& text, const QString& title, MsgIcon icon,
                            const QStringList& buttons)
{
    boxes.append({text, title, icon, MsgButtons::Ok});
    choices.append(buttons);
    if (picks_.isEmpty()) {
        ADD_FAILURE() << "unexpected choice: \"" << text.toStdString() << "\"";
        return int(buttons.size()) - 1;
    }
    return picks_.takeFirst();
}

QString ScriptedDialogs::saveFileName(const FileDialogOptions& request)
{
    fileDialogs.append(request);
    if (files_.isEmpty()) {
        ADD_FAILURE() << "unexpected save dialog \"" << request.title.toStdString() << "\"";
        return {};
    }
    return files_.takeFirst();
}

QString ScriptedDialogs::openFileName(const FileDialogOptions& request)
{
    fileDialogs.append(request);
    if (files_.isEmpty()) {
        ADD_FAILURE() << "unexpected open dialog \"" << request.title.toStdString() << "\"";
        return {};
    }
    return files_.takeFirst();
}

bool ScriptedDialogs::choosePrinter(QPrinter&)
{
    if (printers_.isEmpty()) {
        ADD_FAILURE() << "unexpected print dialog";
        return false;
    }
    return printers_.takeFirst();
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const Box& b : boxes)
        out << b.text;
    return out;
}

}  // namespace kap::test
