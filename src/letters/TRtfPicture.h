// One picture of a letter document as RTF carries it: the picture's own bytes, their kind and
// the size it is shown at. PNG and JPEG pictures sit in the document as images Qt draws; WMF
// and EMF pictures are kept as opaque objects with their bytes, for a metafile player to draw.
// Either way the bytes travel in the character format, so a document read and written again
// gives the picture back byte for byte.
#pragma once

#include <QByteArray>
#include <QTextFormat>

#include <optional>

class QTextCursor;
class QTextCharFormat;

struct TRtfPicture {
    enum class Kind { Png, Jpeg, Wmf, Emf };

    // The object type of a picture Qt cannot draw itself (the character format of its U+FFFC).
    static constexpr int kMetafileObjectType = QTextFormat::UserObject + 1;
    // Character format properties that hold the picture.
    static constexpr int kKindProperty = QTextFormat::UserProperty + 0x5100;
    static constexpr int kDataProperty = QTextFormat::UserProperty + 0x5101;
    static constexpr int kPicWidthProperty = QTextFormat::UserProperty + 0x5102;
    static constexpr int kPicHeightProperty = QTextFormat::UserProperty + 0x5103;
    static constexpr int kGoalWidthProperty = QTextFormat::UserProperty + 0x5104;
    static constexpr int kGoalHeightProperty = QTextFormat::UserProperty + 0x5105;
    static constexpr int kScaleXProperty = QTextFormat::UserProperty + 0x5106;
    static constexpr int kScaleYProperty = QTextFormat::UserProperty + 0x5107;
    static constexpr int kMappingProperty = QTextFormat::UserProperty + 0x5108;

    // Largest picture side (pixels) decoded into an image, and the largest pixel count.
    static constexpr int kMaxImageSide = 16384;
    static constexpr qint64 kMaxImagePixels = 64LL * 1024 * 1024;
    // Largest shown size, either way: 100 inches in twips.
    static constexpr int kMaxShownTwips = 144000;

    Kind kind = Kind::Png;
    QByteArray data;
    // As the RTF gives them: the picture's own extent (its unit depends on the kind), the
    // wanted size in twips (0 when not given), the scaling in percent and, for WMF, the
    // mapping mode.
    int picWidth = 0;
    int picHeight = 0;
    int goalWidth = 0;
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
    int mapping = 8;

    // The size the picture is shown at, in twips: the wanted size scaled, else the image's own
    // pixels at 96 dpi, else the metafile extent taken as hundredths of a millimetre; bounded
    // to [1, kMaxShownTwips]. `pixelSize` is the decoded image's size (empty for metafiles).
    int shownWidthTwips(int pixelWidth = 0) const;
    int shownHeightTwips(int pixelHeight = 0) const;

    // Puts the picture at the cursor: a PNG or JPEG that decodes within the limits becomes an
    // image (its decoded QImage added as a document resource), anything else an opaque object.
    void insert(QTextCursor &cursor) const;

    // The picture at a U+FFFC of this format, if it holds one (also a plain image a user
    // inserted, which is written as PNG).
    static std::optional<TRtfPicture> fromFormat(const QTextCharFormat &format,
                                                 const class QTextDocument &document);
};
