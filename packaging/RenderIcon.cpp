// corvantis-render-icon SVG SIZE OUT.png: the program picture as a square PNG of SIZE pixels
// on a transparent ground, for the icon theme. Run at build time.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    bool sizeOk = false;
    const int size = args.size() == 4 ? args.at(2).toInt(&sizeOk) : 0;
    if (!sizeOk || size < 1 || size > 4096) {
        err << "usage: corvantis-render-icon SVG SIZE OUT.png\n";
        return 2;
    }
    QSvgRenderer svg(args.at(1));
    if (!svg.isValid()) {
        err << "cannot read " << args.at(1) << '\n';
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
    }
    if (!image.save(args.at(3), "PNG")) {
        err << "cannot write " << args.at(3) << '\n';
        return 1;
    }
    return 0;
}
