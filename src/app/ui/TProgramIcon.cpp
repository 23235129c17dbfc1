#include "TProgramIcon.h"

#include <QPainter>
#include <QSvgRenderer>

// The drawing lives in the resources of this static library, which the linker keeps only when
// they are named once.
static void loadResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(app_ui);
        return true;
    }();
    (void)loaded;
}

QPixmap TProgramIcon::pixmap(int size)
{
    loadResources();
    QSvgRenderer renderer(resourcePath());
    if (!renderer.isValid() || size <= 0)
        return QPixmap();
    QPixmap out(size, size);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    renderer.render(&painter);
    return out;
}

QIcon TProgramIcon::icon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QPixmap p = pixmap(size);
        if (!p.isNull())
            icon.addPixmap(p);
    }
    return icon;
}
