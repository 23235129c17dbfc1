// corvantis-mksys: makes one of the system tables the program ships (LBLTPL, CSZ) from its
// list in reference/: a comma-separated text file whose first line names the columns. Used by
// the build; fails (and leaves no table behind) when a row does not fit the table's fields.
//
//   corvantis-mksys TABLE LIST.csv OUT.DBF
#include "TCp1252.h"
#include "TSystemTables.h"

#include "Table.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <map>

namespace {

int fail(const QString &why)
{
    std::fprintf(stderr, "corvantis-mksys: %s\n", why.toLocal8Bit().constData());
    return 1;
}

// One line of comma-separated values; a value may be quoted with double quotes, a doubled
// quote standing for one.
QStringList splitCsvLine(const QString &line)
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

bool tableNamed(const QString &name, TSystemTable &out)
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

int make(TSystemTable table, const QString &csvPath, const QString &dbfPath)
{
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read ") + csvPath);
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'));
    if (lines.isEmpty())
        return fail(csvPath + QStringLiteral(": no header line"));

    const std::vector<xbase::FieldDescriptor> fields = TSystemTables::fields(table);
    const QStringList header = splitCsvLine(lines.first().trimmed());
    std::map<int, int> columnOfField; // field index -> column index
    for (int f = 0; f < static_cast<int>(fields.size()); ++f) {
        const int column = header.indexOf(QString::fromStdString(fields[static_cast<size_t>(f)].name));
        if (column < 0)
            return fail(csvPath + QStringLiteral(": no column ") +
                        QString::fromStdString(fields[static_cast<size_t>(f)].name));
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
        return fail(dbfPath + QStringLiteral(": ") + QString::fromStdString(s.message()));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "Usage: corvantis-mksys TABLE LIST.csv OUT.DBF\n");
        return 2;
    }
    TSystemTable table;
    if (!tableNamed(QString::fromLocal8Bit(argv[1]), table))
        return fail(QStringLiteral("unknown table ") + QString::fromLocal8Bit(argv[1]));
    return make(table, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
}
