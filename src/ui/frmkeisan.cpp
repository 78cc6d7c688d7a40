#include "frmkeisan.h"

#include "Dialogs.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kap {

namespace {

QLineEdit* numberBox(const char* name, const QString& text, QWidget* parent)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for a result such as "12345.678" without the box growing with the window.
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12
                       + box->fontMetrics().height());
    return box;
}

// A caption that names the box beside it, for keyboard users and screen readers.
QLabel* caption(const QString& text, QLineEdit* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(text);
    return label;
}

}  // namespace

frmkeisan::frmkeisan(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmkeisan"));
    setWindowTitle(tr("Rotary Actuator Operating Speed Calculation"));

    // Model options.
    Frame4 = new QGroupBox(tr("Select robot type"), this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    auto* models = new QVBoxLayout(Frame4);
    for (int i = 0; i < speed::kModelCount; ++i) {
        auto* option = new QRadioButton(tr(speed::speedModel(i).caption), Frame4);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option1_Click(i);
        });
        models->addWidget(option);
        Option1[static_cast<std::size_t>(i)] = option;
    }
    models->addStretch(1);

    // Inputs.
    Text1 = numberBox("Text1", QStringLiteral("1"), this);
    Text2 = numberBox("Text2", QStringLiteral("90"), this);
    Text3 = numberBox("Text3", QStringLiteral("100"), this);
    Text4 = numberBox("Text4", QStringLiteral("100"), this);
    lblInertiaUnit = new QLabel(this);
    lblInertiaUnit->setObjectName(QStringLiteral("lblInertiaUnit"));
    lblInertiaLimit = new QLabel(this);
    lblInertiaLimit->setObjectName(QStringLiteral("lblInertiaLimit"));
    Command1 = new QPushButton(tr("Start calculation"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto* inputs = new QGridLayout;
    inputs->addWidget(caption(tr("Load Inertia"), Text1, this), 0, 0);
    inputs->addWidget(Text1, 0, 1);
    inputs->addWidget(lblInertiaUnit, 0, 2);
    inputs->addWidget(lblInertiaLimit, 1, 0, 1, 3);
    inputs->setRowMinimumHeight(2, fontMetrics().height() / 2);
    inputs->addWidget(caption(tr("Setting Range"), Text2, this), 3, 0);
    inputs->addWidget(Text2, 3, 1);
    inputs->addWidget(new QLabel(tr("deg"), this), 3, 2);
    inputs->addWidget(caption(tr("Speed"), Text3, this), 4, 0);
    inputs->addWidget(Text3, 4, 1);
    inputs->addWidget(new QLabel(tr("%"), this), 4, 2);
    inputs->addWidget(caption(tr("Acceleration"), Text4, this), 5, 0);
    inputs->addWidget(Text4, 5, 1);
    inputs->addWidget(new QLabel(tr("%"), this), 5, 2);
    inputs->setRowMinimumHeight(6, fontMetrics().height() / 2);
    inputs->addWidget(Command1, 7, 1, 1, 2, Qt::AlignLeft);
    inputs->setRowStretch(8, 1);
    inputs->setColumnStretch(2, 1);

    // Results.
    Frame3 = new QGroupBox(tr("Calculation results"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Text13 = numberBox("Text13", QString(), Frame3);
    Text15 = numberBox("Text15", QString(), Frame3);
    Text13->setReadOnly(true);
    Text15->setReadOnly(true);
    auto* results = new QGridLayout(Frame3);
    results->addWidget(caption(tr("Max Speed"), Text13, Frame3), 0, 0);
    results->addWidget(Text13, 0, 1);
    results->addWidget(new QLabel(tr("rps"), Frame3), 0, 2);
    results->setColumnMinimumWidth(3, fontMetrics().height() * 2);
    results->addWidget(caption(tr("Max Acceleration"), Text15, Frame3), 0, 4);
    results->addWidget(Text15, 0, 5);
    results->addWidget(new QLabel(tr("rad/s^2"), Frame3), 0, 6);
    results->setColumnStretch(7, 1);

    Command2 = new QPushButton(tr("Close"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto* top = new QHBoxLayout;
    top->addWidget(Frame4);
    top->addSpacing(fontMetrics().height());
    top->addLayout(inputs, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Command2);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(Frame3);
    all->addLayout(bottom);
    all->setSizeConstraint(QLayout::SetFixedSize);

    connect(Command1, &QPushButton::clicked, this, &frmkeisan::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmkeisan::Command2_Click);
    for (QLineEdit* box : {Text1, Text2, Text3, Text4})
        connect(box, &QLineEdit::returnPressed, this, &frmkeisan::Command1_Click);

    setTabOrder(Option1.back(), Text1);
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Text4);
    setTabOrder(Text4, Command1);
    setTabOrder(Command1, Text13);
    setTabOrder(Text13, Text15);
    setTabOrder(Text15, Command2);

    // The first model is selected from the start so the unit and the limit always belong to
    // a model; the load inertia keeps its initial "1" until a model is chosen.
    const QSignalBlocker quiet(Option1[0]);
    Option1[0]->setChecked(true);
    lblInertiaUnit->setText(tr(speed::speedModel(0).unit));
    lblInertiaLimit->setText(speed::inertiaLimitText(0));
}

void frmkeisan::openFor(const QString& actuatorType)
{
    if (const auto index = speed::modelIndexForType(actuatorType))
        Option1[static_cast<std::size_t>(*index)]->setChecked(true);
    show();
    raise();
    activateWindow();
}

int frmkeisan::selectedModel() const
{
    for (int i = 0; i < speed::kModelCount; ++i) {
        if (Option1[static_cast<std::size_t>(i)]->isChecked())
            return i;
    }
    return 0;
}

void frmkeisan::Option1_Click(int index)
{
    lblInertiaLimit->setText(speed::inertiaLimitText(index));
    Text1->setText(speed::maxInertiaText(index));
    lblInertiaUnit->setText(tr(speed::speedModel(index).unit));
}

void frmkeisan::Command1_Click()
{
    const int model = selectedModel();
    const speed::SpeedTexts texts{Text1->text(), Text2->text(), Text3->text(), Text4->text()};

    // A failed input check ends the run before the results; a failed range check does not.
    if (!report(speed::checkSpeedInputs(model, texts)))
        return;
    const speed::SpeedRun run = speed::runSpeedCalculation(model, texts);
    report(run);
    if (run.result)
        lastResult_ = run.result;
    showResults();
}

bool frmkeisan::report(const speed::SpeedRun& run)
{
    if (run.message.isEmpty())
        return true;
    dialogs_.message(run.message, tr("Rotary operating speed calculation"), MsgIcon::Critical,
                     MsgButtons::Ok);
    const std::array<QLineEdit*, 4> boxes{Text1, Text2, Text3, Text4};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (run.resets[i])
            boxes[i]->setText(*run.resets[i]);
    }
    if (run.resets[0])
        lblInertiaUnit->setText(tr(speed::speedModel(selectedModel()).unit));
    return false;
}

void frmkeisan::showResults()
{
    Text13->setText(speed::formatResult(lastResult_ ? lastResult_->maxSpeed : 0.0f));
    Text15->setText(speed::formatResult(lastResult_ ? lastResult_->maxAccel : 0.0f));
}

void frmkeisan::Command2_Click()
{
    close();
}

void frmkeisan::closeEvent(QCloseEvent* event)
{
    // Hidden, not destroyed: the window keeps its state for the next opening.
    event->accept();
    resetInputs();
    emit closed();
}

void frmkeisan::resetInputs()
{
    Text1->setText(QStringLiteral("1"));
    Text2->setText(QStringLiteral("90"));
    Text3->setText(QStringLiteral("100"));
    Text4->setText(QStringLiteral("100"));
    // Selecting the first model runs its selection rule only when it was not selected yet.
    Option1[0]->setChecked(true);
    Text13->clear();
    Text15->clear();
}

}  // namespace kap
