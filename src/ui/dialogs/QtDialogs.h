// Dialogs shown with Qt's own message boxes, file dialogs and print dialog.
#pragma once

#include "platform/Dialogs.h"

class QWidget;

namespace kap {

class QtDialogs : public Dialogs {
public:
    // parent: the window the boxes belong to (may change as windows come and go).
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override;
    void beep() override;
    int choose(const QString& text, const QString& title, MsgIcon icon,
               const QStringList& buttons) override;
    QString saveFileName(const FileDialogOptions& request) override;
    QString openFileName(const FileDialogOptions& request) override;
    bool choosePrinter(QPrinter& printer) override;

private:
    QWidget* parent_;
};

// "Setting file(*.csv)|*.csv|" -> "Setting file(*.csv)" (Qt's filter form).
QString qtFilterFrom(const QString& classicFilter);

// The program title every box without a title of its own carries.
QString programTitle();

}  // namespace kap
