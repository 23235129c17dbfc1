#include "TStatusLine.h"

QString TStatusLine::format(const QString &statusFormat, int pageNumber, const QStringList &statusText,
                            int firstPage, int lastPage)
{
    QString out;
    out.reserve(statusFormat.size() + 16);
    for (qsizetype i = 0; i < statusFormat.size(); ++i) {
        const QChar c = statusFormat[i];
        if (c != QLatin1Char('%') || i + 1 >= statusFormat.size()) {
            out += c;
            continue;
        }
        const QChar code = statusFormat[i + 1].toLower();
        if (code == QLatin1Char('p')) {
            out += QString::number(pageNumber);
        } else if (code == QLatin1Char('%')) {
            out += QLatin1Char('%');
        } else if (code == QLatin1Char('f')) {
            out += QString::number(firstPage);
        } else if (code == QLatin1Char('l')) {
            out += QString::number(lastPage);
        } else if (code >= QLatin1Char('0') && code <= QLatin1Char('9')) {
            const int line = code.unicode() - '0';
            if (line < statusText.size())
                out += statusText[line];
        } else {
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}

QString TStatusLine::labelText(const QString &statusLine)
{
    QString text = statusLine;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
