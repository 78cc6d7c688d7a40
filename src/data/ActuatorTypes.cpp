#include "ActuatorTypes.h"

#include <array>

namespace kap {

namespace {

constexpr const char* kMicro = "-6      2";
constexpr const char* kMilli = "-3      2";

const std::array<ActuatorType, 8> kTypes{{
    {50, "50 : TALOR1A", "0 to 300 (*10^-6kg.m.m)", "300", kMicro,
     "50,0,0,300,100,1,**,50,360,1,50,50,0,100,50,0,50,", "50,100,1,50,1,0,50,1,1,0,1000,"},
    {60, "60 : MOVA3", "0 to 1000 (*10^-6kg.m.m)", "1000", kMicro,
     "60,0,0,1000,100,1,**,10,360,1,20,50,0,100,50,0,10,", "60,100,1,10,1,0,10,1,1,0,1000,"},
    {61, "61 : TALOR3A (TALOR3)", "0 to 1000 (*10^-6kg.m.m)", "1000", kMicro,
     "61,0,0,1000,100,1,**,10,360,1,20,50,0,100,50,0,10,", "61,100,1,10,1,0,10,1,1,0,1000,"},
    {62, "62 : TALOR5A (TALOR5)", "0 to 3000 (*10^-6kg.m.m)", "3000", kMicro,
     "62,0,0,3000,100,1,**,10,360,1,20,50,0,100,50,0,10,", "62,100,1,10,1,0,10,1,1,0,1000,"},
    {63, "63 : TALOR10A (TALOR10)", "0 to 2000 (*10^-6kg.m.m)", "2000", kMicro,
     "63,0,0,2000,100,1,**,10,360,1,20,50,0,100,50,0,10,", "63,100,1,10,1,0,10,1,1,0,1000,"},
    {64, "64 : TALOR20A (TALOR20)", "0 to 20000 (*10^-6kg.m.m)", "20000", kMicro,
     "64,0,0,20000,100,1,**,10,360,1,20,50,0,100,50,0,10,", "64,100,1,10,1,0,10,1,1,0,1000,"},
    {65, "65 : TALOR40A", "0 to 50 (*10^-3kg.m.m)", "50", kMilli,
     "65,0,0,50,100,1,**,10,360,1,20,50,0,100,50,0,10,", "65,100,1,10,1,0,10,1,1,0,1000,"},
    {66, "66 : TALOR60A", "0 to 100 (*10^-3kg.m.m)", "100", kMilli,
     "66,0,0,100,100,1,**,10,360,1,20,50,0,100,50,0,10,", "66,100,1,10,1,0,10,1,1,0,1000,"},
}};

constexpr const char* kTypeRange = "50 to 66 (PRM No.)";
constexpr const char* kSpeed50 = "50 to 50 (*0.01rps)";
constexpr const char* kSpeed50Other = "1 to 50 (*0.01rps)";
constexpr const char* kSpeed100 = "50 to 100 (*0.01rps)";
constexpr const char* kSpeed100Other = "1 to 100 (*0.01rps)";

// The type row's initial value is the type number itself; set-up and reset take it from the
// default row, so its entry here is never read as a value.
const std::array<ParameterRow, 17> kPointRows{{
    {-1, 0, "Actuator No.", RowKind::Fixed, kTypeRange, "50", nullptr, nullptr},
    {0, 1, "(+) Software Limit", RowKind::Fixed, "0 to 9999 (deg)", "0", nullptr, nullptr},
    {1, 2, "(-) Software Limit", RowKind::Fixed, "-9999 to 0 (deg)", "0", nullptr, nullptr},
    {2, 3, "Load Inertia", RowKind::Inertia, nullptr, nullptr, nullptr, nullptr},
    {3, 4, "Acceleration", RowKind::Fixed, "1 to 100 (%)", "100", nullptr, nullptr},
    {4, 5, "Org return direction", RowKind::Fixed, "0: CW  1: CCW", "1", nullptr, nullptr},
    {5, 6, "Positioning complete pulse (Previous controller only)", RowKind::Fixed,
     "0: Valid function  1: Invalid function", "**", nullptr, nullptr},
    {6, 10, "Org return speed", RowKind::SpeedByType, kSpeed50, "50", kSpeed50Other, "10"},
    {7, 21, "Operating angle", RowKind::Fixed, "360 to 32400 (deg)", "360", nullptr, nullptr},
    {8, 22, "English or Japanese", RowKind::Fixed, "0: English  1: Japanese", "1", nullptr, nullptr},
    {9, 24, "Teaching movement speed", RowKind::SpeedByType, kSpeed100, "50", kSpeed100Other, "20"},
    {10, 25, "Teaching movement unit", RowKind::Fixed, "1 to 9999 (*0.01deg)", "50", nullptr, nullptr},
    {11, 28, "No limit mode", RowKind::Fixed, "0: ON  1: OFF", "0", nullptr, nullptr},
    {12, 30, "Max Speed", RowKind::Fixed, "1 to 100 (%)", "100", nullptr, nullptr},
    {13, 34, "Motor speed for checking wire break", RowKind::Fixed, "1 to 500 (pps)", "50", nullptr,
     nullptr},
    {14, 35, "Origin point shift", RowKind::Fixed, "-32768 to 32767 (*0.01deg)", "0", nullptr, nullptr},
    {15, 36, "Origin shift speed", RowKind::SpeedByType, kSpeed100, "50", kSpeed100Other, "10"},
}};

const std::array<ParameterRow, 11> kPulseRows{{
    {-1, 0, "Actuator Type", RowKind::Fixed, kTypeRange, "50", nullptr, nullptr},
    {0, 4, "Acceleration", RowKind::Fixed, "1 to 100 (%)", "100", nullptr, nullptr},
    {1, 5, "Org return direction", RowKind::Fixed, "0: CW  1: CCW", "1", nullptr, nullptr},
    {2, 10, "Org return speed", RowKind::SpeedByType, kSpeed50, "50", kSpeed50Other, "10"},
    {3, 22, "English or Japanese", RowKind::Fixed, "0: English  1: Japanese", "1", nullptr, nullptr},
    {4, 35, "Origin point shift", RowKind::Fixed, "-32768 to 32767 (*0.01deg)", "0", nullptr, nullptr},
    {5, 36, "Origin point shift speed", RowKind::SpeedByType, kSpeed100, "50", kSpeed100Other, "10"},
    {6, 38, "Pulse row input mode change", RowKind::Fixed, "1 to 4 (No.)", "1", nullptr, nullptr},
    {7, 39, "Up-scaling function of pulse row", RowKind::Fixed, "1 to 8 (No.)", "1", nullptr, nullptr},
    {8, 43, "Motor servo method", RowKind::Fixed, "0: Use  1: Not use", "0", nullptr, nullptr},
    {9, 53, "INPOS output time", RowKind::Fixed, "100 to 1999 (*50us)", "1000", nullptr, nullptr},
}};

const ActuatorType& inertiaType(int typeNumber)
{
    const ActuatorType* t = findActuatorType(typeNumber);
    return t ? *t : fallbackInertiaType();
}

}  // namespace

std::span<const ActuatorType> actuatorTypes()
{
    return kTypes;
}

const ActuatorType* findActuatorType(int number)
{
    for (const ActuatorType& t : kTypes) {
        if (t.number == number)
            return &t;
    }
    return nullptr;
}

const ActuatorType& fallbackInertiaType()
{
    return *findActuatorType(64);
}

const FamilyLayout& familyLayout(Family family)
{
    static const FamilyLayout point{
        Family::PointInput,
        {QStringLiteral("No"), QStringLiteral("Setting Value"), QStringLiteral("Setting Range      "),
         QStringLiteral("Initial Value "), QStringLiteral("                 Note")},
        {25, 70, 175, 60, 255},
        kPointRows,
        5,
        true,
        7,
        false,
        true,
    };
    static const FamilyLayout pulse{
        Family::PulseTrain,
        {QStringLiteral("No"), QStringLiteral("Setting Value"),
         QStringLiteral("Setting Range         "), QStringLiteral("Initial Value "),
         QStringLiteral("                 Note")},
        {25, 85, 215, 70, 200},
        kPulseRows,
        -100,
        false,
        -100,
        true,
        false,
    };
    return family == Family::PointInput ? point : pulse;
}

QString defaultRow(Family family, int typeNumber)
{
    const ActuatorType* t = findActuatorType(typeNumber);
    if (!t)
        return {};
    return QString::fromLatin1(family == Family::PointInput ? t->pointDefaults : t->pulseDefaults);
}

QStringList defaultRowFields(const QString& row, int count)
{
    // Each field ends at the next comma; a missing comma ends the row early.
    QStringList fields;
    qsizetype start = 0;
    for (int k = 0; k < count; ++k) {
        const qsizetype comma = row.indexOf(u',', start);
        if (comma < 0)
            break;
        fields << row.mid(start, comma - start);
        start = comma + 1;
    }
    return fields;
}

namespace {

// A row's text for a type: the type table's for the inertia row, type 50's or the others'
// for a speed row, type 50's (the only one) for a fixed row.
QString byType(const ParameterRow& row, int typeNumber, const char* inertia, const char* for50,
               const char* forOthers)
{
    switch (row.kind) {
    case RowKind::Inertia:
        return QString::fromLatin1(inertia);
    case RowKind::SpeedByType:
        return QString::fromLatin1(typeNumber == 50 ? for50 : forOthers);
    case RowKind::Fixed:
        break;
    }
    return QString::fromLatin1(for50);
}

}  // namespace

QString rangeFor(const ParameterRow& row, int typeNumber)
{
    return byType(row, typeNumber, inertiaType(typeNumber).inertiaRange, row.range50, row.rangeOther);
}

QString initialFor(const ParameterRow& row, int typeNumber)
{
    return byType(row, typeNumber, inertiaType(typeNumber).inertiaInitial, row.initial50,
                  row.initialOther);
}

QString inertiaUnitLabel(int typeNumber)
{
    return QString::fromLatin1(typeNumber == 65 || typeNumber == 66 ? kMilli : kMicro);
}

}  // namespace kap
