#include "DbTransfer.h"

#include "DbTool.h"

#include "TAddressTable.h"
#include "TAsciiColumns.h"
#include "TAsciiImportRun.h"
#include "TCopyOutRun.h"
#include "TDbfImportRun.h"
#include "TDbfSource.h"
#include "TFieldLengths.h"
#include "TFilterFile.h"
#include "TImportOutcome.h"
#include "TImportTargets.h"
#include "TImportText.h"
#include "TIniFile.h"
#include "TProgramFolder.h"
#include "TProgress.h"
#include "TRecordQuery.h"
#include "TVCardImportRun.h"
#include "TVCardReader.h"

#include "Progress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>
#include <iomanip>

namespace dbtool {

namespace {

std::string utf8(const QString &s)
{
    return s.toStdString();
}

QString fromUtf8(const std::string &s)
{
    return QString::fromStdString(s);
}

// A bar of 40 cells redrawn in place on a terminal, for the record loops (TProgress) and the
// index rebuild (the engine's percentages).
class TerminalBar : public TProgress, public xbase::ProgressHook
{
public:
    TerminalBar(std::ostream &err, bool on) : m_err(err), m_on(on) {}
    ~TerminalBar() override
    {
        if (m_drawn)
            m_err << '\n';
    }
    void setTotal(int items) override
    {
        m_total = items;
        m_done = 0;
    }
    void step() override
    {
        ++m_done;
        if (m_total > 0)
            draw(static_cast<int>(static_cast<qint64>(m_done) * 100 / m_total));
    }
    bool cancelled() const override { return false; }
    bool report(int percent) override
    {
        draw(percent);
        return true;
    }

private:
    void draw(int percent)
    {
        if (!m_on || percent == m_shown)
            return;
        m_shown = percent;
        const int cells = std::clamp(percent, 0, 100) * 40 / 100;
        m_err << "\r[" << std::string(static_cast<size_t>(cells), '#')
              << std::string(static_cast<size_t>(40 - cells), ' ') << "] " << std::setw(3) << percent << '%'
              << std::flush;
        m_drawn = true;
    }
    std::ostream &m_err;
    bool m_on;
    bool m_drawn = false;
    int m_total = 0;
    int m_done = 0;
    int m_shown = -1;
};

int failWith(std::ostream &err, const QString &message)
{
    err << "corvantis-db: " << utf8(message) << '\n';
    return kFailure;
}

int badUse(std::ostream &err, const std::string &why)
{
    err << "corvantis-db: " << why << "\n\n" << usage();
    return kBadUse;
}

TIniFile settings()
{
    return TIniFile(TProgramFolder::settingsPath());
}

// ---- create ------------------------------------------------------------------------------

int create(const QString &file, std::ostream &out, std::ostream &err)
{
    if (QFileInfo::exists(file))
        return failWith(err, file + QStringLiteral(" exists already; it is not replaced"));
    const TResult made = TAddressTable::CreateAddressFile(file, TFieldLengths::load(settings()));
    if (!made.ok)
        return failWith(err, made.message);
    out << "Created " << utf8(file) << '\n';
    return kOk;
}

// ---- import ------------------------------------------------------------------------------

enum class SourceKind { Text, Dbf, VCard };

// A DBF by its header: a version byte of the family, a header and record length that fit the
// file, and the end mark of the field descriptors inside the header.
bool looksLikeDbf(const QByteArray &head, qint64 size)
{
    if (head.size() < 33)
        return false;
    static const unsigned char versions[] = {0x02, 0x03, 0x30, 0x31, 0x32, 0x43, 0x63, 0x83, 0x8B, 0xCB, 0xF5, 0xFB};
    const auto version = static_cast<unsigned char>(head[0]);
    if (std::find(std::begin(versions), std::end(versions), version) == std::end(versions))
        return false;
    const int headerLength = static_cast<unsigned char>(head[8]) | (static_cast<unsigned char>(head[9]) << 8);
    const int recordLength = static_cast<unsigned char>(head[10]) | (static_cast<unsigned char>(head[11]) << 8);
    if (headerLength < 33 || recordLength < 1 || headerLength > size)
        return false;
    const int searched = std::min<int>(headerLength, static_cast<int>(head.size()));
    return std::memchr(head.constData() + 32, 0x0D, static_cast<size_t>(searched - 32)) != nullptr;
}

// The source's kind by its content; a name ending in ".dbf" is taken as a table in any case, so
// a damaged one is refused rather than read as text.
bool sourceKind(const QString &path, SourceKind &kind, QString &error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Unable to open the file ") + path + QStringLiteral(": ") + f.errorString();
        return false;
    }
    const QByteArray head = f.read(64 * 1024);
    if (looksLikeDbf(head, f.size()) || path.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive))
        kind = SourceKind::Dbf;
    else if (TVCardReader::looksLikeVCard(head))
        kind = SourceKind::VCard;
    else
        kind = SourceKind::Text;
    return true;
}

