#include "TPaperSizes.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<int, QPageSize::PageSizeId>, 20> kCodes = {{
    {1, QPageSize::Letter},
    {9, QPageSize::A4},
    {11, QPageSize::A5},
    {19, QPageSize::Envelope9},
    {20, QPageSize::Envelope10},
    {21, QPageSize::Envelope11},
    {22, QPageSize::Envelope12},
    {23, QPageSize::Envelope14},
    {27, QPageSize::EnvelopeDL},
    {28, QPageSize::EnvelopeC5},
    {29, QPageSize::EnvelopeC3},
    {30, QPageSize::EnvelopeC4},
    {31, QPageSize::EnvelopeC6},
    {32, QPageSize::EnvelopeC65},
    {33, QPageSize::EnvelopeB4},
    {34, QPageSize::EnvelopeB5},
    {35, QPageSize::EnvelopeB6},
    {36, QPageSize::EnvelopeItalian},
    {37, QPageSize::EnvelopeMonarch},
    {38, QPageSize::EnvelopePersonal},
}};

} // namespace

QPageSize TPaperSizes::pageSize(int code, InchSize custom)
{
    if (code == kCustom) {
        const int w = custom.width.tenthsOfMillimetre();
        const int h = custom.height.tenthsOfMillimetre();
        if (w <= 0 || h <= 0)
            return QPageSize();
        return QPageSize(QSizeF(w / 10.0, h / 10.0), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    }
    for (const auto &entry : kCodes)
        if (entry.first == code)
            return QPageSize(entry.second);
    return QPageSize();
}

bool TPaperSizes::isKnownCode(int code)
{
    for (const auto &entry : kCodes)
        if (entry.first == code)
            return true;
    return false;
}

int TPaperSizes::codeOf(QPageSize::PageSizeId id)
{
    for (const auto &entry : kCodes)
        if (entry.second == id)
            return entry.first;
    return -1;
}

QSizeF TPaperSizes::inches(const QPageSize &size)
{
    if (!size.isValid())
        return QSizeF();
    switch (size.definitionUnits()) {
    case QPageSize::Inch:
        // The standard sizes carry rounded inch figures (4.12 for the 4 1/8 of a #10 envelope)
        // but exact whole points; a custom size is exact in the inches it was given.
        if (size.id() != QPageSize::Custom)
            return QSizeF(size.sizePoints()) / 72.0;
        return size.definitionSize();
    case QPageSize::Millimeter:
        return size.definitionSize() / 25.4;
    default:
        break;
    }
    return QSizeF(size.sizePoints()) / 72.0;
}
