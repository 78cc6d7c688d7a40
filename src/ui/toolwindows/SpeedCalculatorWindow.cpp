#include "ui/toolwindows/SpeedCalculatorWindow.h"

#include "platform/Dialogs.h"

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

SpeedCalculatorWindow::SpeedCalculatorWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmkeisan"));
    setWindowTitle(tr("Rotary Actuator Operating Speed Calculation"));

    // Model options.
    auto* modelFrame = new QGroupBox(tr("Select robot type"), this);
    modelFrame->setObjectName(QStringLiteral("Frame4"));
    auto* models = new QVBoxLayout(modelFrame);
    for (int i = 0; i < speed::kModelCount; ++i) {
        auto* option = new QRadioButton(tr(speed::speedModel(i).caption), modelFrame);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                modelChosen(i);
        });
        models->addWidget(option);
        modelOptions_[static_cast<std::size_t>(i)] = option;
    }
    models->addStretch(1);

    // Inputs.
    inertiaBox_ = numberBox("Text1", QStringLiteral("1"), this);
    rangeBox_ = numberBox("Text2", QStringLiteral("90"), this);
    speedBox_ = numberBox("Text3", QStringLiteral("100"), this);
    accelerationBox_ = numberBox("Text4", QStringLiteral("100"), this);
    inertiaUnit_ = new QLabel(this);
    inertiaUnit_->setObjectName(QStringLiteral("lblInertiaUnit"));
    inertiaLimit_ = new QLabel(this);
    inertiaLimit_->setObjectName(QStringLiteral("lblInertiaLimit"));
    auto* startButton = new QPushButton(tr("Start calculation"), this);
    startButton->setObjectName(QStringLiteral("Command1"));

    auto* inputs = new QGridLayout;
    inputs->addWidget(caption(tr("Load Inertia"), inertiaBox_, this), 0, 0);
    inputs->addWidget(inertiaBox_, 0, 1);
    inputs->addWidget(inertiaUnit_, 0, 2);
    inputs->addWidget(inertiaLimit_, 1, 0, 1, 3);
    inputs->setRowMinimumHeight(2, fontMetrics().height() / 2);
    inputs->addWidget(caption(tr("Setting Range"), rangeBox_, this), 3, 0);
    inputs->addWidget(rangeBox_, 3, 1);
    inputs->addWidget(new QLabel(tr("deg"), this), 3, 2);
    inputs->addWidget(caption(tr("Speed"), speedBox_, this), 4, 0);
    inputs->addWidget(speedBox_, 4, 1);
    inputs->addWidget(new QLabel(tr("%"), this), 4, 2);
    inputs->addWidget(caption(tr("Acceleration"), accelerationBox_, this), 5, 0);
    inputs->addWidget(accelerationBox_, 5, 1);
    inputs->addWidget(new QLabel(tr("%"), this), 5, 2);
    inputs->setRowMinimumHeight(6, fontMetrics().height() / 2);
    inputs->addWidget(startButton, 7, 1, 1, 2, Qt::AlignLeft);
    inputs->setRowStretch(8, 1);
    inputs->setColumnStretch(2, 1);

    // Results.
    auto* resultFrame = new QGroupBox(tr("Calculation results"), this);
    resultFrame->setObjectName(QStringLiteral("Frame3"));
    maxSpeedBox_ = numberBox("Text13", QString(), resultFrame);
    maxAccelerationBox_ = numberBox("Text15", QString(), resultFrame);
    maxSpeedBox_->setReadOnly(true);
    maxAccelerationBox_->setReadOnly(true);
    auto* results = new QGridLayout(resultFrame);
    results->addWidget(caption(tr("Max Speed"), maxSpeedBox_, resultFrame), 0, 0);
    results->addWidget(maxSpeedBox_, 0, 1);
    results->addWidget(new QLabel(tr("rps"), resultFrame), 0, 2);
    results->setColumnMinimumWidth(3, fontMetrics().height() * 2);
    results->addWidget(caption(tr("Max Acceleration"), maxAccelerationBox_, resultFrame), 0, 4);
    results->addWidget(maxAccelerationBox_, 0, 5);
    results->addWidget(new QLabel(tr("rad/s^2"), resultFrame), 0, 6);
    results->setColumnStretch(7, 1);

    auto* closeButton = new QPushButton(tr("Close"), this);
    closeButton->setObjectName(QStringLiteral("Command2"));

    auto* top = new QHBoxLayout;
    top->addWidget(modelFrame);
    top->addSpacing(fontMetrics().height());
    top->addLayout(inputs, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(closeButton);

    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(resultFrame);
    all->addLayout(bottom);
    all->setSizeConstraint(QLayout::SetFixedSize);

    connect(startButton, &QPushButton::clicked, this, &SpeedCalculatorWindow::calculate);
    connect(closeButton, &QPushButton::clicked, this, &SpeedCalculatorWindow::close);
    for (QLineEdit* box : {inertiaBox_, rangeBox_, speedBox_, accelerationBox_})
        connect(box, &QLineEdit::returnPressed, this, &SpeedCalculatorWindow::calculate);

    setTabOrder(modelOptions_.back(), inertiaBox_);
    setTabOrder(inertiaBox_, rangeBox_);
    setTabOrder(rangeBox_, speedBox_);
    setTabOrder(speedBox_, accelerationBox_);
    setTabOrder(accelerationBox_, startButton);
    setTabOrder(startButton, maxSpeedBox_);
    setTabOrder(maxSpeedBox_, maxAccelerationBox_);
    setTabOrder(maxAccelerationBox_, closeButton);

    // The first model is selected from the start so the unit and the limit always belong to
    // a model; the load inertia keeps its initial "1" until a model is chosen.
    const QSignalBlocker quiet(modelOptions_[0]);
    modelOptions_[0]->setChecked(true);
    inertiaUnit_->setText(tr(speed::speedModel(0).unit));
    inertiaLimit_->setText(speed::inertiaLimitText(0));
}

