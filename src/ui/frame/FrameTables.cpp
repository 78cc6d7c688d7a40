#include "ui/frame/FrameTables.h"

#include "data/ActuatorTypes.h"

#include <QCoreApplication>

namespace kap {
namespace {

// Captions and tool tips are marked in the tables and translated here, as the entry is made;
// the tables are made afresh for every window, so a window shows the current language.
QString translated(const char* text)
{
    return QCoreApplication::translate("FrameTables", text);
}

MenuEntry item(const char* name, const char* caption, Command command, bool checkable = false,
               bool checked = false)
{
    return {MenuEntry::Item, QLatin1String(name), translated(caption), command, checkable, checked};
}
MenuEntry bar(const char* name)
{
    return {MenuEntry::Separator, QLatin1String(name), {}, {}, false, false};
}
MenuEntry sub(const char* name, const char* caption)
{
    return {MenuEntry::SubMenu, QLatin1String(name), translated(caption), {}, false, false};
}
MenuEntry end()
{
    return {MenuEntry::EndSubMenu, {}, {}, {}, false, false};
}

QList<MenuEntry> menuTree(bool point)
{
    using C = Command;
    QList<MenuEntry> m;
    m << sub("mnuFile", QT_TRANSLATE_NOOP("FrameTables", "File(&F)"))
      << item("mnuFileNew", QT_TRANSLATE_NOOP("FrameTables", "New File(&N)"), C::NewFile)
      << item("mnuFileOpen", QT_TRANSLATE_NOOP("FrameTables", "Open(&O)..."), C::Open)
      << item("mnuFileSaveCurrent", QT_TRANSLATE_NOOP("FrameTables", "Save(&S)"), C::Save)
      << item("mnuFileSave", QT_TRANSLATE_NOOP("FrameTables", "Save As(&A)..."), C::SaveAs)
      << bar("mnuFileBar1")
      << item("mnuFilePrint", QT_TRANSLATE_NOOP("FrameTables", "Print(&P)..."), C::Print)
      << item("mnuFilePreview", QT_TRANSLATE_NOOP("FrameTables", "Print preview"), C::PrintPreview)
      << bar("mnuFileBar2")
      << item("mnuFileExit", QT_TRANSLATE_NOOP("FrameTables", "Exit(&X)"), C::Exit) << end();
    m << sub("mnuView", QT_TRANSLATE_NOOP("FrameTables", "View(&V)"));
    if (point)
        m << item("mnuViewGrid1", QT_TRANSLATE_NOOP("FrameTables", "Point(&P)"), C::ShowPointGrid,
                  true, true)
          << item("mnuViewGrid2", QT_TRANSLATE_NOOP("FrameTables", "Parameters(&R)"),
                  C::ShowParameterGrid, true, false);
    m << item("mnuViewToolbar", QT_TRANSLATE_NOOP("FrameTables", "Toolbar(&T)"), C::ToggleToolbar,
              true, true)
      << item("mnuViewStatusBar", QT_TRANSLATE_NOOP("FrameTables", "Statusbar(&B)"),
              C::ToggleStatusBar, true, true)
      << bar("mnuViewBar1")
      << item("mnuViewLog", QT_TRANSLATE_NOOP("FrameTables", "Communication log"), C::ShowCommLog)
      << item("mnuViewPlot", QT_TRANSLATE_NOOP("FrameTables", "Angle plot"), C::ShowAnglePlot)
      << end();
    m << sub("mnuTools", QT_TRANSLATE_NOOP("FrameTables", "Tool(&T)"))
      << item("mnuToolsTranP",
              point ? QT_TRANSLATE_NOOP("FrameTables", "Transmit(Point)")
                    : QT_TRANSLATE_NOOP("FrameTables", "Transmit(Zones)"),
              C::TransmitTable)
      << item("mnuToolsTranA", QT_TRANSLATE_NOOP("FrameTables", "Transmit(Parameters)"),
              C::TransmitParameters)
      << item("mnuToolsRecP",
              point ? QT_TRANSLATE_NOOP("FrameTables", "Receive(Point)")
                    : QT_TRANSLATE_NOOP("FrameTables", "Receive(Zones)"),
              C::ReceiveTable)
      << item("mnuToolsRecA", QT_TRANSLATE_NOOP("FrameTables", "Receive(Parameters)"),
              C::ReceiveParameters)
      << bar("mnuToolBar2")
      << item("mnuToolsCom", QT_TRANSLATE_NOOP("FrameTables", "Com_Setup"), C::PortSetup)
      << bar("mnuToolBar3")
      << item("mnuToolsBag",
              point ? QT_TRANSLATE_NOOP("FrameTables", "Error history display")
                    : QT_TRANSLATE_NOOP("FrameTables", "Error History Display"),
              C::ErrorHistory);
    if (!point)
        m << item("mnuToolsTime",
                  QT_TRANSLATE_NOOP("FrameTables", "Rotary operating speed calculation"),
                  C::SpeedCalculation);
    m << item("mnuToolsC_Org",
              point ? QT_TRANSLATE_NOOP("FrameTables", "Changing Origin")
                    : QT_TRANSLATE_NOOP("FrameTables", "Changing the origin"),
              C::ChangeOrigin)
      << bar("mnuToolBar1")
      << item("mnuToolsComp", QT_TRANSLATE_NOOP("FrameTables", "Compare"), C::Compare)
      << sub("mnuToolsIni", QT_TRANSLATE_NOOP("FrameTables", "Init"))
      << item("mnuToolsIniPo",
              point ? QT_TRANSLATE_NOOP("FrameTables", "Point")
                    : QT_TRANSLATE_NOOP("FrameTables", "Zones"),
              C::InitTable)
      << item("mnuToolsIniPa", QT_TRANSLATE_NOOP("FrameTables", "Parameters"), C::InitParameters)
      << item("mnuToolsIniORG", QT_TRANSLATE_NOOP("FrameTables", "ORG"), C::InitOrigin) << end()
      << end();
    m << sub("mnuHelp", QT_TRANSLATE_NOOP("FrameTables", "Help(&H)"))
      << item("mnuHelpAbout", QT_TRANSLATE_NOOP("FrameTables", "Version(&A)"), C::Version) << end();
    return m;
}

// key: the button's name, never translated; tip: its marked tool tip.
ToolButtonSpec tool(const char* key, const char* tip, const char* icon, Command command)
{
    return {QLatin1String(key), translated(tip), QLatin1String(icon), command};
}

FrameTables pointTables()
{
    using C = Command;
    FrameTables s;
    s.menu = menuTree(true);
    s.toolbar = {
        tool("NewFile", QT_TRANSLATE_NOOP("FrameTables", "NewFile"), "document-new", C::NewFile),
        tool("Open", QT_TRANSLATE_NOOP("FrameTables", "Open"), "document-open", C::Open),
        tool("SaveAS", QT_TRANSLATE_NOOP("FrameTables", "SaveAS"), "document-save-as", C::SaveAs),
        tool("Print", QT_TRANSLATE_NOOP("FrameTables", "Print"), "document-print", C::Print),
        tool("ComSetup", QT_TRANSLATE_NOOP("FrameTables", "ComSetup"), "preferences-system",
             C::PortSetup),
        tool("Init(Point)", QT_TRANSLATE_NOOP("FrameTables", "Init(Point)"), "edit-clear",
             C::InitTable),
        tool("Transmit(Point)", QT_TRANSLATE_NOOP("FrameTables", "Transmit(Point)"), "go-next",
             C::TransmitTable),
        tool("Transmit(Parameters)", QT_TRANSLATE_NOOP("FrameTables", "Transmit(Parameters)"),
             "go-last", C::TransmitParameters),
        tool("Receive(Point)", QT_TRANSLATE_NOOP("FrameTables", "Receive(Point)"), "go-previous",
             C::ReceiveTable),
        tool("Receive(Parameters)", QT_TRANSLATE_NOOP("FrameTables", "Receive(Parameters)"),
             "go-first", C::ReceiveParameters),
        tool("Cmpare", QT_TRANSLATE_NOOP("FrameTables", "Cmpare"), "edit-find", C::Compare),
        tool("Errorhistorydisplay", QT_TRANSLATE_NOOP("FrameTables", "Error history display"),
             "dialog-warning", C::ErrorHistory),
        tool("Window", QT_TRANSLATE_NOOP("FrameTables", "Window"), "view-refresh", C::SwitchGrid),
        tool("Exit", QT_TRANSLATE_NOOP("FrameTables", "Exit"), "application-exit", C::Exit),
    };
    return s;
}

FrameTables pulseTables()
{
    using C = Command;
    FrameTables s;
    s.menu = menuTree(false);
    s.toolbar = {
        tool("NewFile", QT_TRANSLATE_NOOP("FrameTables", "NewFile"), "document-new", C::NewFile),
        tool("Open", QT_TRANSLATE_NOOP("FrameTables", "Open"), "document-open", C::Open),
        tool("SaveAS", QT_TRANSLATE_NOOP("FrameTables", "SaveAs"), "document-save-as", C::SaveAs),
        tool("Print", QT_TRANSLATE_NOOP("FrameTables", "Print"), "document-print", C::Print),
        tool("ComSetup", QT_TRANSLATE_NOOP("FrameTables", "ComSetup"), "preferences-system",
             C::PortSetup),
        tool("Init(Zone)", QT_TRANSLATE_NOOP("FrameTables", "Init(Zones)"), "edit-clear",
             C::InitTable),
        tool("Transmit(Zone)", QT_TRANSLATE_NOOP("FrameTables", "Transmit(Zones)"), "go-next",
             C::TransmitTable),
        tool("Transmit(Parameters)", QT_TRANSLATE_NOOP("FrameTables", "Transmit(Parameters)"),
             "go-last", C::TransmitParameters),
        tool("Receive(Zone)", QT_TRANSLATE_NOOP("FrameTables", "Receive(Zones)"), "go-previous",
             C::ReceiveTable),
        tool("Receive(Parameters)", QT_TRANSLATE_NOOP("FrameTables", "Receive(Parameters)"),
             "go-first", C::ReceiveParameters),
        tool("Cmpare", QT_TRANSLATE_NOOP("FrameTables", "Compare"), "edit-find", C::Compare),
        tool("Errorhistorydisplay", QT_TRANSLATE_NOOP("FrameTables", "Error History Display"),
             "dialog-warning", C::ErrorHistory),
        // The pulse-train window has one grid of each kind side by side: nothing to switch.
        tool("Window", QT_TRANSLATE_NOOP("FrameTables", "Window"), "view-refresh", C::SwitchGrid),
        tool("SpeedCalculation",
             QT_TRANSLATE_NOOP("FrameTables", "Rotary operating speed calculation"),
             "accessories-calculator", C::SpeedCalculation),
        tool("Exit", QT_TRANSLATE_NOOP("FrameTables", "Exit"), "application-exit", C::Exit),
    };
    return s;
}

}  // namespace

FrameTables frameTablesFor(Family family)
{
    return family == Family::PointInput ? pointTables() : pulseTables();
}

const QList<PanelButtonSpec>& panelButtons()
{
    using C = Command;
    static const QList<PanelButtonSpec> buttons = {
        {"Cmd_Setup", C::SettingMode},
        {"Cmd_driv", C::OperationMode},
        {"Cmd_Start", C::Start},
        {"Cmd_Return", C::ReturnToOrigin},
        {"Cmd_Stop", C::Stop},
        {"Cmd_SetBase", C::OriginShiftTarget},
        {"Cmd_TargetP", C::PositionTarget},
        {"Cmd_Set", C::Set},
        {"Cmd_Op", C::JogCw},
        {"Cmd_Cl", C::JogCcw},
        {"Cmd_Srvo", C::Servo},
        {"Cmd_Brake", C::Brake},
        {"Cmd_Dousa", C::Positioning},
        {"Cmd_Hensa", C::ClearDeviation},
        {"Cmd_Alarm", C::CancelAlarm},
    };
    return buttons;
}

}  // namespace kap
