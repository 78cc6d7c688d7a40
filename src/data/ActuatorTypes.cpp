#include "data/ActuatorTypes.h"

#include <QCoreApplication>

#include <array>

namespace kap {

namespace {

constexpr const char* kMicro = "-6      2";
constexpr const char* kMilli = "-3      2";

const std::array<ActuatorType, 8> kTypes{{
    {50, QT_TRANSLATE_NOOP("ActuatorTypes", "50 : TALOR1A"), "0 to 300 (*10^-6kg.m.m)", "300",
     kMicro, "50,0,0,300,100,1,**,50,360,1,50,50,0,100,50,0,50,", "50,100,1,50,1,0,50,1,1,0,1000,"},
    {60, QT_TRANSLATE_NOOP("ActuatorTypes", "60 : MOVA3"), "0 to 1000 (*10^-6kg.m.m)", "1000",
     kMicro, "60,0,0,1000,100,1,**,10,360,1,20,50,0,100,50,0,10,",
     "60,100,1,10,1,0,10,1,1,0,1000,"},
    {61, QT_TRANSLATE_NOOP("ActuatorTypes", "61 : TALOR3A (TALOR3)"), "0 to 1000 (*10^-6kg.m.m)",
     "1000", kMicro, "61,0,0,1000,100,1,**,10,360,1,20,50,0,100,50,0,10,",
     "61,100,1,10,1,0,10,1,1,0,1000,"},
    {62, QT_TRANSLATE_NOOP("ActuatorTypes", "62 : TALOR5A (TALOR5)"), "0 to 3000 (*10^-6kg.m.m)",
     "3000", kMicro, "62,0,0,3000,100,1,**,10,360,1,20,50,0,100,50,0,10,",
     "62,100,1,10,1,0,10,1,1,0,1000,"},
    {63, QT_TRANSLATE_NOOP("ActuatorTypes", "63 : TALOR10A (TALOR10)"), "0 to 2000 (*10^-6kg.m.m)",
     "2000", kMicro, "63,0,0,2000,100,1,**,10,360,1,20,50,0,100,50,0,10,",
     "63,100,1,10,1,0,10,1,1,0,1000,"},
    {64, QT_TRANSLATE_NOOP("ActuatorTypes", "64 : TALOR20A (TALOR20)"), "0 to 20000 (*10^-6kg.m.m)",
     "20000", kMicro, "64,0,0,20000,100,1,**,10,360,1,20,50,0,100,50,0,10,",
     "64,100,1,10,1,0,10,1,1,0,1000,"},
    {65, QT_TRANSLATE_NOOP("ActuatorTypes", "65 : TALOR40A"), "0 to 50 (*10^-3kg.m.m)", "50",
     kMilli, "65,0,0,50,100,1,**,10,360,1,20,50,0,100,50,0,10,", "65,100,1,10,1,0,10,1,1,0,1000,"},
    {66, QT_TRANSLATE_NOOP("ActuatorTypes", "66 : TALOR60A"), "0 to 100 (*10^-3kg.m.m)", "100",
     kMilli, "66,0,0,100,100,1,**,10,360,1,20,50,0,100,50,0,10,", "66,100,1,10,1,0,10,1,1,0,1000,"},
}};

constexpr const char* kTypeRange = "50 to 66 (PRM No.)";
constexpr const char* kSpeed50 = "50 to 50 (*0.01rps)";
constexpr const char* kSpeed50Other = "1 to 50 (*0.01rps)";
constexpr const char* kSpeed100 = "50 to 100 (*0.01rps)";
constexpr const char* kSpeed100Other = "1 to 100 (*0.01rps)";

// The type row's initial value is the type number itself; set-up and reset take it from the
// default row, so its entry here is never read as a value.
const std::array<ParameterRow, 17> kPointRows{{
    {-1, 0, QT_TRANSLATE_NOOP("ActuatorTypes", "Actuator No."), RowKind::Fixed, kTypeRange, "50",
     nullptr, nullptr},
    {0, 1, QT_TRANSLATE_NOOP("ActuatorTypes", "(+) Software Limit"), RowKind::Fixed,
     "0 to 9999 (deg)", "0", nullptr, nullptr},
    {1, 2, QT_TRANSLATE_NOOP("ActuatorTypes", "(-) Software Limit"), RowKind::Fixed,
     "-9999 to 0 (deg)", "0", nullptr, nullptr},
    {2, 3, QT_TRANSLATE_NOOP("ActuatorTypes", "Load Inertia"), RowKind::Inertia, nullptr, nullptr,
     nullptr, nullptr},
    {3, 4, QT_TRANSLATE_NOOP("ActuatorTypes", "Acceleration"), RowKind::Fixed, "1 to 100 (%)",
     "100", nullptr, nullptr},
    {4, 5, QT_TRANSLATE_NOOP("ActuatorTypes", "Org return direction"), RowKind::Fixed,
     QT_TRANSLATE_NOOP("ActuatorTypes", "0: CW  1: CCW"), "1", nullptr, nullptr},
    {5, 6,
     QT_TRANSLATE_NOOP("ActuatorTypes", "Positioning complete pulse (Previous controller only)"),
     RowKind::Fixed, QT_TRANSLATE_NOOP("ActuatorTypes", "0: Valid function  1: Invalid function"),
     "**", nullptr, nullptr},
    {6, 10, QT_TRANSLATE_NOOP("ActuatorTypes", "Org return speed"), RowKind::SpeedByType, kSpeed50,
     "50", kSpeed50Other, "10"},
    {7, 21, QT_TRANSLATE_NOOP("ActuatorTypes", "Operating angle"), RowKind::Fixed,
     "360 to 32400 (deg)", "360", nullptr, nullptr},
    {8, 22, QT_TRANSLATE_NOOP("ActuatorTypes", "English or Japanese"), RowKind::Fixed,
     QT_TRANSLATE_NOOP("ActuatorTypes", "0: English  1: Japanese"), "1", nullptr, nullptr},
    {9, 24, QT_TRANSLATE_NOOP("ActuatorTypes", "Teaching movement speed"), RowKind::SpeedByType,
     kSpeed100, "50", kSpeed100Other, "20"},
    {10, 25, QT_TRANSLATE_NOOP("ActuatorTypes", "Teaching movement unit"), RowKind::Fixed,
     "1 to 9999 (*0.01deg)", "50", nullptr, nullptr},
    {11, 28, QT_TRANSLATE_NOOP("ActuatorTypes", "No limit mode"), RowKind::Fixed,
     QT_TRANSLATE_NOOP("ActuatorTypes", "0: ON  1: OFF"), "0", nullptr, nullptr},
    {12, 30, QT_TRANSLATE_NOOP("ActuatorTypes", "Max Speed"), RowKind::Fixed, "1 to 100 (%)", "100",
     nullptr, nullptr},
    {13, 34, QT_TRANSLATE_NOOP("ActuatorTypes", "Motor speed for checking wire break"),
     RowKind::Fixed, "1 to 500 (pps)", "50", nullptr, nullptr},
    {14, 35, QT_TRANSLATE_NOOP("ActuatorTypes", "Origin point shift"), RowKind::Fixed,
     "-32768 to 32767 (*0.01deg)", "0", nullptr, nullptr},
    {15, 36, QT_TRANSLATE_NOOP("ActuatorTypes", "Origin shift speed"), RowKind::SpeedByType,
     kSpeed100, "50", kSpeed100Other, "10"},
}};

const std::array<ParameterRow, 11> kPulseRows{{
    {-1, 0, QT_TRANSLATE_NOOP("ActuatorTypes", "Actuator Type"), RowKind::Fixed, kTypeRange, "50",
     nullptr, nullptr},
    {0, 4, QT_TRANSLATE_NOOP("ActuatorTypes", "Acceleration"), RowKind::Fixed, "1 to 100 (%)",
     "100", nullptr, nullptr},
    {1, 5, QT_TRANSLATE_NOOP("ActuatorTypes", "Org return direction"), RowKind::Fixed,
     QT_TRANSLATE_NOOP("ActuatorTypes", "0: CW  1: CCW"), "1", nullptr, nullptr},
    {2, 10, QT_TRANSLATE_NOOP("ActuatorTypes", "Org return speed"), RowKind::SpeedByType, kSpeed50,
     "50", kSpeed50Other, "10"},
    {3, 22, QT_TRANSLATE_NOOP("ActuatorTypes", "English or Japanese"), RowKind::Fixed,
     QT_TRANSLATE_NOOP("ActuatorTypes", "0: English  1: Japanese"), "1", nullptr, nullptr},
    {4, 35, QT_TRANSLATE_NOOP("ActuatorTypes", "Origin point shift"), RowKind::Fixed,
     "-32768 to 32767 (*0.01deg)", "0", nullptr, nullptr},
    {5, 36, QT_TRANSLATE_NOOP("ActuatorTypes", "Origin point shift speed"), RowKind::SpeedByType,
     kSpeed100, "50", kSpeed100Other, "10"},
    {6, 38, QT_TRANSLATE_NOOP("ActuatorTypes", "Pulse row input mode change"), RowKind::Fixed,
     "1 to 4 (No.)", "1", nullptr, nullptr},
    {7, 39, QT_TRANSLATE_NOOP("ActuatorTypes", "Up-scaling function of pulse row"), RowKind::Fixed,
     "1 to 8 (No.)", "1", nullptr, nullptr},
    {8, 43, QT_TRANSLATE_NOOP("ActuatorTypes", "Motor servo method"), RowKind::Fixed,
     QT_TRANSLATE_NOOP("ActuatorTypes", "0: Use  1: Not use"), "0", nullptr, nullptr},
    {9, 53, QT_TRANSLATE_NOOP("ActuatorTypes", "INPOS output time"), RowKind::Fixed,
     "100 to 1999 (*50us)", "1000", nullptr, nullptr},
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
        {QT_TRANSLATE_NOOP("ActuatorTypes", "No"),
         QT_TRANSLATE_NOOP("ActuatorTypes", "Setting Value"),
         QT_TRANSLATE_NOOP("ActuatorTypes", "Setting Range      "),
         QT_TRANSLATE_NOOP("ActuatorTypes", "Initial Value "),
         QT_TRANSLATE_NOOP("ActuatorTypes", "                 Note")},
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
        {QT_TRANSLATE_NOOP("ActuatorTypes", "No"),
         QT_TRANSLATE_NOOP("ActuatorTypes", "Setting Value"),
         QT_TRANSLATE_NOOP("ActuatorTypes", "Setting Range         "),
         QT_TRANSLATE_NOOP("ActuatorTypes", "Initial Value "),
         QT_TRANSLATE_NOOP("ActuatorTypes", "                 Note")},
        {25, 85, 215, 70, 200},
        kPulseRows,
        std::nullopt,
        false,
        std::nullopt,
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
const char* byType(const ParameterRow& row, int typeNumber, const char* inertia, const char* for50,
                   const char* forOthers)
{
    switch (row.kind) {
    case RowKind::Inertia:
        return inertia;
    case RowKind::SpeedByType:
        return typeNumber == 50 ? for50 : forOthers;
    case RowKind::Fixed:
        break;
    }
    return for50;
}

const char* rangeText(const ParameterRow& row, int typeNumber)
{
    return byType(row, typeNumber, inertiaType(typeNumber).inertiaRange, row.range50,
                  row.rangeOther);
}

}  // namespace

QString initialFor(const ParameterRow& row, int typeNumber)
{
    return QString::fromLatin1(byType(row, typeNumber, inertiaType(typeNumber).inertiaInitial,
                                      row.initial50, row.initialOther));
}

QString inertiaUnitLabel(int typeNumber)
{
    return QString::fromLatin1(typeNumber == 65 || typeNumber == 66 ? kMilli : kMicro);
}

QString shownHeader(const FamilyLayout& layout, int column)
{
    return QCoreApplication::translate("ActuatorTypes", layout.headers.at(size_t(column)));
}

QString shownName(const ParameterRow& row)
{
    return QCoreApplication::translate("ActuatorTypes", row.name);
}

QString shownRange(const ParameterRow& row, int typeNumber)
{
    const char* text = rangeText(row, typeNumber);
    const QString range = QString::fromLatin1(text);
    if (range.isEmpty() || range.contains(QLatin1String(" to ")))
        return range;
    return QCoreApplication::translate("ActuatorTypes", text);
}

}  // namespace kap
