// What makes the two main windows differ: menu trees, tool-bar buttons and captions. The
// frame code reads these tables; it has no per-window branches of its own for them.
#pragma once

#include <QList>
#include <QString>

namespace kap {

enum class Family;

struct MenuEntry {
    enum Kind { Item, Separator, SubMenu, EndSubMenu };
    Kind kind = Item;
    QString name;     // `mnuFileNew`; separators have names too (`mnuFileBar1`)
    QString caption;  // with its & accelerator
    bool checkable = false;
    bool checked = false;
};

struct ToolButtonSpec {
    QString key;      // what the click dispatches on
    QString toolTip;
    QString iconName; // desktop icon theme name
};

struct FrameTables {
    QList<MenuEntry> menu;
    QList<ToolButtonSpec> toolbar;
    QString gridFrameCaption;  // the frame around Grid1
};

const FrameTables& frameTablesFor(Family family);

// The menu item a tool-bar key runs; empty for a key without a command.
QString menuForToolKey(const QString& key, Family family);

}  // namespace kap