// The mapping of a --match file: a JSON object from source column (a heading's text, "Field 1"
// ..., or a DBF field name) to address field (name or caption).
bool readMapping(const QString &path, QJsonObject &mapping, QString &error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Unable to read ") + path + QStringLiteral(": ") + f.errorString();
        return false;
    }
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.read(1 << 20), &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        error = path + QStringLiteral(" is not a JSON object of source columns and address fields");
        return false;
    }
    mapping = doc.object();
    for (auto it = mapping.begin(); it != mapping.end(); ++it) {
        if (!it.value().isString()) {
            error = path + QStringLiteral(": the field for ") + it.key() + QStringLiteral(" is not a text");
            return false;
        }
    }
    return true;
}

bool matchText(TAsciiColumns &columns, const TImportTargets &targets, const QJsonObject *mapping, QString &error)
{
    if (mapping) {
        columns.clearMatches();
        for (auto it = mapping->begin(); it != mapping->end(); ++it) {
            const TImportTarget *t = targets.byNameOrCaption(it.value().toString());
            if (!t) {
                error = QStringLiteral("No address field is named ") + it.value().toString();
                return false;
            }
            bool found = false;
            for (TAsciiColumn &c : columns.columns())
                if (c.name.compare(it.key(), Qt::CaseInsensitive) == 0) {
                    c.match = t->caption;
                    found = true;
                }
            if (!found) {
                error = QStringLiteral("The source has no column ") + it.key();
                return false;
            }
        }
        return true;
    }
    // A file of the export's own layout (its 20 columns, no heading) matches field for field.
    if (!columns.hasMatch() && !columns.hasHeading() && columns.columnCount() == TCopyOutRun::asciiFields().size()) {
        for (int c = 0; c < columns.columnCount(); ++c)
            if (const TImportTarget *t = targets.byNameOrCaption(TCopyOutRun::asciiFields()[c]))
                columns.columns()[c].match = t->caption;
    }
    if (!columns.hasMatch()) {
        error = QStringLiteral("No column of the source matches an address field; name them with --match FILE.json");
        return false;
    }
    return true;
}

bool matchDbf(TDbfSource &source, const TImportTargets &targets, const QJsonObject &mapping, QString &error)
{
    source.clearMatches();
    for (auto it = mapping.begin(); it != mapping.end(); ++it) {
        const TImportTarget *t = nullptr;
        for (const TImportTarget &candidate : targets.all())
            if (candidate.name.compare(it.value().toString(), Qt::CaseInsensitive) == 0 ||
                candidate.caption.compare(it.value().toString(), Qt::CaseInsensitive) == 0)
                t = &candidate;
        if (!t) {
            error = QStringLiteral("No address field is named ") + it.value().toString();
            return false;
        }
        bool found = false;
        for (TDbfSource::Field &f : source.fields())
            if (f.name.compare(it.key(), Qt::CaseInsensitive) == 0) {
                f.match = t->index;
                found = true;
            }
        if (!found) {
            error = QStringLiteral("The source has no field ") + it.key();
            return false;
        }
    }
    return true;
}

// Puts the address file back as it was before the run: the records after `before` removed
// and the tags built again.
TResult removeAppended(TAddressTable &table, uint32_t before)
{
    xbase::Table &engine = table.engine();
    if (engine.isEditing())
        engine.cancelEdit();
    xbase::Status s = engine.closeIndexes(true);
    if (s.ok())
        s = engine.truncateRecords(before);
    if (!s.ok())
        return TResult::fromStatus(s);
    return table.CreateAddressTags();
}

