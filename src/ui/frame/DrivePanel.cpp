// The drive panel's widgets: their form names, captions, colours, lamps and keys.
#include "ui/frame/DrivePanel.h"

#include "link/Link.h"
#include "operation/Drive.h"
#include "operation/Teaching.h"
#include "session/CommandOffer.h"
#include "session/Session.h"
#include "ui/frame/FrameTables.h"
#include "ui/frame/QuickParameterBoxes.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kap {
namespace {

// The style sheet of a button shade; the button face is the style's own.
QString styleOf(Shade shade)
{
    QColor c;
    switch (shade) {
    case Shade::ButtonFace:
        break;
    case Shade::Green:
        c = QColor(0, 255, 0);
        break;
    case Shade::Magenta:
        c = QColor(255, 0, 255);
        break;
    case Shade::LightGrey:
        c = QColor(224, 224, 224);
        break;
    case Shade::LightGreen:
        c = QColor(128, 255, 128);
        break;
    case Shade::LightYellow:
        c = QColor(255, 255, 128);
        break;
    case Shade::Pink:
        c = QColor(255, 128, 255);
        break;
    case Shade::LightPink:
        c = QColor(255, 192, 255);
        break;
    case Shade::LightOrange:
        c = QColor(255, 192, 128);
        break;
    case Shade::LightCyan:
        c = QColor(128, 255, 255);
        break;
    }
    // A flat fill with a plain border, so the colour shows in every style; every shade has
    // the same border and padding, so a change of colour never moves the layout.
    return QStringLiteral("QPushButton { background-color: %1; border: 1px solid palette(dark);"
                          " border-radius: 3px; padding: 4px 10px; }"
                          "QPushButton:disabled { color: #9a9a9a; }"
                          "QPushButton:focus { border: 1px solid palette(highlight); }"
                          "QPushButton:checked { font-weight: bold; }")
        .arg(c.isValid() ? c.name() : QStringLiteral("palette(button)"));
}

// Lit: a yellow dot with a dark outline; off: a thin hollow ring. The outline and the fill
// tell the two apart without the colour.
QString lampStyle(bool on, int diameter)
{
    if (on)
        return QStringLiteral("border: 3px solid #202020; border-radius: %1px;"
                              "background-color: #ffff00;")
            .arg(diameter / 2);
    return QStringLiteral("border: 1px solid palette(dark); border-radius: %1px;"
                          "background-color: transparent;")
        .arg(diameter / 2);
}

// A lamp row (shape and caption) is one object to assistive tools: named by its signal,
// checked while lit, with "on" or "off" as its description.
class LampAccessible : public QAccessibleWidget {
public:
    explicit LampAccessible(QWidget* row) : QAccessibleWidget(row, QAccessible::CheckBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return widget()->property("lampName").toString();
        if (t == QAccessible::Description)
            return lit() ? DrivePanel::tr("on") : DrivePanel::tr("off");
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State st = QAccessibleWidget::state();
        st.checkable = true;
        st.checked = lit();
        st.readOnly = true;
        st.focusable = false;
        return st;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

private:
    bool lit() const
    {
        const QLabel* shape =
            widget()->findChild<QLabel*>(widget()->property("lampShape").toString());
        return shape && shape->property("lit").toBool();
    }
};

QAccessibleInterface* lampFactory(const QString&, QObject* object)
{
    auto* w = qobject_cast<QWidget*>(object);
    if (w && w->property("lampShape").isValid())
        return new LampAccessible(w);
    return nullptr;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(caption);
    return b;
}

QLineEdit* box(QWidget* parent, const char* name, const QString& label, bool readOnly = false)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setAccessibleName(label);
    e->setReadOnly(readOnly);
    e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8);
    return e;
}

QLabel* captionFor(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption)
{
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(QLatin1String(name));
    return g;
}

// What a lamp's signal means, for its tool tip.
QString lampMeaning(bool point, int index)
{
    if (index >= 8 && index <= 13)
        return DrivePanel::tr("Point number output, bit %1").arg(13 - index);
    switch (index) {
    case 3:
        return DrivePanel::tr("Ready: the controller takes commands");
    case 2:
        return point ? DrivePanel::tr("Busy: the actuator is moving")
                     : DrivePanel::tr("Enable: the servo is on and pulses are taken");
    case 1:
        return point ? DrivePanel::tr("In position: the actuator has reached its target")
                     : DrivePanel::tr("In position, or holding");
    case 0:
        return point ? DrivePanel::tr("Hold: the motion is held")
                     : DrivePanel::tr("Zone: the angle lies in the zone output range");
    default:
        break;
    }
    return {};
}

