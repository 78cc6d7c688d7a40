// The parameter grid (Grid2) of either main window: its set-up, the per-type ranges and
// factory values, and the validation that runs on every change of a cell, typed or written
// by the program. Both families share this logic; their differences are FamilyLayout data.
#pragma once

#include "data/ActuatorTypes.h"
#include "data/Grid.h"
#include "data/TableHost.h"

#include <QObject>
#include <QString>

#include <optional>

namespace kap {

class ParameterTable : public QObject {
    Q_OBJECT
public:
    enum class TypeCheck {
        Ok,          // the default row of the current type is stored
        Unknown,     // "Controller type is different." was shown and the program asked to end
        NotANumber,  // the current type is not a number; the caller's failure path follows
    };

    // grid is the window's Grid2; markGrid is its Grid1, whose tag holds the modified mark.
    ParameterTable(Family family, Grid& grid, Grid& markGrid, TableHost& host,
                   QObject* parent = nullptr);

    Family family() const { return layout_.family; }
    const FamilyLayout& layout() const { return layout_; }
    Grid& grid() { return grid_; }

    // Builds the grid as the window opens: headers, widths, numbers, type 50 ranges, names,
    // current type "50", default row, initial and setting values. No change handling runs.
    // The point-input family then hides the grid (the point grid is the first view).
    void setUp();

    // The current actuator type, as text ("50").
    QString currentType() const { return currentType_; }
    void setCurrentType(const QString& type) { currentType_ = type; }

    // The type with its default row and inertia label, to put back as they were (undo).
    struct TypeState {
        QString type;
        QString defaultRow;
        QString inertiaLabel;
        bool operator==(const TypeState&) const = default;
    };
    TypeState typeState() const { return {currentType_, defaultRow_, inertiaLabel_}; }
    void restoreTypeState(const TypeState& state)
    {
        currentType_ = state.type;
        defaultRow_ = state.defaultRow;
        setInertiaLabel(state.inertiaLabel);
    }

    // Stores the family's default row for the current type.
    TypeCheck SelectDefaultRow();
    QString defaultRow() const { return defaultRow_; }

    // Range texts and initial values of the type-dependent rows (and Label10).
    void ApplyTypeRanges(const QString& type);
    // The same per-type values into the Setting Value column.
    void ApplyTypeSettings(const QString& type);
    // Current type from the type row's Setting Value, default row, all initial and setting
    // values, type ranges. Returns the SelectDefaultRow outcome; nothing is written unless Ok.
    TypeCheck ResetParametersToDefaults();
    // Copies the default row into Initial Value and Setting Value of every row.
    void fillFromDefaultRow();

    // The exponents shown over the load inertia unit (Label10); point-input family only.
    QString inertiaLabel() const { return inertiaLabel_; }

    // Setting Value of a row; the row of a PRM (none when the family has no such PRM) and its
    // Setting Value (empty then).
    QString value(int row) const { return grid_.text(row, kValueColumn); }
    std::optional<int> rowOfPrm(int prm) const;
    QString valueOfPrm(int prm) const;

    // The change handling; connected to the grid's cellChanged.
    void cellChanged(int row, int column);

signals:
    void inertiaLabelChanged(const QString& text);

private:
    void setInertiaLabel(const QString& text);
    void checkOperatingAngle();
    // False when the row's range text cannot be read (the failure path ran).
    bool validateRow(int row);
    void validatePrm6(int row);
    void fail(int row);

    const FamilyLayout& layout_;
    Grid& grid_;
    Grid& markGrid_;
    TableHost& host_;
    QString currentType_ = QStringLiteral("50");
    QString defaultRow_;
    QString inertiaLabel_ = inertiaUnitLabel(50);
    bool filling_ = false;  // the table's own wholesale writes
    bool angleCorrecting_ = false;
};

}  // namespace kap
