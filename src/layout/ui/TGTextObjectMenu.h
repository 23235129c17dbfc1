// The context-menu items of the text objects, added after the common items of every object:
// font, 3D effects, alignment, background and transparency, then each class's own commands
// (text, rotation, counter settings, field, symbol, date and time formats). The menu's owner
// (the surface's window) builds it when the menu opens, so check marks show the current values.
#pragma once

class QMenu;
class QWidget;
class TGBaseLabel;

class TGTextObjectMenu
{
public:
    // Adds the items for `object` to `menu`; dialogs open over `dialogParent`.
    static void addItems(QMenu *menu, TGBaseLabel *object, QWidget *dialogParent);
};
