// The actuator types and the parameter rows of both controller families, as data: the
// parameter table runs one logic for both windows and takes every difference from here.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>

namespace kap {

// The two controller families: point input (PointInputWindow) and pulse-train input
// (PulseTrainWindow).
enum class Family { PointInput, PulseTrain };

struct ActuatorType {
    int number;
    const char* caption;         // option caption in ActuatorTypeDialog (context "ActuatorTypes")
    const char* inertiaRange;    // range text of Load Inertia
    const char* inertiaInitial;  // initial value of Load Inertia
    const char* unitLabel;       // exponents over "*10  kg.m" (Label10)
    const char* pointDefaults;   // default row of the point-input family
    const char* pulseDefaults;   // default row of the pulse-train family
};

// All eight types in table order (50, 60, 61 ... 66).
std::span<const ActuatorType> actuatorTypes();
// The type with this number, or nullptr.
const ActuatorType* findActuatorType(int number);
// The type whose load inertia a number outside the table takes (64).
const ActuatorType& fallbackInertiaType();

// How a row's range text and initial value depend on the actuator type.
enum class RowKind {
    Fixed,        // the same for every type
    Inertia,      // from the type table
    SpeedByType,  // one value for type 50, another for every other type
};

struct ParameterRow {
    int row;           // grid row; -1 is the fixed actuator type row
    int prm;           // PRM number shown in the No column
    const char* name;  // Note column (context "ActuatorTypes")
    RowKind kind;
    const char* range50;     // range text (Fixed and SpeedByType; the set-up uses type 50)
    const char* initial50;   // initial value for type 50 (SpeedByType)
    const char* rangeOther;  // SpeedByType: range text for types 60 to 66
    const char* initialOther;
};

struct FamilyLayout {
    Family family;
    std::array<const char*, 5> headers;  // row -2 (context "ActuatorTypes")
    QList<int> widths;
    std::span<const ParameterRow> rows;  // row -1 first, then 0, 1, ...
    std::optional<int> prm6Row;          // row of the PRM 6 rules, none when the family has none
    bool notApplicableRule;              // the "**" rule of the initial value
    std::optional<int> angleRow;  // Operating angle (PRM 21) row, none when there is no check
    bool typeRowLocked;           // typing into the type row always restores its initial value
    bool hiddenAtStart;           // the window shows the point grid first
};

const FamilyLayout& familyLayout(Family family);

// The family's default row for a type number; null text for an unknown number.
QString defaultRow(Family family, int typeNumber);

// Fields of a default row: field k (from 1) belongs to grid row k - 2.
QStringList defaultRowFields(const QString& row, int count);

// Initial value of a type-dependent row for a type number (its range text: shownRange).
QString initialFor(const ParameterRow& row, int typeNumber);

// Label10's text for a type number.
QString inertiaUnitLabel(int typeNumber);

// The texts as the parameter grid shows them, translated. A range text holding " to " is a
// numeric range whose bounds the table reads back from the grid: it is shown as it is. Any
// other range text is a list of choices ("0: CW  1: CCW") and is translated.
QString shownHeader(const FamilyLayout& layout, int column);
QString shownName(const ParameterRow& row);
QString shownRange(const ParameterRow& row, int typeNumber);

constexpr int kNoColumn = 0;
constexpr int kValueColumn = 1;
constexpr int kRangeColumn = 2;
constexpr int kInitialColumn = 3;
constexpr int kNoteColumn = 4;

}  // namespace kap