// A status lamp: a round shape beside its caption.
QWidget* lamp(QWidget* parent, int index, const QString& caption, QHash<int, QLabel*>& lamps)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(lampFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    auto* w = new QWidget(parent);
    w->setObjectName(QStringLiteral("Lamp_%1").arg(index));
    w->setProperty("lampName", caption.trimmed());
    w->setProperty("lampShape", QStringLiteral("Indic_%1").arg(index));
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    auto* shape = new QLabel(w);
    shape->setObjectName(QStringLiteral("Indic_%1").arg(index));
    shape->setAccessibleName(caption);
    const int d = shape->fontMetrics().height();
    shape->setFixedSize(d, d);
    shape->setStyleSheet(lampStyle(false, d));
    shape->setProperty("lit", false);
    lamps.insert(index, shape);
    l->addWidget(shape);
    l->addWidget(new QLabel(caption, w));
    l->addStretch();
    return w;
}

// The panel's keys: Alt with a letter of the caption. None is a menu's (File F, View V,
// Tool T, Help H); Esc and Pause stop as well (see MainFrame::stopKey).
struct PanelKey {
    const char* name;
    char letter;
    const char* what;  // what the control does, for its tool tip; none for the options
};
constexpr PanelKey kPanelKeys[] = {
    {"Cmd_Setup", 'G',
     QT_TRANSLATE_NOOP("kap::DrivePanel", "Setting mode: edit and exchange the data")},
    {"Cmd_driv", 'O', QT_TRANSLATE_NOOP("kap::DrivePanel", "Operation mode: drive the actuator")},
    {"Cmd_Start", 'S', QT_TRANSLATE_NOOP("kap::DrivePanel", "Move to the chosen point")},
    {"Cmd_Return", 'R', QT_TRANSLATE_NOOP("kap::DrivePanel", "Return to origin")},
    {"Cmd_Stop", 'P', QT_TRANSLATE_NOOP("kap::DrivePanel", "Stop the actuator")},
    {"Cmd_Set", 'E', QT_TRANSLATE_NOOP("kap::DrivePanel", "Take the taught value into the table")},
    {"Opt_Num_0", 'N', nullptr},
    {"Opt_Num_1", 'D', nullptr},
    {"Opt_Num_2", 'Y', nullptr},
};

// The caption with its letter marked for Alt: the first letter of a word when one fits, else
// the first place it occurs, else added in brackets (as Japanese captions carry theirs).
QString withMnemonic(const QString& caption, QChar letter)
{
    qsizetype at = -1;
    for (qsizetype i = 0; i < caption.size() && at < 0; ++i) {
        if (caption[i].toUpper() == letter && (i == 0 || caption[i - 1].isSpace()))
            at = i;
    }
    if (at < 0)
        at = caption.indexOf(letter, 0, Qt::CaseInsensitive);
    if (at < 0)
        return caption.trimmed() + QStringLiteral("(&") + letter + u')';
    return caption.left(at) + u'&' + caption.mid(at);
}

}  // namespace

void DrivePanel::addKeys()
{
    for (const PanelKey& k : kPanelKeys) {
        auto* b = findChild<QAbstractButton*>(QLatin1String(k.name));
        if (!b)
            continue;  // not on this window
        const QChar letter = QLatin1Char(k.letter);
        // The name a screen reader says stays the caption without its mark.
        if (b->accessibleName().isEmpty())
            b->setAccessibleName(b->text().trimmed());
        b->setText(withMnemonic(b->text(), letter));
        QString keys =
            QKeySequence(Qt::ALT | Qt::Key(letter.unicode())).toString(QKeySequence::NativeText);
        if (qstrcmp(k.name, "Cmd_Stop") == 0) {
            keys += QStringLiteral(", ")
                    + QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText)
                    + QStringLiteral(", ")
                    + QKeySequence(Qt::Key_Pause).toString(QKeySequence::NativeText);
        }
        const QString what = k.what ? tr(k.what) + u'\n' : QString();
        b->setToolTip(what + tr("Keyboard: %1").arg(keys));
    }
}

