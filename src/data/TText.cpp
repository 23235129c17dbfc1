#include "TText.h"

QString TText::TrimLeft(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == QLatin1Char(' '))
        ++start;
    return text.mid(start);
}

QString TText::TrimRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

QString TText::Trim(const QString &text)
{
    return TrimLeft(TrimRight(text));
}

namespace {

// The memo rules on any text whose character `i` at(i) answers as a code.
template <typename At> qsizetype memoLengthOf(qsizetype size, At at)
{
    qsizetype length = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = at(i);
        if (c == '\r') {
            if (i + 1 < size && at(i + 1) == '\n')
                ++i;
            length += 2;
        } else if (c == '\n') {
            length += 2;
        } else {
            ++length;
        }
    }
    return length;
}

// Where the blank of memoForStoring() goes, or -1 when the text is stored as it is.
template <typename At> qsizetype memoBlankAt(qsizetype size, At at)
{
    const qsizetype length = memoLengthOf(size, at);
    if (length == 0 || length % 4 != 0)
        return -1;
    if (size >= 2 && at(size - 2) == '\r' && at(size - 1) == '\n')
        return size - 2;
    if (at(size - 1) == '\n' || at(size - 1) == '\r')
        return size - 1;
    return size;
}

} // namespace

qsizetype TText::memoLength(const QString &text)
{
    return memoLengthOf(text.size(), [&](qsizetype i) { return text.at(i).unicode(); });
}

QString TText::memoForStoring(const QString &text)
{
    const qsizetype at = memoBlankAt(text.size(), [&](qsizetype i) { return text.at(i).unicode(); });
    if (at < 0)
        return text;
    QString stored = text;
    stored.insert(at, QLatin1Char(' '));
    return stored;
}

std::string TText::memoForStoring(std::string_view bytes)
{
    const qsizetype at = memoBlankAt(static_cast<qsizetype>(bytes.size()),
                                     [&](qsizetype i) { return bytes[static_cast<size_t>(i)]; });
    std::string stored(bytes);
    if (at >= 0)
        stored.insert(static_cast<size_t>(at), 1, ' ');
    return stored;
}
