#include "TCopyOutRun.h"

#include "TAddressTable.h"
#include "TCp1252.h"
#include "TDelimitedLine.h"
#include "TProgress.h"
#include "TText.h"
#include "TVCardWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QVector>

#include <string>
#include <vector>

namespace {

QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *n : list)
        out << QString::fromLatin1(n);
    return out;
}

std::vector<int> indexesOf(const xbase::Schema &schema, const QStringList &fields)
{
    std::vector<int> out;
    for (const QString &f : fields)
        out.push_back(schema.indexOf(f.toStdString()));
    return out;
}

// Writes `bytes` through `file` in large pieces; false at the first failed write.
class ChunkWriter
{
public:
    explicit ChunkWriter(QSaveFile &file) : m_file(file) { m_buffer.reserve(kChunk + 4096); }
    std::string &buffer() { return m_buffer; }
    bool flushIfFull() { return m_buffer.size() < kChunk || flush(); }
    bool flush()
    {
        if (m_buffer.empty())
            return true;
        const qint64 n = m_file.write(m_buffer.data(), static_cast<qint64>(m_buffer.size()));
        const bool ok = n == static_cast<qint64>(m_buffer.size());
        m_buffer.clear();
        return ok;
    }

private:
    static constexpr size_t kChunk = 1 << 16;
    QSaveFile &m_file;
    std::string m_buffer;
};

// Walks the visible records in order, handing each record's bytes to `write`, and commits the
// file; any failure removes the partial file.
template <typename WriteRecord>
TCopyOutcome writeText(TAddressTable &table, const QString &target, TProgress &progress, WriteRecord write)
{
    TCopyOutcome out;
    QVector<quint32> recnos;
    if (!table.visibleRecnos(recnos)) {
        out.result = TResult::failure(QStringLiteral("There was an error copying"), xbase::StatusCode::IoError);
        return out;
    }
    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    // Unbuffered: each piece is written at once, so a failed write is seen where it happens.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        out.result = TResult::failure(QStringLiteral("Unable to create ") + target + QStringLiteral(": ") +
                                          file.errorString(),
                                      xbase::StatusCode::IoError);
        return out;
    }
    progress.setTotal(static_cast<int>(recnos.size()));
    ChunkWriter writer(file);
    xbase::Table &engine = table.engine();
    std::string bytes;
    bool failed = false;
    QString reason;
    for (const quint32 recno : recnos) {
        const xbase::Status read = engine.storedRecord(recno, bytes);
        if (!read.ok()) {
            failed = true;
            reason = QString::fromStdString(read.message());
            break;
        }
        const xbase::RecordRef rec{bytes.data(), recno};
        if (!write(engine, rec, writer.buffer())) {
            failed = true;
            break;
        }
        if (!writer.flushIfFull()) {
            failed = true;
            reason = file.errorString();
            break;
        }
        ++out.copied;
        progress.step();
        if (progress.cancelled()) {
            out.cancelled = out.copied < recnos.size();
            break;
        }
    }
    if (!failed && !writer.flush()) {
        failed = true;
        reason = file.errorString();
    }
    if (!failed && (file.error() != QFileDevice::NoError || !file.commit())) {
        failed = true;
        reason = file.errorString();
    }
    if (failed) {
        file.cancelWriting();
        out.result = TResult::failure(QStringLiteral("There was an error writing ") + QFileInfo(target).fileName() +
                                          (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason) +
                                          QStringLiteral(". Nothing was saved."),
                                      xbase::StatusCode::IoError);
        out.copied = 0;
    }
    return out;
}

} // namespace

const QStringList &TCopyOutRun::asciiFields()
{
    static const QStringList list =
        names({"PREFIX", "FNAME", "MIDDLE", "LNAME", "TITLE", "ORG", "STREET", "STREET2", "CITY", "STATE", "ZIP",
               "COUNTRY", "PHONE", "PHONE2", "EMAIL", "FAX", "DATE", "USER1", "USER2", "CODES"});
    return list;
}

const QStringList &TCopyOutRun::dbfFields()
{
    static const QStringList list =
        names({"PREFIX", "FNAME", "MIDDLE", "LNAME", "TITLE", "ORG", "STREET", "STREET2", "CITY", "STATE", "ZIP",
               "COUNTRY", "PHONE", "PHONE2", "EMAIL", "FAX", "DATE", "CODES", "USER1", "USER2"});
    return list;
}

TResult TCopyOutRun::check(const QString &target, const QString &openFile, bool dbf)
{
    if (dbf && !target.toUpper().endsWith(QLatin1String(".DBF")))
        return TResult::failure(QStringLiteral("Must have a .DBF extension"));
    const QFileInfo t(target);
    const QString a = t.exists() ? t.canonicalFilePath() : t.absoluteFilePath();
    const QString b = QFileInfo(openFile).canonicalFilePath();
    if (!openFile.isEmpty() && a.compare(b.isEmpty() ? QFileInfo(openFile).absoluteFilePath() : b,
                                         Qt::CaseInsensitive) == 0)
        return TResult::failure(QStringLiteral("Cannot copy a file to itself!"));
    return TResult::success();
}

