// The context-menu items of the multi-line objects and the barcodes, added after the common
// items of every object: font and alignment, then "Text" and "Word Wrap", "Memo Field" and
// "Word Wrap" or "Address Layout" by class; the FIM types; the Intelligent Mail settings. The
// menu's owner builds it when the menu opens, so check marks show the current values.
#pragma once

class QMenu;
class QWidget;
class TGGraphicControl;

class TGMultiLineObjectMenu
{
public:
    // Adds the items for `object` to `menu` (none for other classes); dialogs open over
    // `dialogParent`.
    static void addItems(QMenu *menu, TGGraphicControl *object, QWidget *dialogParent);
};
