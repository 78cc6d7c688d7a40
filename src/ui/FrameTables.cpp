#include "FrameTables.h"

#include "MainFrame.h"

namespace kap {
namespace {

MenuEntry item(const char* name, const char* caption, bool checkable = false, bool checked = false)
{
    return {MenuEntry::Item, QLatin1String(name), QString::fromUtf8(caption), checkable, checked};
}
MenuEntry bar(const char* name)
{
    return {MenuEntry::Separator, QLatin1String(name), {}, false, false};
}
MenuEntry sub(const char* name, const char* caption)
{
    return {MenuEntry::SubMenu, QLatin1String(name), QString::fromUtf8(caption), false, false};
}
MenuEntry end()
{
    return {MenuEntry::EndSubMenu, {}, {}, false, false};
}

QList<MenuEntry> menuTree(bool point)
{
    QList<MenuEntry> m;
    m << sub("mnuFile", "File(&F)") << item("mnuFileNew", "New File(&N)")
      << item("mnuFileOpen", "Open(&O)...") << item("mnuFileSave", "Save As(&A)...")
      << bar("mnuFileBar1") << item("mnuFilePrint", "Print(&P)...") << bar("mnuFileBar2")
      << item("mnuFileExit", "Exit(&X)") << end();
    m << sub("mnuView", "View(&V)");
    if (point)
        m << item("mnuViewGrid1", "Point(&P)", true, true)
          << item("mnuViewGrid2", "Parameters(&R)", true, false);
    m << item("mnuViewToolbar", "Toolbar(&T)", true, true)
      << item("mnuViewStatusBar", "Statusbar(&B)", true, true) << end();
    m << sub("mnuTools", "Tool(&T)")
      << item("mnuToolsTranP", point ? "Transmit(Point)" : "Transmit(Zones)")
      << item("mnuToolsTranA", "Transmit(Parameters)")
      << item("mnuToolsRecP", point ? "Receive(Point)" : "Receive(Zones)")
      << item("mnuToolsRecA", "Receive(Parameters)") << bar("mnuToolBar2")
      << item("mnuToolsCom", "Com_Setup") << bar("mnuToolBar3")
      << item("mnuToolsBag", point ? "Error history display" : "Error History Display");
    if (!point)
        m << item("mnuToolsTime", "Rotary operating speed calculation");
    m << item("mnuToolsC_Org", point ? "Changing Origin" : "Changing the origin")
      << bar("mnuToolBar1") << item("mnuToolsComp", "Compare") << sub("mnuToolsIni", "Init")
      << item("mnuToolsIniPo", point ? "Point" : "Zones") << item("mnuToolsIniPa", "Parameters")
      << item("mnuToolsIniORG", "ORG") << end() << end();
    m << sub("mnuHelp", "Help(&H)") << item("mnuHelpAbout", "Version(&A)") << end();
    return m;
}

ToolButtonSpec tool(const char* key, const char* tip, const char* icon)
{
    return {QLatin1String(key), QLatin1String(tip), QLatin1String(icon)};
}

FrameTables pointTables()
{
    FrameTables s;
    s.menu = menuTree(true);
    s.toolbar = {
        tool("NewFile", "NewFile", "document-new"),
        tool("Open", "Open", "document-open"),
        tool("SaveAS", "SaveAS", "document-save-as"),
        tool("Print", "Print", "document-print"),
        tool("ComSetup", "ComSetup", "preferences-system"),
        tool("Init(Point)", "Init(Point)", "edit-clear"),
        tool("Transmit(Point)", "Transmit(Point)", "go-next"),
        tool("Transmit(Parameters)", "Transmit(Parameters)", "go-last"),
        tool("Receive(Point)", "Receive(Point)", "go-previous"),
        tool("Receive(Parameters)", "Receive(Parameters)", "go-first"),
        tool("Cmpare", "Cmpare", "edit-find"),
        tool("Errorhistorydisplay", "Error history display", "dialog-warning"),
        tool("Window", "Window", "view-refresh"),
        tool("Exit", "Exit", "application-exit"),
    };
    return s;
}

FrameTables pulseTables()
{
    FrameTables s;
    s.menu = menuTree(false);
    s.toolbar = {
        tool("NewFile", "NewFile", "document-new"),
        tool("Open", "Open", "document-open"),
        tool("SaveAS", "SaveAs", "document-save-as"),
        tool("Print", "Print", "document-print"),
        tool("ComSetup", "ComSetup", "preferences-system"),
        tool("Init(Zone)", "Init(Zones)", "edit-clear"),
        tool("Transmit(Zone)", "Transmit(Zones)", "go-next"),
        tool("Transmit(Parameters)", "Transmit(Parameters)", "go-last"),
        tool("Receive(Zone)", "Receive(Zones)", "go-previous"),
        tool("Receive(Parameters)", "Receive(Parameters)", "go-first"),
        tool("Cmpare", "Compare", "edit-find"),
        tool("Errorhistorydisplay", "Error History Display", "dialog-warning"),
        tool("Window", "Window", "view-refresh"),
        tool("SpeedCalculation", "Rotary operating speed calculation", "accessories-calculator"),
        tool("Exit", "Exit", "application-exit"),
    };
    s.gridFrameCaption = QStringLiteral("Zone output range setting  (Set as A<B.)");
    return s;
}

}  // namespace

const FrameTables& frameTablesFor(Family family)
{
    static const FrameTables point = pointTables();
    static const FrameTables pulse = pulseTables();
    return family == Family::PointInput ? point : pulse;
}

QString menuForToolKey(const QString& key, Family family)
{
    // Compared in this order, as the tool bar always did.
    static const QList<QPair<QString, QString>> table = {
        {"NewFile", "mnuFileNew"},
        {"Open", "mnuFileOpen"},
        {"SaveAS", "mnuFileSave"},
        {"Print", "mnuFilePrint"},
        {"ComSetup", "mnuToolsCom"},
        {"Transmit(Parameters)", "mnuToolsTranA"},
        {"Transmit(Point)", "mnuToolsTranP"},
        {"Transmit(Zone)", "mnuToolsTranP"},
        {"Receive(Parameters)", "mnuToolsRecA"},
        {"Receive(Point)", "mnuToolsRecP"},
        {"Receive(Zone)", "mnuToolsRecP"},
        {"Cmpare", "mnuToolsComp"},
        {"Changing_Origin", "mnuToolsC_Org"},
        {"Errorhistorydisplay", "mnuToolsBag"},
        {"Exit", "mnuFileExit"},
        {"Init(Point)", "mnuToolsIniPo"},
        {"Init(Zone)", "mnuToolsIniPo"},
    };
    for (const auto& [k, menu] : table) {
        if (k == key)
            return menu;
    }
    if (key == QLatin1String("SpeedCalculation") && family == Family::PulseTrain)
        return QStringLiteral("mnuToolsTime");
    return {};
}

}  // namespace kap
