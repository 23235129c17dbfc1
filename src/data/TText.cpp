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

qsizetype TText::memoLength(const QString &text)
{
    qsizetype length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            length += 2;
        } else if (c == QLatin1Char('\n')) {
            length += 2;
        } else {
            ++length;
        }
    }
    return length;
}

QString TText::memoForStoring(const QString &text)
{
    const qsizetype length = memoLength(text);
    if (length == 0 || length % 4 != 0)
        return text;
    qsizetype breakAt = text.size();
    if (text.endsWith(QLatin1String("\r\n")))
        breakAt -= 2;
    else if (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        breakAt -= 1;
    QString stored = text;
    stored.insert(breakAt, QLatin1Char(' '));
    return stored;
}
