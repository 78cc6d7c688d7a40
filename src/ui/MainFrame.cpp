#include "MainFrame.h"

#include "Module1.h"
#include "QtSerialLine.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kap {

QString visibleControls(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\r'))
            out += QStringLiteral("<CR>");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("<LF>");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("<%1>").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

MainFrame::MainFrame(Family family, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), family_(family), dialogs_(dialogs), MSComm1(new QtSerialLine(this))
{
    setObjectName(family == Family::PointInput ? QStringLiteral("frmMain")
                                               : QStringLiteral("frmpulseMaindemo"));
    setWindowTitle(QStringLiteral("PQ_Series KAP Support-Software "));
    ReplyTimeout* timeout = &module1().replyTimeout;
    if (family == Family::PulseTrain) {
        ownTimeout_ = std::make_unique<ReplyTimeout>(3000.0f);
        timeout = ownTimeout_.get();
    }
    link_ = std::make_unique<Link>(*MSComm1, *timeout, this);

    auto* central = new QWidget(this);
    auto* form = new QFormLayout(central);
    const auto box = [&](const char* name, const QString& label) {
        auto* edit = new QLineEdit(central);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(true);
        edit->setAccessibleName(label);
        auto* caption = new QLabel(label, central);
        caption->setBuddy(edit);
        form->addRow(caption, edit);
        return edit;
    };
    Txt_ComS = box("Txt_ComS", tr("Sent"));
    Txt_ComR = box("Txt_ComR", tr("Received"));
    Txt_Error = box("Txt_Error", tr("Controller error"));
    setCentralWidget(central);
}

MainFrame::~MainFrame() = default;

void MainFrame::showComS(const QString& text)
{
    Txt_ComS->setText(visibleControls(text));
}

void MainFrame::showComR(const QString& text)
{
    Txt_ComR->setText(visibleControls(text));
}

void MainFrame::showError(const QString& text)
{
    Txt_Error->setText(visibleControls(text));
}

void MainFrame::setMainWindowEnabled(bool on)
{
    setEnabled(on);
}

void MainFrame::hideProgress() {}

void MainFrame::setToolbarEnabled(bool) {}

void MainFrame::setCommandsLocked(bool) {}

bool MainFrame::numericInputSelected() const
{
    return true;
}

void MainFrame::focusNumericInput() {}

void MainFrame::closeEvent(QCloseEvent* event)
{
    StorePortNumber();
    event->accept();
    QApplication::quit();
}

}  // namespace kap
