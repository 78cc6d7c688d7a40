// The angle plot: a strip chart of the current angle over the last seconds or minutes, with
// the panel's lamps as a timeline under it. A tool window beside the main window; it never
// takes the focus on new data and does no work while hidden.
#pragma once

#include "data/ActuatorTypes.h"
#include "session/AngleHistory.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QPushButton;
class QTimer;

namespace kap {

class Dialogs;

class AnglePlotWindow : public QWidget {
    Q_OBJECT
public:
    // dialogs: the file dialog and message box of Export PNG.
    AnglePlotWindow(AngleHistory& history, Family family, Dialogs& dialogs,
                    QWidget* parent = nullptr);
    ~AnglePlotWindow() override;

    // The time span shown, in ms.
    qint64 spanMs() const;
    void setSpanMs(qint64 ms);  // one of the spans the combo box offers

    // The chart (strip chart and lamp timeline), the part Export PNG saves.
    QWidget* chart() const { return chart_; }
    // Writes the chart as a PNG; false (and nothing written) when the file cannot be written.
    bool exportPng(const QString& path, QString* error = nullptr);

    // The lamp rows shown, top to bottom.
    const QList<LampRow>& lampRows() const { return rows_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void exportClicked();
    void dataArrived();

    QPointer<AngleHistory> history_;
    QList<LampRow> rows_;
    QWidget* chart_ = nullptr;             // picPlot
    QComboBox* spanBox_ = nullptr;         // cboSpan
    QPushButton* exportButton_ = nullptr;  // cmdExport
    QTimer* scrollTimer_ = nullptr;        // tmrScroll: moves the time axis along
    Dialogs& dialogs_;
};

}  // namespace kap
