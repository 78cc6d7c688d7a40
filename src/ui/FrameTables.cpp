#include "FrameTables.h"

#include "ActuatorTypes.h"

namespace kap {
namespace {

MenuEntry item(const char* name, const char* caption, Command command, bool checkable = false,
               bool checked = false)
{
    return {MenuEntry::Item, QLatin1String(name), QString::fromUtf8(caption), command, checkable, checked};
}
MenuEntry bar(const char* name)
{
    return {MenuEntry::Separator, QLatin1String(name), {}, {}, false, false};
}
MenuEntry sub(const char* name, const char* caption)
{
    return {MenuEntry::SubMenu, QLatin1String(name), QString::fromUtf8(caption), {}, false, false};
}
MenuEntry end()
{
    return {MenuEntry::EndSubMenu, {}, {}, {}, false, false};
}

QList<MenuEntry> menuTree(bool point)
{
    using C = Command;
    QList<MenuEntry> m;
    m << sub("mnuFile", "File(&F)") << item("mnuFileNew", "New File(&N)", C::NewFile)
      << item("mnuFileOpen", "Open(&O)...", C::Open) << item("mnuFileSave", "Save As(&A)...", C::SaveAs)
      << bar("mnuFileBar1") << item("mnuFilePrint", "Print(&P)...", C::Print)
      << item("mnuFilePreview", "Print preview", C::PrintPreview) << bar("mnuFileBar2")
      << item("mnuFileExit", "Exit(&X)", C::Exit) << end();
    m << sub("mnuView", "View(&V)");
    if (point)
        m << item("mnuViewGrid1", "Point(&P)", C::ShowPointGrid, true, true)
          << item("mnuViewGrid2", "Parameters(&R)", C::ShowParameterGrid, true, false);
    m << item("mnuViewToolbar", "Toolbar(&T)", C::ToggleToolbar, true, true)
      << item("mnuViewStatusBar", "Statusbar(&B)", C::ToggleStatusBar, true, true) << bar("mnuViewBar1")
      << item("mnuViewLog", "Communication log", C::ShowCommLog)
      << item("mnuViewPlot", "Angle plot", C::ShowAnglePlot) << end();
    m << sub("mnuTools", "Tool(&T)")
      << item("mnuToolsTranP", point ? "Transmit(Point)" : "Transmit(Zones)", C::TransmitTable)
      << item("mnuToolsTranA", "Transmit(Parameters)", C::TransmitParameters)
      << item("mnuToolsRecP", point ? "Receive(Point)" : "Receive(Zones)", C::ReceiveTable)
      << item("mnuToolsRecA", "Receive(Parameters)", C::ReceiveParameters) << bar("mnuToolBar2")
      << item("mnuToolsCom", "Com_Setup", C::PortSetup) << bar("mnuToolBar3")
      << item("mnuToolsBag", point ? "Error history display" : "Error History Display", C::ErrorHistory);
    if (!point)
        m << item("mnuToolsTime", "Rotary operating speed calculation", C::SpeedCalculation);
    m << item("mnuToolsC_Org", point ? "Changing Origin" : "Changing the origin", C::ChangeOrigin)
      << bar("mnuToolBar1") << item("mnuToolsComp", "Compare", C::Compare) << sub("mnuToolsIni", "Init")
      << item("mnuToolsIniPo", point ? "Point" : "Zones", C::InitTable)
      << item("mnuToolsIniPa", "Parameters", C::InitParameters)
      << item("mnuToolsIniORG", "ORG", C::InitOrigin) << end() << end();
    m << sub("mnuHelp", "Help(&H)") << item("mnuHelpAbout", "Version(&A)", C::Version) << end();
    return m;
}

ToolButtonSpec tool(const char* key, const char* tip, const char* icon, Command command)
{
    return {QLatin1String(key), QLatin1String(tip), QLatin1String(icon), command};
}

FrameTables pointTables()
{
    using C = Command;
    FrameTables s;
    s.menu = menuTree(true);
    s.toolbar = {
        tool("NewFile", "NewFile", "document-new", C::NewFile),
        tool("Open", "Open", "document-open", C::Open),
        tool("SaveAS", "SaveAS", "document-save-as", C::SaveAs),
        tool("Print", "Print", "document-print", C::Print),
        tool("ComSetup", "ComSetup", "preferences-system", C::PortSetup),
        tool("Init(Point)", "Init(Point)", "edit-clear", C::InitTable),
        tool("Transmit(Point)", "Transmit(Point)", "go-next", C::TransmitTable),
        tool("Transmit(Parameters)", "Transmit(Parameters)", "go-last", C::TransmitParameters),
        tool("Receive(Point)", "Receive(Point)", "go-previous", C::ReceiveTable),
        tool("Receive(Parameters)", "Receive(Parameters)", "go-first", C::ReceiveParameters),
        tool("Cmpare", "Cmpare", "edit-find", C::Compare),
        tool("Errorhistorydisplay", "Error history display", "dialog-warning", C::ErrorHistory),
        tool("Window", "Window", "view-refresh", C::SwitchGrid),
        tool("Exit", "Exit", "application-exit", C::Exit),
    };
    return s;
}

FrameTables pulseTables()
{
    using C = Command;
    FrameTables s;
    s.menu = menuTree(false);
    s.toolbar = {
        tool("NewFile", "NewFile", "document-new", C::NewFile),
        tool("Open", "Open", "document-open", C::Open),
        tool("SaveAS", "SaveAs", "document-save-as", C::SaveAs),
        tool("Print", "Print", "document-print", C::Print),
        tool("ComSetup", "ComSetup", "preferences-system", C::PortSetup),
        tool("Init(Zone)", "Init(Zones)", "edit-clear", C::InitTable),
        tool("Transmit(Zone)", "Transmit(Zones)", "go-next", C::TransmitTable),
        tool("Transmit(Parameters)", "Transmit(Parameters)", "go-last", C::TransmitParameters),
        tool("Receive(Zone)", "Receive(Zones)", "go-previous", C::ReceiveTable),
        tool("Receive(Parameters)", "Receive(Parameters)", "go-first", C::ReceiveParameters),
        tool("Cmpare", "Compare", "edit-find", C::Compare),
        tool("Errorhistorydisplay", "Error History Display", "dialog-warning", C::ErrorHistory),
        // The pulse-train window has one grid of each kind side by side: nothing to switch.
        tool("Window", "Window", "view-refresh", C::SwitchGrid),
        tool("SpeedCalculation", "Rotary operating speed calculation", "accessories-calculator",
             C::SpeedCalculation),
        tool("Exit", "Exit", "application-exit", C::Exit),
    };
    return s;
}

}  // namespace

const FrameTables& frameTablesFor(Family family)
{
    static const FrameTables point = pointTables();
    static const FrameTables pulse = pulseTables();
    return family == Family::PointInput ? point : pulse;
}

const QList<PanelButtonSpec>& panelButtons()
{
    using C = Command;
    static const QList<PanelButtonSpec> buttons = {
        {"Cmd_Setup", C::SettingMode},    {"Cmd_driv", C::OperationMode},
        {"Cmd_Start", C::Start},          {"Cmd_Return", C::ReturnToOrigin},
        {"Cmd_Stop", C::Stop},            {"Cmd_SetBase", C::OriginShiftTarget},
        {"Cmd_TargetP", C::PositionTarget}, {"Cmd_Set", C::Set},
        {"Cmd_Op", C::JogCw},             {"Cmd_Cl", C::JogCcw},
        {"Cmd_Srvo", C::Servo},           {"Cmd_Brake", C::Brake},
        {"Cmd_Dousa", C::Positioning},    {"Cmd_Hensa", C::ClearDeviation},
        {"Cmd_Alarm", C::CancelAlarm},
    };
    return buttons;
}

}  // namespace kap
