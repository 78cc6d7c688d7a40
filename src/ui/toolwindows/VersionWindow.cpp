#include "ui/toolwindows/VersionWindow.h"

#include "ui/toolwindows/HiddenWindow.h"
#include "ui/toolwindows/WindowPlacement.h"

#include "session/Session.h"
#include "tools/Version.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kap {

namespace {

QFrame* separator(const QString& name, QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* label(const QString& name, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

// The program's mark when the application has no icon of its own: a rotation arrow, drawn at
// the screen's pixel ratio so it stays sharp at any scale.
QPixmap programMark(int side, qreal ratio)
{
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    const QRectF ring(s * 0.22, s * 0.22, s * 0.56, s * 0.56);
    p.setPen(QPen(Qt::white, s * 0.09, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 100 * 16, 290 * 16);  // open at the top right, where the arrow points

    // Arrowhead at the arc's start (100 degrees), pointing along the turn.
    const QPointF tip(s * 0.5 - s * 0.28 * 0.17, s * 0.5 - s * 0.28 * 0.98);
    QPainterPath head;
    head.moveTo(tip + QPointF(s * 0.17, 0));
    head.lineTo(tip + QPointF(-s * 0.02, -s * 0.13));
    head.lineTo(tip + QPointF(-s * 0.02, s * 0.13));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(head);
    p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.07, s * 0.07);
    return pixmap;
}

}  // namespace

VersionWindow::VersionWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVer"));
    releaseWhenHidden(this);  // hidden, it leaves the accessibility tree
    setWindowTitle(tr("Version information"));
    setSizeGripEnabled(false);

    programIcon_ = new QLabel(this);
    programIcon_->setObjectName(QStringLiteral("picIcon"));
    programIcon_->setAccessibleName(tr("Program icon"));
    programIcon_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    programTitle_ = label(QStringLiteral("lblTitle"), this);
    QFont titleFont = programTitle_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    programTitle_->setFont(titleFont);
    programVersion_ = label(QStringLiteral("lblVersion"), this);
    description_ = label(QStringLiteral("lblDescription"), this);
    description_->setWordWrap(true);
    controllerTitle_ = label(QStringLiteral("ConTitle"), this);
    QFont conFont = controllerTitle_->font();
    conFont.setBold(true);
    controllerTitle_->setFont(conFont);
    controllerVersion_ = label(QStringLiteral("ConVersion"), this);
    disclaimer_ = label(QStringLiteral("lblDisclaimer"), this);
    disclaimer_->setWordWrap(true);
    QFrame* upperLine = separator(QStringLiteral("Line1_0"), this);
    QFrame* lowerLine = separator(QStringLiteral("Line1_1"), this);

    auto* okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &VersionWindow::close);

    auto* text = new QVBoxLayout;
    text->addWidget(programTitle_);
    text->addWidget(programVersion_);
    text->addSpacing(fontMetrics().height() / 2);
    text->addWidget(description_);

    auto* head = new QHBoxLayout;
    head->addWidget(programIcon_, 0, Qt::AlignTop);
    head->addSpacing(fontMetrics().height());
    head->addLayout(text, 1);

    auto* controller = new QVBoxLayout;
    controller->addWidget(controllerTitle_);
    controller->addWidget(controllerVersion_);

    auto* foot = new QHBoxLayout;
    foot->addWidget(disclaimer_, 1);
    foot->addSpacing(fontMetrics().height());
    foot->addWidget(okButton, 0, Qt::AlignBottom);

    auto* all = new QVBoxLayout(this);
    all->addLayout(head);
    all->addWidget(upperLine);
    all->addLayout(controller);
    all->addWidget(lowerLine);
    all->addLayout(foot);
    all->setSizeConstraint(QLayout::SetFixedSize);

    // Wide enough that the wrapped texts read as paragraphs, not as a narrow column.
    const int textWidth = fontMetrics().averageCharWidth() * 52;
    description_->setFixedWidth(textWidth);
    disclaimer_->setMinimumWidth(textWidth);

    showVersions();
}

void VersionWindow::showVersions(const QString& controllerVersion)
{
    const int side = style()->pixelMetric(QStyle::PM_LargeIconSize) * 3 / 2;
    const QIcon icon = QApplication::windowIcon();
    programIcon_->setPixmap(icon.isNull() ? programMark(side, devicePixelRatioF())
                                          : icon.pixmap(QSize(side, side), devicePixelRatioF()));
    programIcon_->setMinimumSize(side, side);

    programVersion_->setText(programVersionText());
    programTitle_->setText(tr("Support-Software for TALOR"));
    controllerTitle_->setText(tr("TALOR Controller"));
    controllerVersion_->setText(tr("Ver %1").arg(shownControllerVersion(controllerVersion)));
    description_->setText(
        tr("Sets, teaches and operates TALOR rotary actuators through their controller on a "
           "serial line, and keeps their setting data in files."));
    disclaimer_->setText(
        tr("Warning: This program is provided as is, without warranty of any kind. Check "
           "every setting on the machine before you operate it: a wrong setting can move "
           "the actuator in a way you do not expect."));
}

VersionWindow* showVersionWindow(Session& session, QWidget* parent)
{
    const QString version = QueryControllerVersion(session);

    VersionWindow* dialog =
        parent ? parent->findChild<VersionWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!dialog) {
        dialog = new VersionWindow(parent);
        // Without an owner nobody else would free it.
        if (!parent)
            dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog->showVersions(version);
    dialog->setModal(false);
    placeBeside(dialog, parent);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

}  // namespace kap
