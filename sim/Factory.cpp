#include "Factory.h"

#include <QList>

#include <iterator>

namespace sim {

namespace {

// Parameter numbers of the default-row fields, in field order.
constexpr int kPointFields[] = {0, 1, 2, 3, 4, 5, 6, 10, 21, 22, 24, 25, 28, 30, 34, 35, 36};
constexpr int kPulseFields[] = {0, 4, 5, 10, 22, 35, 36, 38, 39, 43, 53};

struct DefaultRows {
    int type;
    const char* point;
    const char* pulse;
};

constexpr DefaultRows kRows[] = {
    {50, "50,0,0,300,100,1,**,50,360,1,50,50,0,100,50,0,50,", "50,100,1,50,1,0,50,1,1,0,1000,"},
    {60, "60,0,0,1000,100,1,**,10,360,1,20,50,0,100,50,0,10,", "60,100,1,10,1,0,10,1,1,0,1000,"},
    {61, "61,0,0,1000,100,1,**,10,360,1,20,50,0,100,50,0,10,", "61,100,1,10,1,0,10,1,1,0,1000,"},
    {62, "62,0,0,3000,100,1,**,10,360,1,20,50,0,100,50,0,10,", "62,100,1,10,1,0,10,1,1,0,1000,"},
    {63, "63,0,0,2000,100,1,**,10,360,1,20,50,0,100,50,0,10,", "63,100,1,10,1,0,10,1,1,0,1000,"},
    {64, "64,0,0,20000,100,1,**,10,360,1,20,50,0,100,50,0,10,", "64,100,1,10,1,0,10,1,1,0,1000,"},
    {65, "65,0,0,50,100,1,**,10,360,1,20,50,0,100,50,0,10,", "65,100,1,10,1,0,10,1,1,0,1000,"},
    {66, "66,0,0,100,100,1,**,10,360,1,20,50,0,100,50,0,10,", "66,100,1,10,1,0,10,1,1,0,1000,"},
};

const DefaultRows* rowsFor(int type)
{
    for (const auto& r : kRows)
        if (r.type == type)
            return &r;
    return nullptr;
}

}  // namespace

bool isActuatorType(int type)
{
    return rowsFor(type) != nullptr;
}

QVector<QByteArray> factoryParameters(int family, int type, bool previousController)
{
    QVector<QByteArray> params(kParameterCount, QByteArrayLiteral("0"));
    const DefaultRows* rows = rowsFor(type);
    if (!rows)
        rows = rowsFor(61);
    const bool pulse = family == 1;
    const QList<QByteArray> fields = QByteArray(pulse ? rows->pulse : rows->point).split(',');
    const int* numbers = pulse ? kPulseFields : kPointFields;
    const qsizetype count = pulse ? std::size(kPulseFields) : std::size(kPointFields);
    for (qsizetype i = 0; i < count && i < fields.size(); ++i)
        params[numbers[i]] = fields[i];
    // "**" is the tool's mark for "does not apply"; the controller itself holds a number there.
    params[6] = previousController && !pulse ? "1" : "0";
    params[0] = QByteArray::number(type);
    params[13] = QByteArray::number(pulse ? 1 : 0);
    return params;
}

}  // namespace sim
