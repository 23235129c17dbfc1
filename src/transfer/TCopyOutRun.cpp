#include "TCopyOutRun.h"

#include "BulkBuffer.h"
#include "DbfFile.h"
#include "TAddressTable.h"
#include "TBatchWriter.h"
#include "TCp1252.h"
#include "TDelimitedLine.h"
#include "TProgress.h"
#include "TText.h"
#include "TVCardWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QVector>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
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

// Bytes of records read together from the table: one gathered read for this many records of
// the order, whose neighbours in the file are then mostly read along.
constexpr size_t kReadBytes = size_t(32) << 20;
// Bytes of records read together when the records are wanted in file order.
constexpr size_t kFileOrderReadBytes = size_t(1) << 20;
// Bytes of copied records gathered before they are appended to the target in one write.
constexpr size_t kAppendBytes = size_t(1) << 20;

// Hands the records of `recnos`, in that order, to `use` chunk by chunk: the chunk's bytes
// (one record after another) and its record count (false from `use` stops the walk). A
// failed read answers its status.
template <typename Use>
xbase::Status forEachChunk(const xbase::Table &engine, const QVector<quint32> &recnos, Use use)
{
    const size_t recLen = engine.recordLength();
    // Records in file order gain nothing from a large gathered read; a chunk that stays in
    // the processor's cache serves them best.
    const bool inFileOrder = std::is_sorted(recnos.cbegin(), recnos.cend());
    const size_t perChunk =
        std::max<size_t>(1, (inFileOrder ? kFileOrderReadBytes : kReadBytes) / std::max<size_t>(1, recLen));
    // Taken from the system in one piece (a buffer this size would otherwise be faulted in
    // page by page).
    xbase::BulkBuffer chunk;
    if (!chunk.resize(std::min<size_t>(perChunk, static_cast<size_t>(recnos.size())) * recLen))
        return xbase::Status::IoError("Not enough memory to copy the records");
    for (qsizetype first = 0; first < recnos.size(); first += static_cast<qsizetype>(perChunk)) {
        const size_t n = std::min<size_t>(perChunk, static_cast<size_t>(recnos.size() - first));
        const xbase::Status read = engine.storedRecords(recnos.constData() + first, n, chunk.data());
        if (!read.ok())
            return read;
        if (!use(chunk.data(), n, recnos.constData() + first))
            return xbase::Status::Ok();
    }
    return xbase::Status::Ok();
}

// A field's text read straight from the record bytes where that needs no memo file: C and D
// without trailing blanks, N and F trimmed, L "T" / "F" / "" (as Table::fieldValue gives them).
// False for a field the engine must read.
bool rawValue(const xbase::FieldDescriptor &f, const char *record, std::string_view &out)
{
    std::string_view raw(record + f.offset, f.length);
    switch (f.type) {
    case 'C':
    case 'D':
        while (!raw.empty() && raw.back() == ' ')
            raw.remove_suffix(1);
        out = raw;
        return true;
    case 'N':
    case 'F':
        while (!raw.empty() && raw.back() == ' ')
            raw.remove_suffix(1);
        while (!raw.empty() && raw.front() == ' ')
            raw.remove_prefix(1);
        out = raw;
        return true;
    case 'L': {
        const char c = raw.empty() ? ' ' : raw[0];
        out = (c == 'T' || c == 't' || c == 'Y' || c == 'y') ? std::string_view("T")
              : (c == ' ' || c == '?')                       ? std::string_view()
                                                             : std::string_view("F");
        return true;
    }
    default:
        return false;
    }
}

