// The zone grid (Grid1) of the pulse-train window: four zones, each an angle A and an angle B
// from 0.00 to 359.99 degrees, plus a note.
#pragma once

#include "data/Grid.h"
#include "data/TableHost.h"

#include <QObject>

namespace kap {

class ZoneTable : public QObject {
    Q_OBJECT
public:
    enum Column { NoColumn = 0, AngleAColumn = 1, AngleBColumn = 2, NoteColumn = 3 };
    static constexpr int kZones = 4;

    ZoneTable(Grid& grid, TableHost& host, QObject* parent = nullptr);

    // Headers, widths, formats, numbers 0 to 3 and the key filter; clears the mark.
    void setUp();

    static bool acceptsKey(int column, QChar ch);

    // A double-click on an angle opens the keypad, only while the SET button is enabled.
    void setEntryDialogs(EntryDialogs* dialogs) { entry_ = dialogs; }
    void doubleClicked(int row, int column);

    // The change handling; connected to the grid's cellChanged.
    void cellChanged(int row, int column);

    // The frame's caption above the grid.
    static QString frameCaption();

private:
    Grid& grid_;
    TableHost& host_;
    EntryDialogs* entry_ = nullptr;
    bool filling_ = false;
};

}  // namespace kap
