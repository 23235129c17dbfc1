// The program's picture: one SVG drawing in the program's resources, rendered at any size.
// The main window takes it as its window icon and the About box shows it; the desktop entry
// installs the same file. Stateless.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

class TProgramIcon
{
public:
    // The resource path of the drawing.
    static QString resourcePath() { return QStringLiteral(":/corvantis/corvantis.svg"); }
    // The drawing rendered at the usual icon sizes (16 to 256 pixels). Null when the drawing
    // cannot be read.
    static QIcon icon();
    // The drawing at `size` by `size` pixels on a transparent ground; null when it cannot be read.
    static QPixmap pixmap(int size);
};
