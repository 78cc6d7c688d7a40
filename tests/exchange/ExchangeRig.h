// A main window wired to the controller simulator with its exchange commands installed.
#pragma once

#include "ExchangeCommands.h"
#include "ExchangeHost.h"
#include "Grid.h"
#include "ParameterTable.h"
#include "PointTable.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "ZoneTable.h"
#include "frmMain.h"
#include "frmbar.h"
#include "frmpulseMaindemo.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << '"' << QString::fromLatin1(b).replace("\r", "\\r").replace("\n", "\\n")
                       .replace(QChar(0x1a), "\\x1a").toStdString() << '"';
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

struct ExchangeRig {
    explicit ExchangeRig(sim::Options options = pointOptions()) : sim(options)
    {
        if (options.family == 1)
            window = std::make_unique<frmpulseMaindemo>(dialogs);
        else
            window = std::make_unique<frmMain>(dialogs);
        installExchangeCommands(*window);
        sim.controller.clearReceived();
    }

    void run(const char* menuName) { window->menuItem(QLatin1String(menuName))->trigger(); }

    QList<QByteArray> sent() const { return sim.controller.receivedLines(); }
    Grid& table() { return *window->Grid1; }
    Grid& params() { return *window->Grid2; }
    frmbar& bar() { return progressDialogOf(*window); }
    QString cell(int row, int column) { return table().text(row, column); }
    QString value(int prm)
    {
        return params().text(window->parameters().rowOfPrm(prm), kValueColumn);
    }

    // Writes cells without the change handling, as a file could hold them.
    void put(int row, int column, const QString& text)
    {
        window->setupFlag = true;
        table().setText(row, column, text);
        window->setupFlag = false;
    }
    void putPoint(int row, const QString& mode, const QString& position, const QString& speed)
    {
        put(row, PointTable::ModeColumn, mode);
        put(row, PointTable::PositionColumn, position);
        put(row, PointTable::SpeedColumn, speed);
    }
    void putParam(int prm, const QString& value, const QString& initial = QString())
    {
        window->setupFlag = true;
        const int row = window->parameters().rowOfPrm(prm);
        params().setText(row, kValueColumn, value);
        if (!initial.isNull())
            params().setText(row, kInitialColumn, initial);
        window->setupFlag = false;
    }

    // The window is usable again after an operation.
    void expectRestored()
    {
        EXPECT_TRUE(window->isEnabled());
        EXPECT_TRUE(window->Toolbar1->isEnabled());
        EXPECT_FALSE(bar().isVisible());
    }

    CleanModule clean;
    ScriptedDialogs dialogs;
    SimLine sim;
    std::unique_ptr<MainFrame> window;
};

inline Box question(const char* text, const char* title)
{
    return {QString::fromLatin1(text), QString::fromLatin1(title), MsgIcon::Question, MsgButtons::YesNo};
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