// Walks the visible records in order, handing each record's bytes to `write`, and commits the
// file; any failure removes the partial file.
template <typename WriteRecord>
TCopyOutcome writeText(TAddressTable &table, const QString &target, TProgress &progress, WriteRecord write)
{
    TCopyOutcome out;
    QVector<quint32> recnos;
    if (!table.visibleRecnos(recnos)) {
        out.result =
            TResult::failure(QStringLiteral("There was an error copying"), xbase::StatusCode::IoError);
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
    bool failed = false;
    QString reason;
    const size_t recLen = engine.recordLength();
    const xbase::Status walked =
        forEachChunk(engine, recnos, [&](const char *chunk, size_t n, const quint32 *numbers) {
            for (size_t k = 0; k < n; ++k) {
                const xbase::RecordRef rec{chunk + k * recLen, numbers[k]};
                if (!write(engine, rec, writer.buffer())) {
                    failed = true;
                    return false;
                }
                if (!writer.flushIfFull()) {
                    failed = true;
                    reason = file.errorString();
                    return false;
                }
                ++out.copied;
                progress.step();
                if (progress.cancelled()) {
                    out.cancelled = out.copied < recnos.size();
                    return false;
                }
            }
            return true;
        });
    if (!walked.ok()) {
        failed = true;
        reason = QString::fromStdString(walked.message());
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
        out.result =
            TResult::failure(QStringLiteral("There was an error writing ") + QFileInfo(target).fileName() +
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
    static const QStringList list = names(
        {"PREFIX", "FNAME",   "MIDDLE", "LNAME",  "TITLE", "ORG", "STREET", "STREET2", "CITY",  "STATE",
         "ZIP",    "COUNTRY", "PHONE",  "PHONE2", "EMAIL", "FAX", "DATE",   "USER1",   "USER2", "CODES"});
    return list;
}

const QStringList &TCopyOutRun::dbfFields()
{
    static const QStringList list = names(
        {"PREFIX", "FNAME",   "MIDDLE", "LNAME",  "TITLE", "ORG", "STREET", "STREET2", "CITY",  "STATE",
         "ZIP",    "COUNTRY", "PHONE",  "PHONE2", "EMAIL", "FAX", "DATE",   "CODES",   "USER1", "USER2"});
    return list;
}

TResult TCopyOutRun::check(const QString &target, const QString &openFile, bool dbf)
{
    if (dbf && !target.toUpper().endsWith(QLatin1String(".DBF")))
        return TResult::failure(QStringLiteral("Must have a .DBF extension"));
    const QFileInfo t(target);
    const QString a = t.exists() ? t.canonicalFilePath() : t.absoluteFilePath();
    const QString b = QFileInfo(openFile).canonicalFilePath();
    if (!openFile.isEmpty() &&
        a.compare(b.isEmpty() ? QFileInfo(openFile).absoluteFilePath() : b, Qt::CaseInsensitive) == 0)
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
    {
        // The copy says its text is Windows-1252: spreadsheets and DBF libraries that find
        // no mark read accents by a DOS code page.
        std::unique_ptr<xbase::DbfFile> file;
        xbase::Status marked = xbase::DbfFile::open(path, false, file);
        if (marked.ok())
            marked = file->setCodePageMark(xbase::DbfFile::kCodePageWindows1252);
        if (!marked.ok()) {
            out.result = TResult::fromStatus(marked, failed);
            return out;
        }
    }
    xbase::Table dest;
    if (const xbase::Status opened = dest.open(path, xbase::OpenMode::Exclusive); !opened.ok()) {
        out.result = TResult::fromStatus(opened, failed);
        return out;
    }
    // The target has the address file's structure, field for field: a record is copied as its
    // bytes, with the fields that are not copied (ISDEL, TAG) left blank, no delete mark, and
    // the memo written anew in the target's memo file.
    const xbase::Schema &schema = engine.schema();
    std::vector<bool> copied(static_cast<size_t>(schema.fieldCount()), false);
    for (const int i : indexesOf(schema, dbfFields()))
        if (i >= 0)
            copied[static_cast<size_t>(i)] = true;
    std::vector<const xbase::FieldDescriptor *> blanked;
    for (int i = 0; i < schema.fieldCount(); ++i)
        if (!copied[static_cast<size_t>(i)] && schema.field(i).type != 'M')
            blanked.push_back(&schema.field(i));
    const int memoFrom = schema.indexOf("MEMO");
    const int memoTo = dest.schema().indexOf("MEMO");
    const size_t recLen = engine.recordLength();
    progress.setTotal(static_cast<int>(recnos.size()));

    // The copied records go to the target on a thread of their own while the next ones are
    // read; the memos with them.
    TRecordBatch batch;
    batch.records.reserve(kAppendBytes + recLen);
    xbase::Status s;
    std::vector<std::string> memos;
    {
        TBatchWriter writer(dest);
        auto flush = [&]() {
            if (s.ok() && batch.count > 0)
                s = writer.handOver(batch);
            batch.clear();
        };
        const xbase::Status walked =
            forEachChunk(engine, recnos, [&](const char *chunk, size_t n, const quint32 *) {
                if (memoFrom >= 0 && memoTo >= 0) {
                    s = engine.memoTexts(chunk, n, memoFrom, memos);
                    if (!s.ok())
                        return false;
                }
                for (size_t k = 0; k < n; ++k) {
                    batch.records.append(chunk + k * recLen, recLen);
                    char *copy = &batch.records[batch.records.size() - recLen];
                    copy[0] = ' ';
                    for (const xbase::FieldDescriptor *f : blanked)
                        std::memset(copy + f->offset, ' ', f->length);
                    if (memoTo >= 0) {
                        // A record without a memo gets a blank memo field.
                        if (memoFrom >= 0 && !memos[k].empty())
                            batch.memos.push_back(
                                {batch.count, memoTo, TText::memoForStoring(std::string_view(memos[k]))});
                        else // an empty text only blanks the field; the memo file is not touched
                            s = dest.putMemo(copy, memoTo, std::string_view());
                    }
                    ++batch.count;
                    if (batch.records.size() >= kAppendBytes)
                        flush();
                    if (!s.ok())
                        return false;
                    progress.step();
                    if (progress.cancelled()) {
                        out.cancelled = writer.handed() + batch.count < static_cast<qint64>(recnos.size());
                        return false;
                    }
                }
                return true;
            });
        if (s.ok() && !walked.ok())
            s = walked;
        if (!s.ok())
            batch.clear();
        flush();
        if (const xbase::Status w = writer.wait(); s.ok() && !w.ok())
            s = w;
        out.copied = writer.written();
    }
    const xbase::Status closed = dest.close();
    if (s.ok() && !closed.ok())
        s = closed;
    if (!s.ok())
        out.result = TResult::fromStatus(s, failed);
    return out;
}

TCopyOutcome TCopyOutRun::CopyASCII(TAddressTable &table, const QString &target, TProgress &progress)
{
    const xbase::Schema &schema = table.engine().schema();
    const std::vector<int> fields = indexesOf(schema, asciiFields());
    std::string value;
    return writeText(table, target, progress,
                     [&](xbase::Table &engine, const xbase::RecordRef &rec, std::string &line) {
                         for (size_t i = 0; i < fields.size(); ++i) {
                             if (i > 0)
                                 line.push_back(',');
                             std::string_view text;
                             if (fields[i] >= 0 && !rawValue(schema.field(fields[i]), rec.data, text)) {
                                 if (!engine.fieldValue(rec, fields[i], value).ok())
                                     return false;
                                 text = value;
                             }
                             TDelimitedLine::appendQuoted(line, text);
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
    return writeText(
        table, target, progress, [&](xbase::Table &engine, const xbase::RecordRef &rec, std::string &out) {
            TVCardRecord record;
            for (const auto &f : fields) {
                if (!engine.fieldValue(rec, f.second, value).ok())
                    return false;
                if (!value.empty())
                    record.insert(f.first,
                                  TCp1252::toString(value.data(), static_cast<qsizetype>(value.size())));
            }
            const QByteArray card = writer.card(record);
            out.append(card.constData(), static_cast<size_t>(card.size()));
            return true;
        });
}
