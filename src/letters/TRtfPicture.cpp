#include "TRtfPicture.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

// Twips per 96-dpi pixel, the unit of image sizes in a QTextDocument.
constexpr double kTwipsPerPixel = 15.0;

int bounded(long long twips)
{
    return static_cast<int>(std::clamp<long long>(twips, 1, TRtfPicture::kMaxShownTwips));
}

int shown(int goal, int scale, int pixels, int extent, bool metafile)
{
    if (goal > 0)
        return bounded(static_cast<long long>(goal) * (scale > 0 ? scale : 100) / 100);
    if (pixels > 0)
        return bounded(static_cast<long long>(pixels) * static_cast<long long>(kTwipsPerPixel) *
                       (scale > 0 ? scale : 100) / 100);
    if (metafile && extent > 0)
        return bounded(static_cast<long long>(extent) * 1440 / 2540);
    return bounded(1440);
}

// Decodes a PNG or JPEG within the size limits; a null image otherwise.
QImage decodeBounded(const QByteArray &data, const char *format)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() <= 0 || size.height() <= 0 ||
        size.width() > TRtfPicture::kMaxImageSide || size.height() > TRtfPicture::kMaxImageSide ||
        static_cast<qint64>(size.width()) * size.height() > TRtfPicture::kMaxImagePixels)
        return {};
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

int intProperty(const QTextFormat &format, int id, int fallback)
{
    return format.hasProperty(id) ? format.intProperty(id) : fallback;
}

} // namespace

int TRtfPicture::shownWidthTwips(int pixelWidth) const
{
    const bool metafile = kind == Kind::Wmf || kind == Kind::Emf;
    return shown(goalWidth, scaleX, pixelWidth, picWidth, metafile);
}

int TRtfPicture::shownHeightTwips(int pixelHeight) const
{
    const bool metafile = kind == Kind::Wmf || kind == Kind::Emf;
    return shown(goalHeight, scaleY, pixelHeight, picHeight, metafile);
}

void TRtfPicture::insert(QTextCursor &cursor) const
{
    QTextDocument *document = cursor.document();
    // The resource is named after the picture's bytes: the same picture shares one image (and
    // is decoded once), and a copied document can take in more pictures without a name clash.
    QString name;
    QImage image;
    if (kind == Kind::Png || kind == Kind::Jpeg) {
        name = QStringLiteral("rtf-picture:") +
               QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
        const QVariant known = document->resource(QTextDocument::ImageResource, QUrl(name));
        if (known.userType() == QMetaType::QImage)
            image = known.value<QImage>();
        if (image.isNull()) {
            image = decodeBounded(data, kind == Kind::Png ? "png" : "jpeg");
            if (!image.isNull())
                document->addResource(QTextDocument::ImageResource, QUrl(name), image);
        }
    }

    QTextCharFormat format;
    if (!image.isNull()) {
        QTextImageFormat imageFormat;
        imageFormat.setName(name);
        imageFormat.setWidth(shownWidthTwips(image.width()) / kTwipsPerPixel);
        imageFormat.setHeight(shownHeightTwips(image.height()) / kTwipsPerPixel);
        format = imageFormat;
    } else {
        format.setObjectType(kMetafileObjectType);
        // The shown size in 96-dpi pixels, as for images, for whoever lays the object out.
        format.setProperty(QTextFormat::ImageWidth, shownWidthTwips() / kTwipsPerPixel);
        format.setProperty(QTextFormat::ImageHeight, shownHeightTwips() / kTwipsPerPixel);
    }
    format.setProperty(kKindProperty, static_cast<int>(kind));
    format.setProperty(kDataProperty, data);
    format.setProperty(kPicWidthProperty, picWidth);
    format.setProperty(kPicHeightProperty, picHeight);
    format.setProperty(kGoalWidthProperty, goalWidth);
    format.setProperty(kGoalHeightProperty, goalHeight);
    format.setProperty(kScaleXProperty, scaleX);
    format.setProperty(kScaleYProperty, scaleY);
    format.setProperty(kMappingProperty, mapping);
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
}

std::optional<TRtfPicture> TRtfPicture::fromFormat(const QTextCharFormat &format,
                                                   const QTextDocument &document)
{
    if (format.hasProperty(kDataProperty) && format.hasProperty(kKindProperty)) {
        const int kindValue = format.intProperty(kKindProperty);
        if (kindValue < static_cast<int>(Kind::Png) || kindValue > static_cast<int>(Kind::Emf))
            return std::nullopt;
        TRtfPicture picture;
        picture.kind = static_cast<Kind>(kindValue);
        picture.data = format.property(kDataProperty).toByteArray();
        picture.picWidth = intProperty(format, kPicWidthProperty, 0);
        picture.picHeight = intProperty(format, kPicHeightProperty, 0);
        picture.goalWidth = intProperty(format, kGoalWidthProperty, 0);
        picture.goalHeight = intProperty(format, kGoalHeightProperty, 0);
        picture.scaleX = intProperty(format, kScaleXProperty, 100);
        picture.scaleY = intProperty(format, kScaleYProperty, 100);
        picture.mapping = intProperty(format, kMappingProperty, 8);
        return picture;
    }
    if (!format.isImageFormat())
        return std::nullopt;

    // An image put in by other means: written as PNG at the size the document shows it.
    const QTextImageFormat imageFormat = format.toImageFormat();
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(imageFormat.name()));
    QImage image;
    if (resource.userType() == QMetaType::QImage)
        image = resource.value<QImage>();
    else if (resource.userType() == QMetaType::QByteArray)
        image.loadFromData(resource.toByteArray());
    if (image.isNull())
        return std::nullopt;
    TRtfPicture picture;
    picture.kind = Kind::Png;
    QBuffer buffer(&picture.data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return std::nullopt;
    picture.picWidth = image.width();
    picture.picHeight = image.height();
    if (imageFormat.width() > 0)
        picture.goalWidth = static_cast<int>(std::lround(imageFormat.width() * kTwipsPerPixel));
    if (imageFormat.height() > 0)
        picture.goalHeight = static_cast<int>(std::lround(imageFormat.height() * kTwipsPerPixel));
    return picture;
}