TCopyOutcome TCopyOutRun::CopyDBF(TAddressTable &table, const QString &target, TProgress &progress)
{
    TCopyOutcome out;
    const QString failed = QStringLiteral("There was an error copying");
    QFile::remove(target.left(target.size() - 3) + QStringLiteral("CDX"));
    QFile::remove(target.left(target.size() - 3) + QStringLiteral("cdx"));
    xbase::Table &engine = table.engine();
    QVector<quint32> recnos;
    const std::string path = QFile::encodeName(target).toStdString();
    if (!table.visibleRecnos(recnos)) {
        out.result = TResult::failure(failed, xbase::StatusCode::IoError);
        return out;
    }
    if (const xbase::Status made = engine.copyStructure(path); !made.ok()) {
        out.result = TResult::fromStatus(made, failed);
        return out;
    }
    xbase::Table dest;
    if (const xbase::Status opened = dest.open(path, xbase::OpenMode::Exclusive); !opened.ok()) {
        out.result = TResult::fromStatus(opened, failed);
        return out;
    }
    const std::vector<int> from = indexesOf(engine.schema(), dbfFields());
    const std::vector<int> to = indexesOf(dest.schema(), dbfFields());
    const int memoFrom = engine.schema().indexOf("MEMO");
    const int memoTo = dest.schema().indexOf("MEMO");
    progress.setTotal(static_cast<int>(recnos.size()));
    std::string bytes;
    std::string value;
    xbase::Status s;
    for (const quint32 recno : recnos) {
        s = engine.storedRecord(recno, bytes);
        if (s.ok())
            s = dest.appendBlank();
        const xbase::RecordRef rec{bytes.data(), recno};
        for (size_t i = 0; s.ok() && i < from.size(); ++i) {
            if (from[i] < 0 || to[i] < 0)
                continue;
            s = engine.fieldValue(rec, from[i], value);
            if (s.ok() && !value.empty())
                s = dest.setFieldValue(to[i], value);
        }
        if (s.ok() && memoFrom >= 0 && memoTo >= 0) {
            s = engine.fieldValue(rec, memoFrom, value);
            if (s.ok() && !value.empty()) {
                const QByteArray memo = TCp1252::fromString(
                    TText::memoForStoring(TCp1252::toString(value.data(), static_cast<qsizetype>(value.size()))));
                s = dest.setFieldValue(memoTo, std::string_view(memo.constData(), static_cast<size_t>(memo.size())));
            }
        }
        if (s.ok())
            s = dest.post();
        if (!s.ok())
            break;
        ++out.copied;
        progress.step();
        if (progress.cancelled()) {
            out.cancelled = out.copied < recnos.size();
            break;
        }
    }
    if (dest.isEditing())
        dest.cancelEdit();
    const xbase::Status closed = dest.close();
    if (s.ok() && !closed.ok())
        s = closed;
    if (!s.ok())
        out.result = TResult::fromStatus(s, failed);
    return out;
}

TCopyOutcome TCopyOutRun::CopyASCII(TAddressTable &table, const QString &target, TProgress &progress)
{
    const std::vector<int> fields = indexesOf(table.engine().schema(), asciiFields());
    std::string value;
    return writeText(table, target, progress,
                     [&](xbase::Table &engine, const xbase::RecordRef &rec, std::string &line) {
                         for (size_t i = 0; i < fields.size(); ++i) {
                             if (i > 0)
                                 line.push_back(',');
                             value.clear();
                             if (fields[i] >= 0 && !engine.fieldValue(rec, fields[i], value).ok())
                                 return false;
                             TDelimitedLine::appendQuoted(line, value);
                         }
                         line.append("\r\n");
                         return true;
                     });
}

TCopyOutcome TCopyOutRun::CopyVCard(TAddressTable &table, const QString &target, TProgress &progress,
                                    const QString &version)
{
    const xbase::Schema &schema = table.engine().schema();
    std::vector<std::pair<QString, int>> fields;
    for (const xbase::FieldDescriptor &f : schema.fields())
        fields.emplace_back(QString::fromStdString(f.name), schema.indexOf(f.name));
    std::string value;
    TVCardWriter writer(version);
    return writeText(table, target, progress,
                     [&](xbase::Table &engine, const xbase::RecordRef &rec, std::string &out) {
                         TVCardRecord record;
                         for (const auto &f : fields) {
                             if (!engine.fieldValue(rec, f.second, value).ok())
                                 return false;
                             if (!value.empty())
                                 record.insert(f.first, TCp1252::toString(value.data(), static_cast<qsizetype>(value.size())));
                         }
                         const QByteArray card = writer.card(record);
                         out.append(card.constData(), static_cast<size_t>(card.size()));
                         return true;
                     });
}
