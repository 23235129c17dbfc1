#include "TDialNumber.h"

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString TDialNumber::dialable(const QString &text)
{
    static const QString kKept = QStringLiteral("*#+,WPT!@ -()");
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isDigit(c) || kKept.contains(c))
            out += c;
    }
    // Separators and modifiers alone dial nothing: at least one key of the phone pad is needed.
    for (const QChar c : out) {
        if (isDigit(c) || c == QLatin1Char('*') || c == QLatin1Char('#'))
            return out;
    }
    return QString();
}

QUrl TDialNumber::telLink(const QString &text)
{
    static const QString kKept = QStringLiteral("+*#-()");
    QString number;
    for (const QChar c : dialable(text)) {
        if (isDigit(c) || kKept.contains(c))
            number += c;
    }
    if (number.isEmpty())
        return QUrl();
    QUrl link;
    link.setScheme(QStringLiteral("tel"));
    link.setPath(number);
    return link;
}
