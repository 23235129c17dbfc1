#include "TDbfSource.h"

#include "TImportTargets.h"

#include <QFileInfo>

TResult TDbfSource::open(const QString &path, const QString &openFile)
{
    close();
    const QFileInfo chosen(path);
    const QString name = chosen.fileName();
    if (!openFile.isEmpty()) {
        const QString a = chosen.canonicalFilePath();
        const QString b = QFileInfo(openFile).canonicalFilePath();
        if (!a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0)
            return TResult::failure(QStringLiteral("Cannot import a file to itself"));
    }
    const xbase::Status opened = m_table.open(QFile::encodeName(path).toStdString(), xbase::OpenMode::ReadOnly);
    if (!opened.ok())
        return TResult::failure(QStringLiteral("Unable to open the file ") + name, opened.code());
    if (m_table.recordCount() == 0) {
        close();
        return TResult::failure(QStringLiteral("There are no records in ") + name, xbase::StatusCode::NotFound);
    }
    m_path = path;
    const xbase::Schema &schema = m_table.schema();
    for (int i = 0; i < schema.fieldCount(); ++i) {
        const xbase::FieldDescriptor &f = schema.field(i);
        if (f.type != 'C' && f.type != 'L' && f.type != 'N' && f.type != 'D' && f.type != 'M' && f.type != 'F')
            continue;
        m_fields.push_back({QString::fromStdString(f.name), f.type, i, kUnmatched});
    }
    return TResult::success();
}

void TDbfSource::close()
{
    if (m_table.isOpen())
        (void)m_table.close(); // read-only: nothing of ours is lost when closing fails
    m_fields.clear();
    m_path.clear();
}

QString TDbfSource::typeText(char type)
{
    return QString(QLatin1Char(type == 'F' ? 'N' : type));
}

void TDbfSource::autoMatch(const TImportTargets &targets)
{
    clearMatches();
    auto taken = [&](int index) {
        for (const Field &f : m_fields)
            if (f.match == index)
                return true;
        return false;
    };
    for (Field &f : m_fields) {
        for (const TImportTarget &t : targets.all()) {
            const bool fits = f.type == 'M' ? t.name == QLatin1String("MEMO")
                                            : t.type != 'M' && (t.caption.compare(f.name, Qt::CaseInsensitive) == 0 ||
                                                                t.name.compare(f.name, Qt::CaseInsensitive) == 0);
            if (fits && !taken(t.index)) {
                f.match = t.index;
                break;
            }
        }
    }
}

void TDbfSource::clearMatches()
{
    for (Field &f : m_fields)
        f.match = kUnmatched;
}

bool TDbfSource::hasMatch() const
{
    for (const Field &f : m_fields)
        if (f.match != kUnmatched)
            return true;
    return false;
}

QString TDbfSource::matchedTo(int index) const
{
    for (const Field &f : m_fields)
        if (f.match == index)
            return f.name;
    return QString();
}

QStringList TDbfSource::fitting(char type) const
{
    QStringList out;
    for (const Field &f : m_fields) {
        const bool fits = type == 'M' ? f.type == 'M' : type == 'D' ? f.type == 'D' : f.type != 'M';
        if (fits)
            out << f.name;
    }
    return out;
}