DrivePanel::DrivePanel(Session& session, std::function<bool(Command)> commandEnabled,
                       QWidget* parent)
    : QWidget(parent), session_(session), commandEnabled_(std::move(commandEnabled))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    column->addLayout(row);
    const bool point = session_.isPointInput();
    // The widgets the quick-parameter boxes work on.
    QuickParameterWidgets quickWidgets;

    // Mode buttons.
    auto* modes = new QVBoxLayout;
    QPushButton* settingButton = addCommandButton(this, "Cmd_Setup", tr("Setting"));
    QPushButton* operationButton = addCommandButton(this, "Cmd_driv", tr("Operation"));
    for (QPushButton* b : {settingButton, operationButton}) {
        b->setMinimumHeight(b->sizeHint().height() * 2);
        modes->addWidget(b);
    }
    modes->addStretch();
    row->addLayout(modes);

    // Teaching.
    auto* setup = frame(this, "Frame1", point ? tr("Setup") : tr("Direct teaching"));
    auto* sl = new QGridLayout(setup);
    int r = 0;
    if (point) {
        const QStringList captions = {tr("Numeric Input "), tr("Direct Teaching "),
                                      tr("Teaching Playback")};
        for (int i = 0; i < 3; ++i) {
            auto* o = new QRadioButton(captions[i], setup);
            o->setObjectName(QStringLiteral("Opt_Num_%1").arg(i));
            inputOptions_.append(o);
            // clicked, not toggled: only the user's choice runs the mode's procedure.
            connect(o, &QRadioButton::clicked, this, [this, i] {
                if (inputOptionOffered(session_, i))
                    operation::ChooseInputMode(session_, i);
                else
                    showState();  // the option shown checked goes back to the running one
            });
            // Arrow keys only move the focus; Space or Enter chooses (see eventFilter).
            o->installEventFilter(this);
            sl->addWidget(o, r++, 0, 1, 3);
            if (i == 0) {
                o->setChecked(true);
                numericInput_ = o;
            }
        }
    }
    QPushButton* setBase = addCommandButton(setup, "Cmd_SetBase", tr("Origin point shift"));
    QPushButton* targetP = addCommandButton(setup, "Cmd_TargetP", tr("Position"));
    sl->addWidget(setBase, r, 0);
    sl->addWidget(targetP, r++, 1);
    QLineEdit* position = box(setup, "Txt_Pos", tr("Setting position (deg)"));
    settingPosition_ = position;
    quickWidgets.position = position;
    sl->addWidget(captionFor(setup, tr("Setting position (deg)"), position), r, 0);
    sl->addWidget(position, r++, 1);
    QPushButton* setButton = addCommandButton(setup, "Cmd_Set", tr("SET"));
    QPushButton* jogCw = addCommandButton(setup, "Cmd_Op", tr("CW"));
    QPushButton* jogCcw = addCommandButton(setup, "Cmd_Cl", tr("CCW"));
    jogCw->setAccessibleName(tr("Jog CW"));
    jogCcw->setAccessibleName(tr("Jog CCW"));
    sl->addWidget(setButton, r, 0);
    auto* jog = new QHBoxLayout;
    jog->addWidget(jogCw);
    jog->addWidget(jogCcw);
    sl->addLayout(jog, r++, 1);
    row->addWidget(setup);

    // Quick parameters (point-input window).
    auto* params = frame(this, "Frame3", tr("Parameters"));
    auto* pl = new QGridLayout(params);
    // One row per box: caption, box, unit.
    const auto quickBox = [&](int r, const char* name, const QString& caption, QWidget* unit,
                              const QString& text) {
        QLineEdit* e = box(params, name, caption);
        e->setText(text);
        pl->addWidget(captionFor(params, caption, e), r, 0);
        pl->addWidget(e, r, 1);
        pl->addWidget(unit, r, 2);
        return e;
    };
    inertiaUnit_ = new QLabel(params);
    inertiaUnit_->setObjectName(QStringLiteral("Label10"));
    quickWidgets.boxes = {
        quickBox(0, "Txt_spd", tr("Load Inertia "), inertiaUnit_, QStringLiteral("1000")),
        quickBox(1, "Txt_Dist", tr("Acceleration"), new QLabel(tr("%"), params),
                 QStringLiteral("100")),
        quickBox(2, "Txt_Limit", tr("Org return Speed"), new QLabel(tr("rps"), params),
                 QStringLiteral("0.10")),
    };
    auto* dir = new QGroupBox(tr("Org return direction"), params);
    dir->setObjectName(QStringLiteral("Frame_OrgDirection"));
    dir->setAccessibleName(dir->title());
    auto* dl = new QHBoxLayout(dir);
    for (int i = 0; i < 2; ++i) {
        auto* o = new QRadioButton(i == 0 ? tr("CW") : tr("CCW"), dir);
        o->setObjectName(QStringLiteral("OP1_%1").arg(i));
        // Told apart from the jog buttons of the same captions.
        o->setAccessibleName(i == 0 ? tr("Org return CW") : tr("Org return CCW"));
        o->setChecked(i == 1);
        dl->addWidget(o);
        quickWidgets.directions[std::size_t(i)] = o;
    }
    pl->addWidget(dir, 3, 0, 1, 3);
    row->addWidget(params);
    params->setVisible(point);

    // Drive.
    auto* drive = frame(this, "Frame2", tr("Drive"));
    auto* dv = new QGridLayout(drive);
    QPushButton* start = addCommandButton(drive, "Cmd_Start", tr("Start"));
    QPushButton* toOrigin = addCommandButton(drive, "Cmd_Return", tr("Org"));
    QPushButton* stop = addCommandButton(drive, "Cmd_Stop", tr("Stop"));
    // Their colours while pressed: Start and Org on the mouse, Stop on a key.
    for (QPushButton* b : {start, toOrigin, stop})
        b->installEventFilter(this);
    int dr = 1;
    if (point) {
        dv->addWidget(start, 0, 0);
        dv->addWidget(toOrigin, 0, 1);
        dv->addWidget(stop, 0, 2);
    } else {
        start->hide();  // present, but it has no command on this window
        dv->addWidget(toOrigin, 0, 0);
        dv->addWidget(stop, 0, 1);
        const QList<QPair<const char*, QString>> extra = {
            {"Cmd_Srvo", tr("Servo ON")},
            {"Cmd_Brake", tr("Brake OFF")},
            {"Cmd_Dousa", tr("Positioning operation")},
            {"Cmd_Hensa", tr("Clearing pulse-deviation")},
            {"Cmd_Alarm", tr("Canceling alarm")},
        };
        int c = 0;
        for (const auto& [name, caption] : extra) {
            dv->addWidget(addCommandButton(drive, name, caption), dr, c);
            if (++c == 3) {
                c = 0;
                ++dr;
            }
        }
        ++dr;
    }
    QLineEdit* currentAngle = box(drive, "Txt_NowPosi", tr("Current angle"), true);
    currentAngle->setAlignment(Qt::AlignRight);
    currentAngle_ = currentAngle;
    dv->addWidget(captionFor(drive, tr("Current angle"), currentAngle), dr, 0);
    dv->addWidget(currentAngle, dr, 1);
    dv->addWidget(new QLabel(tr("(deg)"), drive), dr, 2);
    row->addWidget(drive);

    // Lamps and the controller's error line.
    auto* view = frame(this, "Frame4", point ? tr("View") : tr("Display"));
    auto* vl = new QGridLayout(view);
    // The controller's signal names.
    const QList<QPair<int, QString>> lamps =
        point
            ? QList<QPair<int, QString>>{{3, tr("READY")},  {2, tr("BUSY")},   {1, tr("INPOS")},
                                         {0, tr("HOLD")},   {13, tr("Pos 0")}, {12, tr("Pos 1")},
                                         {11, tr("Pos 2")}, {10, tr("Pos 3")}, {9, tr("Pos 4")},
                                         {8, tr("Pos 5")}}
            : QList<QPair<int, QString>>{{3, tr("READY")}, {2, tr("ENABLE")}, {1, tr("INPOS/HOLD")},
                                         {0, tr("ZONE")},  {13, tr("ALR")},   {12, tr("CCLR")},
                                         {11, tr("BRK")}};
    for (int i = 0; i < lamps.size(); ++i) {
        const int index = lamps[i].first;
        QWidget* l = lamp(view, index, lamps[i].second, lamps_);
        // The pulse-train window's 11 to 13 are alarm, clear and brake, not point bits.
        const QString meaning = !point && index == 13   ? tr("Alarm: the controller has an alarm")
                                : !point && index == 12 ? tr("Deviation counter clear")
                                : !point && index == 11 ? tr("Brake: the brake is released")
                                                        : lampMeaning(point, index);
        l->setToolTip(meaning);
        vl->addWidget(l, i % 5, i / 5);
    }
    if (!point) {
        // The pulse-train window's position outputs stand apart, in a column of their own.
        auto* positions = new QVBoxLayout;
        for (const auto& [index, caption] :
             QList<QPair<int, QString>>{{8, tr("Pos 5")}, {9, tr("Pos 4")}, {10, tr("Pos 3")}}) {
            QWidget* l = lamp(view, index, caption, lamps_);
            l->setToolTip(lampMeaning(point, index));
            positions->addWidget(l);
        }
        positions->addStretch();
        vl->addLayout(positions, 0, 3, 5, 1);
        vl->setColumnMinimumWidth(2, vl->spacing() * 3);
    }
    errorBox_ = box(view, "Txt_Error", tr("Controller error"), true);
    vl->addWidget(captionFor(view, tr("ERROR"), errorBox_), 5, 0);
    // Wide enough for a controller's error line.
    errorBox_->setMinimumWidth(errorBox_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 12);
    vl->addWidget(errorBox_, 5, 1, 1, point ? 1 : 3);
    row->addWidget(view);

    row->addStretch(1);

    // The last line sent and the last reply, across the whole width.
    auto* ll = new QHBoxLayout;
    sentBox_ = box(this, "Txt_ComS", tr("Last command sent"), true);
    replyBox_ = box(this, "Txt_ComR", tr("Last reply received"), true);
    ll->addWidget(captionFor(this, tr("Sent"), sentBox_));
    ll->addWidget(sentBox_, 1);
    ll->addWidget(captionFor(this, tr("Received"), replyBox_));
    ll->addWidget(replyBox_, 2);
    column->addLayout(ll);

    addKeys();
    // The mode and teaching-target buttons show the chosen one checked. Wide enough for the
    // bold caption, so choosing never moves the layout.
    for (QPushButton* b : {settingButton, operationButton, setBase, targetP}) {
        b->setCheckable(true);
        QFont bold = b->font();
        bold.setBold(true);
        const int padding = 2 * 10 + 2 * 1 + 4;
        b->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QString(b->text()).remove(u'&'))
                           + padding);
    }
    frames_ = {{PanelFrame::Setup, setup},
               {PanelFrame::Parameters, params},
               {PanelFrame::Drive, drive},
               {PanelFrame::View, view}};
    quickBoxes_ = std::make_unique<QuickParameterBoxes>(session_, quickWidgets);
}

