#include "frmVer.h"

#include "Session.h"
#include "Version.h"

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

frmVer::frmVer(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVer"));
    setWindowTitle(tr("Version information"));
    setSizeGripEnabled(false);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAccessibleName(tr("Program icon"));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle = label(QStringLiteral("lblTitle"), this);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    lblTitle->setFont(titleFont);
    lblVersion = label(QStringLiteral("lblVersion"), this);
    lblDescription = label(QStringLiteral("lblDescription"), this);
    lblDescription->setWordWrap(true);
    ConTitle = label(QStringLiteral("ConTitle"), this);
    QFont conFont = ConTitle->font();
    conFont.setBold(true);
    ConTitle->setFont(conFont);
    ConVersion = label(QStringLiteral("ConVersion"), this);
    lblDisclaimer = label(QStringLiteral("lblDisclaimer"), this);
    lblDisclaimer->setWordWrap(true);
    Line1[0] = separator(QStringLiteral("Line1_0"), this);
    Line1[1] = separator(QStringLiteral("Line1_1"), this);

    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmVer::cmdOK_Click);

    auto* text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addSpacing(fontMetrics().height() / 2);
    text->addWidget(lblDescription);

    auto* head = new QHBoxLayout;
    head->addWidget(picIcon, 0, Qt::AlignTop);
    head->addSpacing(fontMetrics().height());
    head->addLayout(text, 1);

    auto* controller = new QVBoxLayout;
    controller->addWidget(ConTitle);
    controller->addWidget(ConVersion);

    auto* foot = new QHBoxLayout;
    foot->addWidget(lblDisclaimer, 1);
    foot->addSpacing(fontMetrics().height());
    foot->addWidget(cmdOK, 0, Qt::AlignBottom);

    auto* all = new QVBoxLayout(this);
    all->addLayout(head);
    all->addWidget(Line1[0]);
    all->addLayout(controller);
    all->addWidget(Line1[1]);
    all->addLayout(foot);
    all->setSizeConstraint(QLayout::SetFixedSize);

    // Wide enough that the wrapped texts read as paragraphs, not as a narrow column.
    const int textWidth = fontMetrics().averageCharWidth() * 52;
    lblDescription->setFixedWidth(textWidth);
    lblDisclaimer->setMinimumWidth(textWidth);

    Form_Load();
}

void frmVer::Form_Load(const QString& controllerVersion)
{
    const int side = style()->pixelMetric(QStyle::PM_LargeIconSize) * 3 / 2;
    const QIcon icon = QApplication::windowIcon();
    picIcon->setPixmap(icon.isNull() ? programMark(side, devicePixelRatioF())
                                     : icon.pixmap(QSize(side, side), devicePixelRatioF()));
    picIcon->setMinimumSize(side, side);

    lblVersion->setText(programVersionText());
    lblTitle->setText(tr("Support-Software for TALOR"));
    ConTitle->setText(tr("TALOR Controller"));
    ConVersion->setText(tr("Ver ") + shownControllerVersion(controllerVersion));
    lblDescription->setText(
        tr("Sets, teaches and operates TALOR rotary actuators through their controller on a "
           "serial line, and keeps their setting data in files."));
    lblDisclaimer->setText(
        tr("Warning: This program is provided as is, without warranty of any kind. Check "
           "every setting on the machine before you operate it: a wrong setting can move "
           "the actuator in a way you do not expect."));
}

void frmVer::cmdOK_Click()
{
    close();
}

frmVer* ShowVersionDialog(Session& session, QWidget* parent)
{
    const QString version = QueryControllerVersion(session);

    frmVer* dialog = parent ? parent->findChild<frmVer*>(QString(), Qt::FindDirectChildrenOnly)
                            : nullptr;
    if (!dialog) {
        dialog = new frmVer(parent);
        // Without an owner nobody else would free it.
        if (!parent)
            dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog->Form_Load(version);
    dialog->setModal(false);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

}  // namespace kap