void SpeedCalculatorWindow::openFor(const QString& actuatorType)
{
    if (const auto index = speed::modelIndexForType(actuatorType))
        modelOptions_[static_cast<std::size_t>(*index)]->setChecked(true);
    show();
    raise();
    activateWindow();
}

int SpeedCalculatorWindow::selectedModel() const
{
    for (int i = 0; i < speed::kModelCount; ++i) {
        if (modelOptions_[static_cast<std::size_t>(i)]->isChecked())
            return i;
    }
    return 0;
}

void SpeedCalculatorWindow::modelChosen(int index)
{
    inertiaLimit_->setText(speed::inertiaLimitText(index));
    inertiaBox_->setText(speed::maxInertiaText(index));
    inertiaUnit_->setText(tr(speed::speedModel(index).unit));
}

void SpeedCalculatorWindow::calculate()
{
    const int model = selectedModel();
    const speed::SpeedTexts texts{inertiaBox_->text(), rangeBox_->text(), speedBox_->text(),
                                  accelerationBox_->text()};

    // A failed input check ends the run before the results; a failed range check does not.
    if (!report(speed::checkSpeedInputs(model, texts)))
        return;
    const speed::SpeedRun run = speed::runSpeedCalculation(model, texts);
    report(run);
    if (run.result)
        lastResult_ = run.result;
    showResults();
}

bool SpeedCalculatorWindow::report(const speed::SpeedRun& run)
{
    if (run.message.isEmpty())
        return true;
    dialogs_.message(run.message, tr("Rotary operating speed calculation"), MsgIcon::Critical,
                     MsgButtons::Ok);
    const std::array<QLineEdit*, 4> boxes{inertiaBox_, rangeBox_, speedBox_, accelerationBox_};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (run.resets[i])
            boxes[i]->setText(*run.resets[i]);
    }
    if (run.resets[0])
        inertiaUnit_->setText(tr(speed::speedModel(selectedModel()).unit));
    return false;
}

void SpeedCalculatorWindow::showResults()
{
    maxSpeedBox_->setText(speed::formatResult(lastResult_ ? lastResult_->maxSpeed : 0.0f));
    maxAccelerationBox_->setText(speed::formatResult(lastResult_ ? lastResult_->maxAccel : 0.0f));
}

void SpeedCalculatorWindow::closeEvent(QCloseEvent* event)
{
    // Hidden, not destroyed: the window keeps its state for the next opening.
    event->accept();
    resetInputs();
    emit closed();
}

void SpeedCalculatorWindow::resetInputs()
{
    inertiaBox_->setText(QStringLiteral("1"));
    rangeBox_->setText(QStringLiteral("90"));
    speedBox_->setText(QStringLiteral("100"));
    accelerationBox_->setText(QStringLiteral("100"));
    // Selecting the first model runs its selection rule only when it was not selected yet.
    modelOptions_[0]->setChecked(true);
    maxSpeedBox_->clear();
    maxAccelerationBox_->clear();
}

}  // namespace kap
