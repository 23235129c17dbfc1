#include "TLabelSheetArt.h"

#include "TLabelSetup.h"

#include <QBuffer>
#include <QPainter>

#include <algorithm>

const QStringList &TLabelSheetArt::names()
{
    static const QStringList list = {
        QStringLiteral("AV12295"), QStringLiteral("AV12297"), QStringLiteral("AV2180"),
        QStringLiteral("AV4160"),  QStringLiteral("AV4161"),  QStringLiteral("AV4168"),
        QStringLiteral("AV4169"),  QStringLiteral("AV4266"),  QStringLiteral("AV5097"),
        QStringLiteral("AV5196"),  QStringLiteral("AV5198"),  QStringLiteral("AV5305"),
        QStringLiteral("AV5385"),  QStringLiteral("AV5386"),  QStringLiteral("AV5391"),
        QStringLiteral("AV5766"),  QStringLiteral("AV5776"),  QStringLiteral("AV5824"),
        QStringLiteral("AV5895"),  QStringLiteral("AV5896"),  QStringLiteral("AV8166"),
        QStringLiteral("AVWSD5"),  QStringLiteral("AVWSD8"),  QStringLiteral("AVWSI13"),
        QStringLiteral("AVWSI15")};
    return list;
}

QString TLabelSheetArt::resourceName(const QString &art)
{
    const qsizetype dot = art.indexOf(QLatin1Char('.'));
    return (dot < 0 ? art : art.left(dot)).trimmed().toUpper();
}

bool TLabelSheetArt::hasPicture(const QString &art)
{
    return !art.trimmed().isEmpty() && names().contains(resourceName(art));
}

QImage TLabelSheetArt::sheetImage(const TLabelSetup &s, const QSize &size)
{
    if (size.isEmpty() || !(s.SheetWidth > 0) || !(s.SheetDepth > 0))
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const double margin = 2;
    const double scale =
        std::min((size.width() - 2 * margin) / s.SheetWidth, (size.height() - 2 * margin) / s.SheetDepth);
    if (!(scale > 0))
        return image;
    const double left = (size.width() - s.SheetWidth * scale) / 2;
    const double top = (size.height() - s.SheetDepth * scale) / 2;
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(left, top, s.SheetWidth * scale, s.SheetDepth * scale));
    const double w = s.LblWidth * scale;
    const double h = s.LblHeight * scale;
    const int count = std::clamp(s.labelCount(), 0, TLabelSetup::kMaxAcross * TLabelSetup::kMaxDown);
    for (int i = 0; i < count; ++i) {
        const QPointF o = s.labelOrigin(i);
        const QRectF r(left + o.x() * scale, top + o.y() * scale, w, h);
        const QString shape = s.LblShape.trimmed().toUpper();
        if (shape == QLatin1String("SR"))
            p.drawRect(r);
        else if (shape == QLatin1String("RR"))
            p.drawRoundedRect(r, std::min(w, h) / 8, std::min(w, h) / 8);
        else
            p.drawEllipse(r);
    }
    return image;
}

TGPicture TLabelSheetArt::background(const TLabelSetup &setup, const QSize &designSize)
{
    if (!hasPicture(setup.Art))
        return {};
    QImage image = sheetImage(setup, designSize);
    if (image.isNull())
        return {};
    // Set (dark) pixels become light grey, the rest stays white.
    const QRgb grey = qRgb(192, 192, 192);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qGray(line[x]) < 128 ? grey : qRgb(255, 255, 255);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return TGPicture::fromFileBytes(png);
}
