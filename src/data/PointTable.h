// The point grid (Grid1) of the point-input window: 64 points with mode, position, speed
// and note. Every change of a row, typed or written by the program, re-checks the row.
#pragma once

#include "data/Grid.h"
#include "data/TableHost.h"

#include <QObject>

namespace kap {

class PointTable : public QObject {
    Q_OBJECT
public:
    enum Column {
        NoColumn = 0,
        ModeColumn = 1,
        PositionColumn = 2,
        SpeedColumn = 3,
        NoteColumn = 4
    };
    static constexpr int kPoints = 64;

    PointTable(Grid& grid, TableHost& host, QObject* parent = nullptr);

    // Headers, widths, formats, numbers 0 to 63 and the key filter; clears the mark.
    void setUp();

    // Which keys a column accepts (Backspace is QChar(8)).
    static bool acceptsKey(int column, QChar ch);

    // A double-click: PointModeDialog on Mode, the keypad on Position and Speed, only while the SET
    // button is enabled. Connected to the grid's doubleClicked when dialogs are set.
    void setEntryDialogs(EntryDialogs* dialogs) { entry_ = dialogs; }
    void doubleClicked(int row, int column);

    // The change handling; connected to the grid's cellChanged.
    void cellChanged(int row, int column);

private:
    void refuse(const QString& text, int row, int column);

    Grid& grid_;
    TableHost& host_;
    EntryDialogs* entry_ = nullptr;
    bool filling_ = false;
};

}  // namespace kap
