#include "TEnvelopeSizes.h"

#include "TPaperSizes.h"

#include <algorithm>

namespace {

struct Entry {
    int code;
    const char *text;
};

// The list entries exactly as the size list shows them (double blanks and the trailing blank
// of C5 included).
constexpr Entry kEntries[] = {
    {19, "Envelope #9 3 7/8 x 8 7/8 inches"},
    {20, "Envelope #10 4 1/8 x 9 1/2 inches"},
    {21, "Envelope #11 4 1/2 x 10 3/8 inches"},
    {22, "Envelope #12 4 3/4 x 11 inches"},
    {23, "Envelope #14 5 x 11 1/2 inches"},
    {27, "Envelope DL 110 x 220 mm"},
    {28, "Envelope C5 162 x 229 mm "},
    {30, "Envelope C4  229 x 324 mm"},
    {31, "Envelope C6  114 x 162 mm"},
    {32, "Envelope C65 114 x 229 mm"},
    {33, "Envelope B4  250 x 353 mm"},
    {34, "Envelope B5  176 x 250 mm"},
    {35, "Envelope B6  176 x 125 mm"},
    {36, "Envelope 110 x 230 mm"},
    {37, "Envelope Monarch 3 7/8 x 7 1/2 inches"},
    {38, "6 3/4 Envelope 3 5/8 x 6 1/2 inches"},
};

QVector<TEnvelopeSize> makeSizes()
{
    QVector<TEnvelopeSize> sizes;
    for (const Entry &e : kEntries) {
        // The paper table holds each envelope upright; an envelope is addressed lying down,
        // so its width is the longer side.
        const QPageSize paper = TPaperSizes::pageSize(e.code);
        const QSizeF upright = TPaperSizes::inches(paper);
        const double w = std::max(upright.width(), upright.height());
        const double h = std::min(upright.width(), upright.height());
        sizes.append({e.code, QString::fromLatin1(e.text), {Inches(w), Inches(h)}});
    }
    return sizes;
}

} // namespace

const QVector<TEnvelopeSize> &TEnvelopeSizes::all()
{
    static const QVector<TEnvelopeSize> sizes = makeSizes();
    return sizes;
}

int TEnvelopeSizes::indexOf(int code)
{
    const QVector<TEnvelopeSize> &sizes = all();
    for (int i = 0; i < sizes.size(); ++i)
        if (sizes.at(i).code == code)
            return i;
    return 0;
}

bool TEnvelopeSizes::isKnown(int code)
{
    for (const TEnvelopeSize &s : all())
        if (s.code == code)
            return true;
    return false;
}

InchSize TEnvelopeSizes::size(int code)
{
    for (const TEnvelopeSize &s : all())
        if (s.code == code)
            return s.size;
    return {};
}
