// What makes the two main windows differ: menu trees, tool-bar buttons and captions. The
// frame code reads these tables; it has no per-window branches of its own for them.
#pragma once

#include "session/Commands.h"

#include <QList>
#include <QString>

namespace kap {

enum class Family;

struct MenuEntry {
    enum Kind { Item, Separator, SubMenu, EndSubMenu };
    Kind kind = Item;
    QString name;                        // `mnuFileNew`; separators have names too (`mnuFileBar1`)
    QString caption;                     // translated, with its & accelerator
    Command command = Command::NewFile;  // what an Item runs
    bool checkable = false;
    bool checked = false;
};

struct ToolButtonSpec {
    QString key;       // the button's name (`Toolbar1_NewFile`) and its fallback icon
    QString toolTip;   // translated
    QString iconName;  // desktop icon theme name
    Command command;
};

// A drive-panel button: its form name and its command.
struct PanelButtonSpec {
    QString name;
    Command command;
};

struct FrameTables {
    QList<MenuEntry> menu;
    QList<ToolButtonSpec> toolbar;
};

// The tables in the current language: made anew on each call, so a window built after a
// change of language shows the new one.
FrameTables frameTablesFor(Family family);

// The drive-panel buttons of both windows (a window shows those it has).
const QList<PanelButtonSpec>& panelButtons();

}  // namespace kap
