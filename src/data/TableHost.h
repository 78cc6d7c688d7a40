// What the setting tables need of the session that owns them: its flags, its dialogs and the
// few things they ask of the window.
#pragma once

#include "data/Grid.h"
#include "platform/Dialogs.h"

#include <QList>
#include <QString>

#include <functional>

namespace kap {

class TableHost {
public:
    virtual ~TableHost() = default;

    virtual Dialogs& dialogs() = 0;

    // Raised while the window is being built: no change handling runs.
    virtual bool settingUp() const = 0;
    // Raised by receive and initialisation while they fill the parameter table wholesale.
    virtual bool bulkFilling() const = 0;
    // Raised by the same operations: the Operating angle check waits for the next edit.
    virtual bool angleCheckHeld() const = 0;
    // Raised while the SET button writes a taught angle into the zone grid.
    virtual bool teaching() const = 0;
    // Whether the parameter grid is the view the window shows now.
    virtual bool parameterGridShown() const = 0;
    // The entry dialogs are offered only while the SET button (Cmd_Set) is enabled.
    virtual bool setButtonEnabled() const = 0;

    // A passing message in the window's status bar, such as why an entry was not taken.
    virtual void showStatusMessage(const QString& text) = 0;
    // A short note in the status bar (a value put back to its initial value).
    virtual void showPassingMessage(const QString& text) { showStatusMessage(text); }

    // Copies the parameters mirrored on the operation panel into its fields.
    virtual void refreshQuickBoxes() = 0;
    // Tool bar and window enabled, progress dialog hidden.
    virtual void restoreIdle() = 0;
    // Ends the program through its normal quit path (after an unknown actuator type).
    virtual void endProgram() = 0;
};

// The entry dialogs a double-click opens; the window plugs in PointModeDialog and KeypadDialog.
// An empty result means the dialog was cancelled or closed.
class EntryDialogs {
public:
    virtual ~EntryDialogs() = default;
    virtual QString operationMode() = 0;  // PointModeDialog::chooseMode
    virtual QString numericValue() = 0;   // KeypadDialog::enterValue
};

// The modified mark lives in the point or zone grid's tag.
inline const QString& modifiedMarkText()
{
    static const QString mark = QStringLiteral("Change");
    return mark;
}
inline void setModifiedMark(Grid& grid)
{
    grid.setTag(modifiedMarkText());
}
inline void clearModifiedMark(Grid& grid)
{
    grid.setTag(QString());
}
inline bool isModified(const Grid& grid)
{
    return grid.tag() == modifiedMarkText();
}

// The longest note the point and zone grids hold, in characters.
constexpr int kMaxNoteLength = 1000;

// The entry check of a note column: a longer note is not taken, and the status bar says why
// (the user still has the text where it was typed or copied from).
bool noteEntryFits(TableHost& host, const QString& text);

// A double-click entry: sets the cell's text aside, asks, writes the answer, and writes the
// set-aside text back when the cell is then empty (cancelled, or refused by the checks).
void enterThroughDialog(Grid& grid, int row, int column, const std::function<QString()>& ask);

struct GridColumn {
    QString header;  // blanks are part of it
    int width;       // in grid units
    QString format;  // display format, empty for none
};

// The point and zone grids' shape: one header row, the columns, and rows numbered from 0 in
// a read-only first column.
void setUpNumberedGrid(Grid& grid, int rows, const QList<GridColumn>& columns);

}  // namespace kap
