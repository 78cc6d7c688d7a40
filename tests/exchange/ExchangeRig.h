// The session rig with the helpers of the receive, transmit and initialise procedures.
#pragma once

#include "SessionRig.h"
#include "data/Grid.h"
#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "data/ZoneTable.h"
#include "exchange/Receive.h"
#include "exchange/Transmit.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << '"'
        << QString::fromLatin1(b)
               .replace("\r", "\\r")
               .replace("\n", "\\n")
               .replace(QChar(0x1a), "\\x1a")
               .toStdString()
        << '"';
}

namespace kap::test {

inline sim::Options pointOptions()
{
    sim::Options o;
    o.family = 0;
    return o;
}

inline sim::Options pulseOptions()
{
    sim::Options o;
    o.family = 1;
    return o;
}

// The four data commands of the main window's menu.
enum class Op { ReceiveTable, ReceiveParameters, TransmitTable, TransmitParameters };

inline const char* opName(Op op)
{
    switch (op) {
    case Op::ReceiveTable:
        return "ReceiveTable";
    case Op::ReceiveParameters:
        return "ReceiveParameters";
    case Op::TransmitTable:
        return "TransmitTable";
    case Op::TransmitParameters:
        return "TransmitParameters";
    }
    return "?";
}

inline bool isReceive(Op op)
{
    return op == Op::ReceiveTable || op == Op::ReceiveParameters;
}

struct ExchangeRig : SessionRig {
    explicit ExchangeRig(sim::Options options = pointOptions()) : SessionRig(options)
    {
        sim.controller.clearReceived();
    }

    exchange::Result run(Op op)
    {
        switch (op) {
        case Op::ReceiveTable:
            return exchange::ReceiveTable(session);
        case Op::ReceiveParameters:
            return exchange::ReceiveParameters(session);
        case Op::TransmitTable:
            return exchange::TransmitTable(session);
        case Op::TransmitParameters:
            return exchange::TransmitParameters(session);
        }
        return exchange::Result::LinkError;
    }

    Grid& table() { return session.tableGrid(); }
    Grid& params() { return session.parameterGrid(); }
    FakeProgress& bar() { return view.bar; }
    QString cell(int row, int column) { return table().text(row, column); }
    QString value(int prm)
    {
        return params().text(session.parameters().rowOfPrm(prm).value(), kValueColumn);
    }

    // Writes cells without the change handling, as a file could hold them.
    void put(int row, int column, const QString& text)
    {
        session.guards().settingUp = true;
        table().setText(row, column, text);
        session.guards().settingUp = false;
    }
    void putPoint(int row, const QString& mode, const QString& position, const QString& speed)
    {
        put(row, PointTable::ModeColumn, mode);
        put(row, PointTable::PositionColumn, position);
        put(row, PointTable::SpeedColumn, speed);
    }
    void putParam(int prm, const QString& value, const QString& initial = QString())
    {
        session.guards().settingUp = true;
        const int row = session.parameters().rowOfPrm(prm).value();
        params().setText(row, kValueColumn, value);
        if (!initial.isNull())
            params().setText(row, kInitialColumn, initial);
        session.guards().settingUp = false;
    }

    // Cancel is pressed once the progress bar reaches the given step.
    void cancelAtStep(int step)
    {
        bar().onValue = [this, step](int v) {
            if (v == step) {
                bar().tag = QStringLiteral("1");
                bar().onValue = nullptr;
            }
        };
    }

    void expectRestored() const
    {
        view.expectRestored();
        EXPECT_FALSE(view.commandsLocked);
    }

    // Records, for every line the controller receives, whether the window was disabled with
    // its commands locked meanwhile; the window starts usable.
    void watchLocking()
    {
        view.windowEnabled = true;
        view.commandsLocked = false;
        QObject::connect(&sim.controller, &sim::Controller::entryReceived, &sim.controller,
                         [this](const QByteArray&) {
                             lockedWhileAsked.append(view.commandsLocked && !view.windowEnabled);
                         });
    }
    QList<bool> lockedWhileAsked;
};

inline Box question(const char* text, const char* title)
{
    return {QString::fromLatin1(text), QString::fromLatin1(title), MsgIcon::Question,
            MsgButtons::YesNo};
}
inline Box okBox(const char* text, const char* title, MsgIcon icon = MsgIcon::None)
{
    return {QString::fromLatin1(text), QString::fromLatin1(title), icon, MsgButtons::Ok};
}
inline Box linkErrorBox(const char* title)
{
    return okBox("The communication error. Please check the connection.", title);
}
inline Box refusalBox()
{
    return okBox("Cannot receive data from controller.", "Error", MsgIcon::Critical);
}
// The refusal of an operation that would otherwise look as if it did nothing: titled as the
// operation, the controller's reply after the text.
inline Box refusalBoxWithReply(const QString& title, const char* reply)
{
    return {QStringLiteral("Cannot receive data from controller.\n\n") + QString::fromLatin1(reply),
            title, MsgIcon::Critical, MsgButtons::Ok};
}

inline bool operator==(const Box& a, const Box& b)
{
    return a.text == b.text && a.title == b.title && a.icon == b.icon && a.buttons == b.buttons;
}

inline void PrintTo(const Box& b, std::ostream* os)
{
    *os << "{\"" << b.text.toStdString() << "\", \"" << b.title.toStdString() << "\", icon "
        << int(b.icon) << ", buttons " << int(b.buttons) << "}";
}

inline QList<QByteArray> lines(std::initializer_list<const char*> list)
{
    QList<QByteArray> out;
    for (const char* l : list)
        out << QByteArray(l);
    return out;
}

}  // namespace kap::test
