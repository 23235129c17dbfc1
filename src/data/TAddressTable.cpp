#include "TAddressTable.h"

#include "TAddressSchema.h"
#include "TCalcFields.h"
#include "TCp1252.h"
#include "TFieldLengths.h"
#include "TFileCase.h"
#include "TRebuildGauge.h"

#include "Expression.h"

#include <QFile>
#include <QFileInfo>

namespace {

std::string localPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QString fromEngine(const std::string &bytes)
{
    return TCp1252::toString(bytes.data(), qsizetype(bytes.size()));
}

std::string toEngine(const QString &text)
{
    return TCp1252::fromString(text).toStdString();
}

// `path` as it exists on disk, its folder and name found without regard to case; the path
// as given when nothing matches.
QString existingPath(const QString &path)
{
    if (QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    const QString found = TFileCase::resolve(info.absolutePath(), info.fileName());
    return QFileInfo::exists(found) ? found : path;
}

} // namespace

TAddressTable::TAddressTable(QObject *parent) : QObject(parent) {}

TAddressTable::~TAddressTable()
{
    // Nobody is left to tell: every posted record is written already (see close()).
    (void)m_table.close();
}

TResult TAddressTable::CreateAddressFile(const QString &path, const TFieldLengths &lengths)
{
    const xbase::Status created = xbase::Table::create(localPath(path), TAddressSchema::descriptors(lengths));
    if (!created.ok())
        return TResult::fromStatus(created, QStringLiteral("Create failed"));
    TAddressTable table;
    if (!QFileInfo::exists(path))
        return TResult::failure(QStringLiteral("File creation failed"), xbase::StatusCode::IoError);
    if (const TResult opened = table.OpenTableFile(path); !opened)
        return TResult::failure(QStringLiteral("File creation failed"), opened.code);
    if (const TResult tagged = table.CreateAddressTags(); !tagged) {
        table.close();
        return TResult::failure(QStringLiteral("File creation failed"), tagged.code);
    }
    table.close();
    return TResult::success();
}

TResult TAddressTable::OpenTableFile(const QString &path)
{
    close();
    const QString actual = existingPath(path);
    if (!QFileInfo::exists(actual))
        return TResult::failure(QStringLiteral("File ") + path + QStringLiteral(" not found"),
                                xbase::StatusCode::NotFound);

    const xbase::Status opened = m_table.open(localPath(actual), xbase::OpenMode::Exclusive);
    if (!opened.ok())
        return TResult::fromStatus(opened);
    // Every field object takes the width of the file's field of the same name; a name the
    // file lacks keeps the file closed.
    const xbase::Schema &schema = m_table.schema();
    QMap<QString, int> widths;
    for (const TAddressField &f : TAddressSchema::storedFields()) {
        const int index = schema.indexOf(f.name.toStdString());
        if (index < 0) {
            // Opened read-only in effect: nothing was written, so a failed close loses nothing.
            (void)m_table.close();
            return TResult::failure(QStringLiteral("The field ") + f.name + QStringLiteral(" is missing"),
                                    xbase::StatusCode::Corruption);
        }
        widths.insert(f.name, schema.field(index).length);
    }
    m_widths = widths;
    const xbase::Status ordered = m_table.setOrder(0);
    m_table.setDeletedHidden(true);
    const xbase::Status top = ordered.ok() ? m_table.goTop() : ordered;
    if (!top.ok()) {
        // Nothing was written yet, so a failed close loses nothing.
        (void)m_table.close();
        return TResult::fromStatus(top);
    }
    m_path = actual;
    announce();
    return TResult::success();
}

TResult TAddressTable::CreateAddressTags(xbase::ProgressHook *progress)
{
    const QString failed = QStringLiteral("Unable to create index files");
    if (!m_table.isOpen())
        return TResult::failure(failed);
    if (m_table.hasIndexFile() || m_table.tagCount() > 0) {
        if (const xbase::Status closed = m_table.closeIndexes(true); !closed.ok())
            return TResult::fromStatus(closed, failed);
    }
    if (const xbase::Status added = m_table.addTags(TAddressSchema::tags(), progress); !added.ok())
        return TResult::fromStatus(added, failed);
    return TResult::success();
}

bool TAddressTable::CheckValidIndex() const
{
    if (!m_table.isOpen())
        return false;
    // An index left in the middle of an update may not match the records: invalid as well.
    if (m_table.indexNeedsRebuild())
        return false;
    for (const QString &name : TAddressSchema::checkedTagNames()) {
        if (m_table.tagOrder(name.toStdString()) == 0)
            return false;
    }
    return true;
}

TResult TAddressTable::rebuild(TRebuildGauge &gauge)
{
    const QString failed = QStringLiteral("Unable to create index files");
    if (!m_table.isOpen())
        return TResult::failure(failed);
    m_table.cancelEdit();
    if (m_table.hasIndexFile() || m_table.tagCount() > 0) {
        if (const xbase::Status closed = m_table.closeIndexes(true); !closed.ok())
            return TResult::fromStatus(closed, failed);
    }
    gauge.setPhase(TRebuildGauge::Phase::Packing);
    // The pack must see the marked records to remove them.
    if (const xbase::Status packed = m_table.pack(&gauge); !packed.ok())
        return TResult::fromStatus(packed, failed);
    gauge.setPhase(TRebuildGauge::Phase::Indexing);
    const TResult tags = CreateAddressTags(&gauge);
    const xbase::Status top = m_table.goTop();
    announce();
    if (!tags)
        return tags;
    return TResult::fromStatus(top);
}

void TAddressTable::close()
{
    if (!m_table.isOpen() && m_path.isEmpty())
        return;
    m_table.cancelEdit();
    // The edit was dropped above and every post wrote its record already: a close that fails
    // (the header's date and count not rewritten) leaves the records themselves whole, and the
    // table is closed either way.
    (void)m_table.close();
    m_path.clear();
    announce();
}

QString TAddressTable::folder() const
{
    if (m_path.isEmpty())
        return QString();
    return QFileInfo(m_path).absolutePath() + QLatin1Char('/');
}

QString TAddressTable::fileName() const
{
    return QFileInfo(m_path).fileName();
}

int TAddressTable::fieldWidth(const QString &name) const
{
    const QString upper = name.toUpper();
    const auto it = m_widths.constFind(upper);
    if (it != m_widths.constEnd())
        return it.value();
    const TAddressField *f = TAddressSchema::field(upper);
    return f ? f->width : 0;
}

void TAddressTable::freeze()
{
    ++m_freeze;
}

void TAddressTable::unfreeze()
{
    if (m_freeze == 0)
        return;
    if (--m_freeze == 0 && m_pending) {
        m_pending = false;
        emit recordChanged();
    }
}

void TAddressTable::announce()
{
    if (m_freeze > 0) {
        m_pending = true;
        return;
    }
    emit recordChanged();
}

TResult TAddressTable::setOrderTag(const QString &tagName)
{
    if (!m_table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    const xbase::Status s =
        tagName.isEmpty() ? m_table.setOrder(0) : m_table.setOrder(std::string_view(tagName.toStdString()));
    return TResult::fromStatus(s);
}

QString TAddressTable::orderTag() const
{
    if (!m_table.isOpen() || m_table.order() == 0)
        return QString();
    return QString::fromStdString(m_table.tagSpec(m_table.order()).name);
}

TResult TAddressTable::setQuery(const QString &expr)
{
    if (!m_table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    if (const xbase::Status set = m_table.setQuery(toEngine(expr)); !set.ok())
        return TResult::fromStatus(set);
    // The current record may no longer be visible.
    const xbase::Status top = m_table.goTop();
    announce();
    return TResult::fromStatus(top);
}

QString TAddressTable::query() const
{
    return fromEngine(m_table.queryText());
}

qint64 TAddressTable::visibleCount()
{
    if (!m_table.isOpen())
        return 0;
    uint64_t count = 0;
    if (!m_table.queryCount(count).ok())
        return 0;
    return qint64(count);
}

namespace {

const QString kNoFile = QStringLiteral("No file is open");

} // namespace

TResult TAddressTable::first()
{
    if (!m_table.isOpen())
        return TResult::failure(kNoFile);
    const xbase::Status s = m_table.goTop();
    announce();
    if (!s.ok())
        return TResult::fromStatus(s);
    return hasRecord() ? TResult::success() : TResult::notFound();
}

TResult TAddressTable::last()
{
    if (!m_table.isOpen())
        return TResult::failure(kNoFile);
    const xbase::Status s = m_table.goBottom();
    announce();
    if (!s.ok())
        return TResult::fromStatus(s);
    return hasRecord() ? TResult::success() : TResult::notFound();
}

TResult TAddressTable::next()
{
    if (!m_table.isOpen())
        return TResult::failure(kNoFile);
    if (!hasRecord())
        return TResult::notFound();
    const uint32_t here = m_table.recno();
    const xbase::Status s = m_table.skip(1);
    if (!s.ok() || m_table.eof()) {
        // Back to where it was; when even that fails the record read there says so.
        const xbase::Status back = m_table.go(here);
        if (!s.ok())
            return TResult::fromStatus(s);
        return back.ok() ? TResult::notFound() : TResult::fromStatus(back);
    }
    announce();
    return TResult::success();
}

TResult TAddressTable::prior()
{
    if (!m_table.isOpen())
        return TResult::failure(kNoFile);
    if (!hasRecord())
        return TResult::notFound();
    const uint32_t here = m_table.recno();
    const xbase::Status s = m_table.skip(-1);
    if (!s.ok() || m_table.bof() || m_table.recno() == here) {
        const xbase::Status back = m_table.go(here);
        if (!s.ok())
            return TResult::fromStatus(s);
        return back.ok() ? TResult::notFound() : TResult::fromStatus(back);
    }
    announce();
    return TResult::success();
}

TResult TAddressTable::goTo(quint32 recno)
{
    if (!m_table.isOpen())
        return TResult::failure(kNoFile);
    if (recno == 0)
        return TResult::notFound();
    const uint32_t here = m_table.recno();
    const auto stay = [&](const TResult &why) {
        const xbase::Status back = m_table.go(here);
        return back.ok() || !why.isNotFound() ? why : TResult::fromStatus(back);
    };
    const xbase::Status moved = m_table.go(recno);
    if (!moved.ok())
        return stay(moved.code() == xbase::StatusCode::NotFound ? TResult::notFound()
                                                                : TResult::fromStatus(moved));
    if (m_table.eof() || (m_table.isDeletedHidden() && m_table.isDeleted()))
        return stay(TResult::notFound());
    if (!m_table.queryText().empty()) {
        bool visible = false;
        const xbase::Status tested = m_table.evalLogical(m_table.queryText(), visible);
        if (!tested.ok())
            return stay(TResult::fromStatus(tested));
        if (!visible)
            return stay(TResult::notFound());
    }
    announce();
    return TResult::success();
}

TResult TAddressTable::seek(const QString &key)
{
    if (!m_table.isOpen())
        return TResult::failure(kNoFile);
    bool found = false;
    const xbase::Status s = m_table.seek(toEngine(key), found);
    announce();
    if (!s.ok())
        return TResult::fromStatus(s);
    return found && hasRecord() ? TResult::success() : TResult::notFound();
}

QString TAddressTable::nameKey(const QString &lname, const QString &fname) const
{
    auto padded = [this](const QString &text, const char *field) {
        const int width = fieldWidth(QLatin1String(field));
        std::string bytes = toEngine(text);
        bytes.resize(size_t(width), ' ');
        return xbase::upperCp1252(bytes);
    };
    return fromEngine(padded(lname, "LNAME") + padded(fname, "FNAME"));
}

bool TAddressTable::hasRecord() const
{
    return m_table.isOpen() && !m_table.eof() && m_table.recno() >= 1 &&
           m_table.recno() <= m_table.recordCount();
}

quint32 TAddressTable::recno() const
{
    return m_table.isOpen() ? m_table.recno() : 0;
}

QString TAddressTable::storedValue(const QString &name) const
{
    std::string out;
    if (!m_table.fieldValue(std::string_view(name.toStdString()), out).ok())
        return QString();
    return fromEngine(out);
}

QString TAddressTable::value(const QString &name) const
{
    if (!hasRecord() && !m_table.isEditing())
        return QString();
    const TAddressField *field = TAddressSchema::field(name);
    if (!field)
        return QString();
    return fieldText(*field, [this](const QString &n) { return storedValue(n); });
}

QString TAddressTable::fieldText(const TAddressField &field,
                                 const std::function<QString(const QString &)> &stored) const
{
    const QString &n = field.name;
    if (n == QLatin1String("Tagged"))
        return TCalcFields::Tagged(stored(QStringLiteral("TAG")), m_globalTagId) ? QStringLiteral("Yes")
                                                                                 : QStringLiteral("No");
    if (n == QLatin1String("DisplayDate"))
        return TCalcFields::DisplayDate(stored(QStringLiteral("DATE")));
    if (n == QLatin1String("FullName")) {
        if (!m_compositeOn)
            return QString();
        return TCalcFields::FullName(stored(QStringLiteral("FNAME")), stored(QStringLiteral("MIDDLE")),
                                     stored(QStringLiteral("LNAME")));
    }
    if (n == QLatin1String("FullNameWithPrefix")) {
        if (!m_compositeOn)
            return QString();
        return TCalcFields::FullNameWithPrefix(
            stored(QStringLiteral("PREFIX")), stored(QStringLiteral("FNAME")),
            stored(QStringLiteral("MIDDLE")), stored(QStringLiteral("LNAME")));
    }
    if (n == QLatin1String("CityStateZip")) {
        if (!m_compositeOn)
            return QString();
        return TCalcFields::CityStateZip(stored(QStringLiteral("CITY")), stored(QStringLiteral("STATE")),
                                         stored(QStringLiteral("ZIP")));
    }
    return stored(n);
}

bool TAddressTable::visibleRecnos(QVector<quint32> &out)
{
    out.clear();
    if (!m_table.isOpen())
        return false;
    std::vector<uint32_t> recnos;
    if (!m_table.visibleRecnos(recnos).ok())
        return false;
    out = QVector<quint32>(recnos.begin(), recnos.end());
    return true;
}

bool TAddressTable::recordValues(quint32 recno, const QStringList &names, QStringList &out) const
{
    out.clear();
    std::string bytes;
    if (!m_table.storedRecord(recno, bytes).ok())
        return false;
    const xbase::RecordRef rec{bytes.data(), recno};
    const xbase::Schema &schema = m_table.schema();
    const auto stored = [&](const QString &name) {
        std::string text;
        const int index = schema.indexOf(name.toStdString());
        if (index < 0 || !m_table.fieldValue(rec, index, text).ok())
            return QString();
        return fromEngine(text);
    };
    out.reserve(names.size());
    for (const QString &name : names) {
        const TAddressField *field = TAddressSchema::field(name);
        out.append(field ? fieldText(*field, stored) : QString());
    }
    return true;
}

bool TAddressTable::isTagged() const
{
    if (!hasRecord() && !m_table.isEditing())
        return false;
    return TCalcFields::Tagged(storedValue(QStringLiteral("TAG")), m_globalTagId);
}

TResult TAddressTable::setValue(const QString &name, const QString &text)
{
    if (!m_table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    if (!m_table.isEditing()) {
        const xbase::Status locked = m_table.lockRecord();
        if (!locked.ok())
            return TResult::fromStatus(locked);
    }
    const xbase::Status s = m_table.setFieldValue(std::string_view(name.toStdString()), toEngine(text));
    return TResult::fromStatus(s);
}

TResult TAddressTable::post()
{
    if (!m_table.isEditing())
        return TResult::success();
    const xbase::Status s = m_table.post();
    announce();
    return TResult::fromStatus(s);
}

void TAddressTable::cancelEdit()
{
    if (!m_table.isEditing())
        return;
    m_table.cancelEdit();
    announce();
}