int import(const QString &file, const QString &sourcePath, const QString &match, bool intoNew, std::ostream &out,
           std::ostream &err, bool progressBar)
{
    QJsonObject mapping;
    QString error;
    const bool mapped = match != QLatin1String("auto");
    if (mapped && !readMapping(match, mapping, error))
        return failWith(err, error);
    SourceKind kind = SourceKind::Text;
    if (!sourceKind(sourcePath, kind, error))
        return failWith(err, error);

    if (intoNew) {
        if (QFileInfo::exists(file))
            return failWith(err, file + QStringLiteral(" exists already; --into-new makes a new file"));
        if (const TResult made = TAddressTable::CreateAddressFile(file, TFieldLengths::load(settings())); !made.ok)
            return failWith(err, made.message);
    }
    auto dropNew = [&]() {
        if (!intoNew)
            return;
        const QFileInfo info(file);
        QDir dir = info.absoluteDir();
        for (const QString &ext : {QStringLiteral("DBF"), QStringLiteral("FPT"), QStringLiteral("CDX")})
            for (const QString &name : dir.entryList({info.completeBaseName() + QLatin1Char('.') + ext}, QDir::Files))
                dir.remove(name);
    };

    TAddressTable table;
    if (const TResult opened = table.OpenTableFile(file); !opened.ok) {
        dropNew();
        return failWith(err, QStringLiteral("Unable to open ") + file + QStringLiteral(": ") + opened.message);
    }
    const uint32_t before = table.engine().recordCount();
    TerminalBar bar(err, progressBar);
    TImportOutcome outcome;
    bool textSource = false;
    bool ran = false;

    if (kind == SourceKind::Dbf) {
        TDbfSource source;
        if (const TResult opened = source.open(sourcePath, table.path()); !opened.ok) {
            error = opened.message;
        } else if (!mapped && TDbfImportRun::recognise(source, TDbfImportRun::Older::V1).ok) {
            outcome = TDbfImportRun::runOlder(table, source, TDbfImportRun::Older::V1, bar, &bar);
            ran = true;
        } else if (!mapped && TDbfImportRun::recognise(source, TDbfImportRun::Older::V2).ok) {
            outcome = TDbfImportRun::runOlder(table, source, TDbfImportRun::Older::V2, bar, &bar);
            ran = true;
        } else {
            const TImportTargets targets(table, TImportTargets::Kind::Table);
            if (mapped ? matchDbf(source, targets, mapping, error) : (source.autoMatch(targets), true)) {
                if (!source.hasMatch()) {
                    error = QStringLiteral("No field of the source matches an address field; name them with --match FILE.json");
                } else {
                    outcome = TDbfImportRun::run(table, source, bar, &bar);
                    ran = true;
                }
            }
        }
    } else if (kind == SourceKind::VCard) {
        if (mapped) {
            error = QStringLiteral("A vCard file is imported by its fixed mapping; --match does not apply");
        } else {
            QFile f(sourcePath);
            if (!f.open(QIODevice::ReadOnly)) {
                error = QStringLiteral("Unable to open the file ") + sourcePath + QStringLiteral(": ") + f.errorString();
            } else {
                const QByteArray bytes = f.readAll();
                outcome = TVCardImportRun::run(table, bytes, bar, &bar);
                ran = true;
            }
        }
    } else {
        textSource = true;
        TImportText text;
        TAsciiColumns columns;
        const TImportTargets targets(table, TImportTargets::Kind::Text);
        if (const TResult loaded = text.load(sourcePath); !loaded.ok) {
            error = loaded.message;
        } else if (const TResult scanned = columns.scan(text, &targets); !scanned.ok) {
            error = scanned.message;
        } else if (matchText(columns, targets, mapped ? &mapping : nullptr, error)) {
            outcome = TAsciiImportRun::run(table, text, columns, targets, bar, &bar);
            ran = true;
        }
    }

    if (!ran) {
        table.close();
        dropNew();
        return failWith(err, error);
    }
    if (!outcome.isComplete() || !outcome.rebuild.ok) {
        QString message = outcome.message(textSource);
        for (const QString &note : outcome.notes())
            message += QLatin1Char('\n') + note;
        const TResult undone = removeAppended(table, before);
        table.close();
        if (undone.ok) {
            dropNew();
            message += QStringLiteral("\nThe records of this run were removed again; ") + file +
                       QStringLiteral(" is as it was.");
        } else {
            message += QStringLiteral("\nThe records of this run could not be removed: ") + undone.message;
        }
        return failWith(err, message);
    }
    table.close();
    out << utf8(outcome.message(textSource)) << '\n';
    for (const QString &note : outcome.notes())
        out << utf8(note) << '\n';
    return kOk;
}

// ---- export ------------------------------------------------------------------------------

enum class Format { Csv, Dbf, VCard };

QString memoPathOf(const QString &dbf)
{
    const QString ext = dbf.right(3);
    const bool lower = !ext.isEmpty() && ext[0].isLower();
    return dbf.left(dbf.size() - 3) + (lower ? QStringLiteral("fpt") : QStringLiteral("FPT"));
}