DrivePanel::~DrivePanel() = default;

QPushButton* DrivePanel::addCommandButton(QWidget* parent, const char* name, const QString& caption)
{
    QPushButton* b = button(parent, name, caption);
    for (const PanelButtonSpec& entry : panelButtons()) {
        if (entry.name == QLatin1String(name)) {
            bind(b, entry.command);
            buttons_.insert(entry.command, b);
        }
    }
    return b;
}

void DrivePanel::bind(QPushButton* button, Command command)
{
    button->setEnabled(commandEnabled_(command));
    if (command == Command::JogCw || command == Command::JogCcw) {
        // A jog runs from the press to the release, not on a click.
        connect(button, &QPushButton::pressed, this,
                [this, command] { emit commandRequested(command); });
        connect(button, &QPushButton::released, this, [this] { operation::ReleaseJog(session_); });
        return;
    }
    connect(button, &QPushButton::clicked, this, [this, button, command] {
        emit commandRequested(command);
        // A checkable button's click has flipped its mark; the session decides what it shows.
        if (button->isCheckable())
            showState();
    });
}

void DrivePanel::showState()
{
    const PanelState& state = session_.panel();
    for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it) {
        const PanelState::Button& b = state.button(it.key());
        QPushButton* w = it.value();
        // A command still to be written, or without an action here, stays disabled.
        // The panel's own state, overruled by the running operation (CommandOffer).
        w->setEnabled(commandOffered(session_, it.key()) && commandEnabled_(it.key()));
        const QString style = styleOf(b.shade);
        if (w->styleSheet() != style)
            w->setStyleSheet(style);
        // The chosen mode and teaching target are checked (bold), not only coloured.
        if (w->isCheckable()) {
            const bool chosen = b.shade != Shade::ButtonFace && b.shade != Shade::LightGrey;
            if (w->isChecked() != chosen)
                w->setChecked(chosen);
        }
        if (!b.caption.isEmpty() && w->text() != b.caption) {
            w->setText(b.caption);
            w->setAccessibleName(b.caption);
        }
    }
    for (auto it = frames_.cbegin(); it != frames_.cend(); ++it)
        it.value()->setEnabled(state.frameEnabled(it.key()));
    for (auto it = lamps_.cbegin(); it != lamps_.cend(); ++it) {
        const bool on = state.lamp(it.key());
        if (it.value()->property("lit").toBool() != on) {
            it.value()->setProperty("lit", on);
            it.value()->setStyleSheet(lampStyle(on, it.value()->height()));
            QWidget* row = it.value()->parentWidget();
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent stateEvent(row, changed);
            QAccessible::updateAccessibility(&stateEvent);
            QAccessibleEvent descriptionEvent(row, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&descriptionEvent);
        }
    }
    if (currentAngle_->text() != state.currentAngle())
        currentAngle_->setText(state.currentAngle());
    // Typed text reaches the panel as it is typed, so this only writes what a procedure set.
    if (settingPosition_->text() != state.settingPosition())
        settingPosition_->setText(state.settingPosition());
    for (int i = 0; i < inputOptions_.size(); ++i) {
        inputOptions_[i]->setEnabled(inputOptionOffered(session_, i));
        if (state.inputOption() == i && !inputOptions_[i]->isChecked())
            inputOptions_[i]->setChecked(true);
    }
}

