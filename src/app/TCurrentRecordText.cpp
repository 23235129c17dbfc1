#include "TCurrentRecordText.h"

namespace {

// Appends `line` and CR LF, unless the line is empty.
void addLine(QString &text, const QString &line)
{
    if (line.isEmpty())
        return;
    text += line;
    text += QStringLiteral("\r\n");
}

} // namespace

QString TCurrentRecordText::TrimLeft(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == QLatin1Char(' '))
        ++start;
    return text.mid(start);
}

TRecordText TCurrentRecordText::GetRecordAsString(const TCurrentRecordValues &record, bool name, bool address,
                                                  bool phones, bool codes, bool comments)
{
    const auto v = [&record](const char *field) { return record.value(QString::fromLatin1(field)); };
    const QString blank = QStringLiteral(" ");
    QString text;
    if (name) {
        const QString middle = v("MIDDLE");
        // A middle initial gets its period; a blank one adds nothing.
        const QString m = middle.trimmed().isEmpty() ? QString() : middle + QStringLiteral(".");
        addLine(text, TrimLeft(v("PREFIX") + blank) + TrimLeft(v("FNAME") + blank) + TrimLeft(m + blank) +
                          TrimLeft(v("LNAME") + blank));
        addLine(text, v("TITLE"));
        addLine(text, v("ORG"));
    }
    if (address) {
        addLine(text, v("STREET"));
        addLine(text, v("STREET2"));
        addLine(text,
                TrimLeft(v("CITY") + blank) + blank + TrimLeft(v("STATE") + blank) + TrimLeft(v("ZIP")));
        addLine(text, TrimLeft(v("COUNTRY") + blank));
    }
    if (phones) {
        if (!v("PHONE").isEmpty())
            addLine(text, QStringLiteral("Phone  :") + v("PHONE"));
        if (!v("PHONE2").isEmpty())
            addLine(text, QStringLiteral("Phone 2:") + v("PHONE2"));
    }
    if (codes && !v("CODES").isEmpty())
        addLine(text, QStringLiteral("Codes :") + v("CODES"));
    if (comments) {
        if (!v("USER1").isEmpty())
            addLine(text, QStringLiteral("Comment 1 :") + v("USER1"));
        if (!v("USER2").isEmpty())
            addLine(text, QStringLiteral("Comment 2 :") + v("USER2"));
    }

    TRecordText result;
    if (text.size() > kMaxLength) {
        qsizetype keep = kMaxLength;
        if (text.at(keep - 1).isHighSurrogate())
            --keep;
        text.truncate(keep);
        result.cut = true;
    }
    result.text = text;
    return result;
}