int exportRecords(const QString &file, const QString &target, Format format, const QString &filterPath,
                  bool tagged, std::ostream &out, std::ostream &err, bool progressBar)
{
    TAddressTable table;
    if (const TResult opened = table.OpenTableFile(file); !opened.ok)
        return failWith(err, QStringLiteral("Unable to open ") + file + QStringLiteral(": ") + opened.message);
    if (!table.CheckValidIndex())
        return failWith(err, QStringLiteral("The indexes of ") + file +
                                 QStringLiteral(" are missing or damaged; rebuild them first (corvantis-db reindex)"));
    const TIniFile ini = settings();
    table.setGlobalTagId(ini.readString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId")));
    TFilterCriteria criteria;
    if (!filterPath.isEmpty()) {
        QString error;
        if (!TFilterFile::RestoreFilterFrom(filterPath, criteria, &error))
            return failWith(err, error);
    }
    if (tagged)
        criteria.setTagged(true);
    const QString query = TRecordQuery::queryFor(criteria.BuildQueryString(table.globalTagId()));
    if (const TResult ordered = table.setOrderTag(QStringLiteral("LNAME")); !ordered.ok)
        return failWith(err, ordered.message);
    if (const TResult queried = table.setQuery(query); !queried.ok)
        return failWith(err, QStringLiteral("The filter cannot be applied: ") + queried.message);

    const bool dbf = format == Format::Dbf;
    if (const TResult checked = TCopyOutRun::check(target, table.path(), dbf); !checked.ok)
        return failWith(err, checked.message);
    TerminalBar bar(err, progressBar);
    TCopyOutcome copy;
    if (format == Format::Csv) {
        copy = TCopyOutRun::CopyASCII(table, target, bar);
    } else if (format == Format::VCard) {
        copy = TCopyOutRun::CopyVCard(table, target, bar);
    } else {
        // The copy goes to a name of its own beside the target and takes the target's place
        // only whole, so a failure leaves no output (and any earlier file as it was).
        const QFileInfo info(target);
        const QString staging = info.absolutePath() + QStringLiteral("/~") + info.fileName();
        copy = TCopyOutRun::CopyDBF(table, staging, bar);
        if (copy.result.ok) {
            QFile::remove(target);
            QFile::remove(memoPathOf(target));
            if (!QFile::rename(staging, target) || !QFile::rename(memoPathOf(staging), memoPathOf(target)))
                copy.result = TResult::failure(QStringLiteral("Unable to put the copy in place as ") + target,
                                               xbase::StatusCode::IoError);
        }
        if (!copy.result.ok) {
            QFile::remove(staging);
            QFile::remove(memoPathOf(staging));
            QFile::remove(target);
            QFile::remove(memoPathOf(target));
        }
    }
    table.close();
    if (!copy.result.ok)
        return failWith(err, copy.result.message);
    out << "Exported " << copy.copied << " records to " << utf8(target) << '\n';
    return kOk;
}

} // namespace

bool isTransferCommand(const std::string &name)
{
    return name == "create" || name == "import" || name == "export";
}

int runTransfer(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool progressBar)
{
    if (args.empty() || !isTransferCommand(args[0]))
        return badUse(err, "no command");
    const std::string &name = args[0];
    std::vector<std::string> positional;
    QString match = QStringLiteral("auto");
    bool intoNew = false;
    int formats = 0;
    Format format = Format::Csv;
    int selections = 0;
    QString filter;
    bool tagged = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool forImport = name == "import";
        const bool forExport = name == "export";
        if (forImport && a == "--match") {
            if (++i == args.size())
                return badUse(err, "--match needs auto or a JSON file");
            match = fromUtf8(args[i]);
        } else if (forImport && a == "--into-new") {
            intoNew = true;
        } else if (forExport && (a == "--csv" || a == "--dbf" || a == "--vcard")) {
            ++formats;
            format = a == "--csv" ? Format::Csv : a == "--dbf" ? Format::Dbf : Format::VCard;
        } else if (forExport && a == "--filter") {
            if (++i == args.size())
                return badUse(err, "--filter needs a filter file");
            filter = fromUtf8(args[i]);
            ++selections;
        } else if (forExport && (a == "--tagged" || a == "--all")) {
            tagged = a == "--tagged";
            ++selections;
        } else if (a.size() > 1 && a[0] == '-') {
            return badUse(err, "option " + a + " not allowed with " + name);
        } else {
            positional.push_back(a);
        }
    }
    const size_t wanted = name == "create" ? 1 : 2;
    if (positional.size() != wanted)
        return badUse(err, name + " takes " + std::to_string(wanted) + " argument(s)");
    if (formats > 1)
        return badUse(err, "give one of --csv, --dbf and --vcard");
    if (selections > 1)
        return badUse(err, "give one of --filter, --tagged and --all");
    const QString file = fromUtf8(positional[0]);
    if (name == "create")
        return create(file, out, err);
    const QString second = fromUtf8(positional[1]);
    if (name == "import")
        return import(file, second, match, intoNew, out, err, progressBar);
    if (formats == 0) {
        // By the output's extension: .DBF a table, .VCF vCards, anything else text.
        if (second.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive))
            format = Format::Dbf;
        else if (second.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive))
            format = Format::VCard;
    }
    return exportRecords(file, second, format, filter, tagged, out, err, progressBar);
}

} // namespace dbtool
