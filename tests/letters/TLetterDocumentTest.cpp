#include "RtfTestSupport.h"

#include "TLetterDocument.h"
#include "TLetterPageLayout.h"
#include "TRtfPicture.h"
#include "TRtfWriter.h"

#include <QTextCursor>
#include <QTextImageFormat>
#include <QUrl>

using namespace rtftest;

TEST(TLetterDocument, ACopyHasTheTextFormatsPicturesAndPage)
{
    const QByteArray png = pngBytes(5, 3);
    const auto original = read("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\paperw11906\\paperh16838\\margl720\\margb500"
                               "\\pard\\qc{\\b Head}{\\pict\\pngblip " +
                               png.toHex().toStdString() + "}\\par\\page\\pard\\li720 [First]\\par}");
    const std::unique_ptr<QTextDocument> copy = TLetterDocument::copy(*original);
    EXPECT_EQ(TRtfWriter::write(*copy), TRtfWriter::write(*original));
    EXPECT_EQ(TLetterPageLayout::of(*copy), TLetterPageLayout::of(*original));
    const QTextImageFormat image = formatAt(*copy, 4).toImageFormat();
    EXPECT_EQ(copy->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>().size(),
              QSize(5, 3));

    // The copy is a document of its own.
    QTextCursor(copy.get()).insertText(QStringLiteral("changed "));
    EXPECT_EQ(original->begin().text(), QStringLiteral("Head\uFFFC"));
}
