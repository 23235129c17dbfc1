#include "TAsciiColumns.h"

#include "TContactColumns.h"
#include "TCp1252.h"
#include "TDelimitedLine.h"
#include "TImportTargets.h"

TResult TAsciiColumns::scan(const TImportText &text, const TImportTargets *targets)
{
    m_columns.clear();
    m_sample.clear();
    m_heading = false;
    const auto &lines = text.lines();
    if (lines.size() < 2)
        return TResult::failure(QStringLiteral("Unable to import from this file"));

    std::vector<std::string> fields;
    auto splitLine = [&](size_t i) {
        TDelimitedLine::split(lines[i], fields);
        QStringList out;
        for (const std::string &f : fields)
            out << TCp1252::toString(f.data(), static_cast<qsizetype>(f.size()));
        return out;
    };

    const QStringList first = splitLine(0);
    m_heading = TContactColumns::isHeading(first);
    m_columns.resize(first.size());
    for (int c = 0; c < first.size(); ++c)
        m_columns[c].name = m_heading ? first[c] : QStringLiteral("Field ") + QString::number(c + 1);

    const size_t from = m_heading ? 1 : 0;
    for (size_t i = from; i < lines.size() && m_sample.size() < kSampleLines; ++i) {
        QStringList row = splitLine(i);
        while (row.size() > m_columns.size())
            row.removeLast();
        for (int c = 0; c < row.size(); ++c)
            m_columns[c].maxLength = std::max(m_columns[c].maxLength, static_cast<int>(row[c].size()));
        m_sample.append(row);
    }

    if (m_heading && targets) {
        // Each field goes to the first column that names it.
        for (TAsciiColumn &column : m_columns) {
            const QString field = TContactColumns::fieldFor(column.name);
            const TImportTarget *target = nullptr;
            if (!field.isEmpty())
                target = targets->byNameOrCaption(field);
            if (!target)
                target = targets->byNameOrCaption(column.name);
            if (target && MatchedFieldName(target->caption).isEmpty())
                column.match = target->caption;
        }
    }
    return TResult::success();
}

bool TAsciiColumns::hasMatch() const
{
    for (const TAsciiColumn &c : m_columns)
        if (!c.match.isEmpty())
            return true;
    return false;
}

QString TAsciiColumns::MatchedFieldName(const QString &caption) const
{
    for (const TAsciiColumn &c : m_columns)
        if (!c.match.isEmpty() && c.match.compare(caption, Qt::CaseInsensitive) == 0)
            return c.name;
    return QString();
}

void TAsciiColumns::clearMatches()
{
    for (TAsciiColumn &c : m_columns)
        c.match.clear();
}