void DrivePanel::showSent(const QString& text)
{
    sentBox_->setText(visibleControls(text));
    sentBox_->setCursorPosition(0);  // a long line shows from its start
}

void DrivePanel::showReply(const QString& text)
{
    replyBox_->setText(visibleControls(text));
    replyBox_->setCursorPosition(0);
}

void DrivePanel::showControllerError(const QString& text)
{
    errorBox_->setText(visibleControls(text));
    errorBox_->setCursorPosition(0);
}

void DrivePanel::showInertiaUnit(const QString& exponents)
{
    // "-6      2": the exponent of ten and of the metre, shown as superscripts.
    const QStringList parts = exponents.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString ten = parts.value(0, QStringLiteral("-6"));
    const QString metre = parts.value(1, QStringLiteral("2"));
    inertiaUnit_->setText(tr("*10<sup>%1</sup> kg.m<sup>%2</sup>").arg(ten, metre));
    inertiaUnit_->setAccessibleName(tr("*10^%1 kg.m^%2").arg(ten, metre));
}

bool DrivePanel::numericInputSelected() const
{
    return !numericInput_ || numericInput_->isChecked();
}

void DrivePanel::focusNumericInput()
{
    if (numericInput_)
        numericInput_->setFocus();
}

void DrivePanel::focusSettingPosition()
{
    settingPosition_->setFocus();
    settingPosition_->selectAll();
}

