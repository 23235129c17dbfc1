#include "TSystemTableMaker.h"

#include "TCp1252.h"

#include "Table.h"

#include <QFile>
#include <QFileInfo>

#include <map>

namespace {

std::string local(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

void removeOutputs(const QString &dbf)
{
    const QFileInfo info(dbf);
    const QString base = info.path() + QLatin1Char('/') + info.completeBaseName();
    for (const char *ext : {".DBF", ".CDX", ".FPT"})
        QFile::remove(base + QLatin1String(ext));
    QFile::remove(dbf);
}

} // namespace

bool TSystemTableMaker::tableNamed(const QString &name, TSystemTable &out)
{
    for (TSystemTable t : {TSystemTable::LblTpl, TSystemTable::Csz, TSystemTable::Letter,
                           TSystemTable::Report, TSystemTable::Envelope, TSystemTable::Label}) {
        if (TSystemTables::name(t).compare(name, Qt::CaseInsensitive) == 0) {
            out = t;
            return true;
        }
    }
    return false;
}

QStringList TSystemTableMaker::splitCsvLine(const QString &line)
{
    QStringList values;
    QString value;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                value += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                value += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            values << value;
            value.clear();
        } else {
            value += c;
        }
    }
    values << value;
    return values;
}

TResult TSystemTableMaker::make(TSystemTable table, const QString &csvPath, const QString &dbfPath)
{
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly | QIODevice::Text))
        return TResult::failure(QStringLiteral("cannot read ") + csvPath, xbase::StatusCode::IoError);
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'));
    if (lines.isEmpty())
        return TResult::failure(csvPath + QStringLiteral(": no header line"),
                                xbase::StatusCode::InvalidArgument);

    const std::vector<xbase::FieldDescriptor> fields = TSystemTables::fields(table);
    const QStringList header = splitCsvLine(lines.first().trimmed());
    std::map<int, int> columnOfField; // field index -> column index
    for (int f = 0; f < static_cast<int>(fields.size()); ++f) {
        const int column = header.indexOf(QString::fromStdString(fields[static_cast<size_t>(f)].name));
        if (column < 0)
            return TResult::failure(csvPath + QStringLiteral(": no column ") +
                                        QString::fromStdString(fields[static_cast<size_t>(f)].name),
                                    xbase::StatusCode::InvalidArgument);
        columnOfField[f] = column;
    }

    removeOutputs(dbfPath);
    xbase::Table t;
    xbase::Status s = xbase::Table::create(local(dbfPath), fields);
    if (s.ok())
        s = t.open(local(dbfPath), xbase::OpenMode::Exclusive);
    for (int row = 1; s.ok() && row < lines.size(); ++row) {
        const QString line = lines.at(row);
        if (line.trimmed().isEmpty())
            continue;
        const QStringList values = splitCsvLine(line);
        if (values.size() != header.size()) {
            s = xbase::Status::InvalidArgument("line " + std::to_string(row + 1) +
                                               ": wrong number of values");
            break;
        }
        s = t.appendBlank();
        for (const auto &[f, column] : columnOfField) {
            if (!s.ok())
                break;
            const xbase::FieldDescriptor &fd = fields[static_cast<size_t>(f)];
            const QByteArray value = TCp1252::fromString(values.at(column));
            if (fd.type == 'C' && value.size() > fd.length) {
                s = xbase::Status::InvalidArgument("line " + std::to_string(row + 1) + ": " + fd.name +
                                                   " is longer than " + std::to_string(fd.length));
                break;
            }
            s = t.setFieldValue(fd.name,
                                std::string_view(value.constData(), static_cast<size_t>(value.size())));
            if (!s.ok())
                s = xbase::Status::InvalidArgument("line " + std::to_string(row + 1) + ": " + fd.name + ": " +
                                                   s.message());
        }
        if (s.ok())
            s = t.post();
    }
    if (s.ok())
        s = t.addTag(TSystemTables::tag(table));
    const xbase::Status closed = t.close();
    if (s.ok())
        s = closed;
    if (!s.ok()) {
        removeOutputs(dbfPath);
        return TResult::fromStatus(s, dbfPath + QStringLiteral(": ") + QString::fromStdString(s.message()));
    }
    return TResult::success();
}
