// The context-menu items of the graphic objects, added after the common items of every
// object: colours, line thickness, transparency and rounding of shapes; style, colour,
// thickness and "Stretch To Edges" of lines; loading, stretching and auto-sizing of pictures.
// The menu's owner builds it when the menu opens, so check marks show the current values.
#pragma once

class QMenu;
class QWidget;
class TGGraphicControl;
class TGImage;

class TGShapeObjectMenu
{
public:
    // Opens the picture file dialog for `image` over `parent`: "Load Image File" by default; a
    // test may put its own in. While unset "Load Image From Disk" is disabled.
    using LoadImageDialog = void (*)(TGImage *image, QWidget *parent);
    static LoadImageDialog loadImageDialog;

    // Adds the items for `object` to `menu` (none for other classes); dialogs open over
    // `dialogParent`.
    static void addItems(QMenu *menu, TGGraphicControl *object, QWidget *dialogParent);
};