bool DrivePanel::inputOptionKey(QObject* watched, QEvent* e)
{
    auto* option = qobject_cast<QRadioButton*>(watched);
    const int at = inputOptions_.indexOf(option);
    if (at < 0 || e->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(e);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Space clicks on its own; Enter does the same here.
        if (option->isEnabled() && !key->isAutoRepeat())
            option->click();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Down:
    case Qt::Key_Right: {
        // A radio button would choose each option it passes; here the keys only move the
        // focus, to the next offered option.
        const int step = key->key() == Qt::Key_Up || key->key() == Qt::Key_Left ? -1 : 1;
        for (int i = at + step; i >= 0 && i < inputOptions_.size(); i += step) {
            if (inputOptions_[i]->isEnabled()) {
                inputOptions_[i]->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
        return true;
    }
    default:
        return false;
    }
}

bool DrivePanel::eventFilter(QObject* watched, QEvent* e)
{
    if (inputOptionKey(watched, e))
        return true;
    const auto is = [&](Command c) { return watched == buttons_.value(c); };
    if (e->type() == QEvent::MouseButtonPress && is(Command::Start))
        operation::PressStart(session_);
    else if (e->type() == QEvent::MouseButtonPress && is(Command::ReturnToOrigin))
        operation::PressOrg(session_);
    else if (e->type() == QEvent::KeyPress && is(Command::Stop))
        operation::PressStop(session_);
    return QWidget::eventFilter(watched, e);
}

}  // namespace kap
