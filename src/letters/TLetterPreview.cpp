#include "TLetterPreview.h"

#include "TLetterDocument.h"
#include "TLetterMerge.h"
#include "TLetterPageLayout.h"
#include "TLetterPrint.h"
#include "TReportFiler.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <cmath>

bool TLetterPreview::record(const QTextDocument &templateDocument, const TMergeRecord &record,
                            const TMergeDates &dates, QByteArray &recording, int dotsPerInch)
{
    std::unique_ptr<QTextDocument> letter = TLetterDocument::copy(templateDocument);
    TLetterMerge::ReplaceTokens(*letter, record, dates);
    const TLetterPageLayout page = TLetterPageLayout::of(*letter);
    const double widthInches = page.paperWidth / double(TLetterPageLayout::kTwipsPerInch);
    const double heightInches = page.paperHeight / double(TLetterPageLayout::kTwipsPerInch);
    const QSize pixels(static_cast<int>(std::lround(widthInches * dotsPerInch)),
                       static_cast<int>(std::lround(heightInches * dotsPerInch)));
    const int dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));

    // The layout is made once on a device of the preview's resolution; each page is drawn on
    // an image of the same resolution.
    QImage layoutDevice(1, 1, QImage::Format_RGB32);
    layoutDevice.setDotsPerMeterX(dotsPerMetre);
    layoutDevice.setDotsPerMeterY(dotsPerMetre);
    const QRect rect = page.DeterminePrinterBounds(dotsPerInch, dotsPerInch, 0, 0);

    TReportFiler job;
    job.setStream(&recording);
    job.SetPaperSize(0, InchSize{Inches(widthInches), Inches(heightInches)});
    int next = 0;
    job.OnPrintPage = [&](TBaseReport &j) {
        QImage image(pixels, QImage::Format_RGB32);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        image.fill(Qt::white);
        QPainter painter(&image);
        next = TLetterPrint::drawPage(*letter, &layoutDevice, painter, rect, next);
        painter.end();
        j.DrawBitmapInRect({Inches(0), Inches(0)}, {Inches(widthInches), Inches(heightInches)}, image);
        return next > 0;
    };
    job.RunJob();
    return !job.IsAborted();
}
