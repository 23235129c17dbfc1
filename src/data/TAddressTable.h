// The one open address file of the run: the engine table with the address fields read as
// QString, the calculated fields, the current record, order and query. The main window owns the
// one instance (its TableCVW) and hands it to every window it opens; those windows work on it
// and give it back. One object stands for the table, its data source, the engine component and
// the engine environment (TableCVW, DataSourceCVW, Engine1, EngineEnv1). Also the address-file
// operations: create, open, check and rebuild.
//
// Every change of the current record (moves, open, close, post) is announced by
// recordChanged() unless the display is frozen; unfreezing announces it once.
#pragma once

#include "TResult.h"

#include "Progress.h"
#include "Table.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

struct TAddressField;
class TFieldLengths;
class TRebuildGauge;

class TAddressTable : public QObject
{
    Q_OBJECT

public:
    explicit TAddressTable(QObject *parent = nullptr);
    ~TAddressTable() override;

    // ---- Files ----------------------------------------------------------------------

    // Creates the address file at `path` with the 23 fields (the sized ones from `lengths`)
    // and its 26 tags, and leaves it closed. Messages: "Create failed" when the engine refuses
    // the creation, "File creation failed" when it cannot be opened or tagged afterwards.
    static TResult CreateAddressFile(const QString &path, const TFieldLengths &lengths);

    // Closes this table, then opens `path` exclusively (the name is found without regard to
    // case), clearing the order and taking each field's width from the file. A missing file
    // fails with NotFound and "File " + path + " not found"; a file lacking one of the 23
    // fields fails with Corruption and "The field " + name + " is missing"; any other failure
    // carries the engine's code and message. A failure leaves the table closed.
    TResult OpenTableFile(const QString &path);

    // Removes the production index file when one is open, then adds the 26 tags in order.
    // Fails with "Unable to create index files".
    TResult CreateAddressTags(xbase::ProgressHook *progress = nullptr);

    // True when all 26 tags are present (stops at the first missing one) and the index file
    // is sound: a damaged index file, or one left in the middle of an update, is invalid.
    bool CheckValidIndex() const;

    // The rebuild: the index file is removed, marked records are packed away for good (the
    // gauge in its packing phase) and the 26 tags are built again (indexing phase). Records
    // with ISDEL set but no delete mark stay. Fails with "Unable to create index files".
    TResult rebuild(TRebuildGauge &gauge);

    // Drops an unposted edit and closes the files. Announces the change.
    void close();

    bool isOpen() const { return m_table.isOpen(); }
    // The path as opened ("" when closed), its folder (with a trailing "/") and file name.
    const QString &path() const { return m_path; }
    QString folder() const;
    QString fileName() const;

    // The width of a stored field in the open file (SizeFieldsFromFile); before any file
    // opens, the default width. 0 for a name that is not an address field.
    int fieldWidth(const QString &name) const;

    // The engine table, for windows that walk records themselves.
    xbase::Table &engine() { return m_table; }

    // ---- Settings -------------------------------------------------------------------

    // The identifier that makes a record tagged.
    void setGlobalTagId(const QString &id) { m_globalTagId = id; }
    const QString &globalTagId() const { return m_globalTagId; }
    // FullName, FullNameWithPrefix and CityStateZip are filled only while these are on.
    void setCompositeFieldsOn(bool on) { m_compositeOn = on; }
    bool compositeFieldsOn() const { return m_compositeOn; }

    // ---- Display --------------------------------------------------------------------

    // Nested; recordChanged() is held back until the outermost unfreeze, which sends it once.
    void freeze();
    void unfreeze();
    bool isFrozen() const { return m_freeze > 0; }

    // ---- Order and query ------------------------------------------------------------

    // Orders the records by the tag (any case); an empty name gives record order. A tag
    // the index lacks fails (NotFound) and leaves the order unchanged.
    TResult setOrderTag(const QString &tagName);
    // The current tag's name ("" in record order).
    QString orderTag() const;
    // Shows only records for which `expr` holds; empty lifts the query. An expression the
    // engine refuses fails (InvalidArgument) and the old query stays. Goes to the first
    // visible record.
    TResult setQuery(const QString &expr);
    QString query() const;
    // Records the query and the delete marks let through.
    qint64 visibleCount();

    // ---- Moves ----------------------------------------------------------------------

    // Each answers success when a record is current afterwards. A move that finds no record
    // there answers NotFound and leaves the table where it was: next() at the last visible
    // record, prior() at the first, goTo() of a record that is not visible, first() and last()
    // on a file that shows nothing (the table is then at its end). Any other code is the
    // engine's failure with its message; the table then stays where it was when it can.
    // With no file open every move fails with InvalidArgument.
    TResult first();
    TResult last();
    TResult next();
    TResult prior();
    TResult goTo(quint32 recno);
    // Seeks `key` in the current order (a prefix test): lands on the first visible record whose
    // key begins with it. NotFound leaves the table at its end.
    TResult seek(const QString &key);
    // The key of the LNAME tag for a name: the last name padded (or cut) to the file's LNAME
    // width, then the first name padded to the FNAME width, both upper case as the engine
    // writes its keys. Seeking it finds exactly that name.
    QString nameKey(const QString &lname, const QString &fname) const;
    // A record is shown unless the table is at its end (an empty file, a query showing nothing).
    bool hasRecord() const;
    quint32 recno() const;

    // ---- The current record ---------------------------------------------------------

    // A stored field as text (C without trailing blanks, L "T"/"F", M the memo text) or a
    // calculated one (Tagged "Yes"/"No"). Empty when no record is shown or the name is unknown.
    QString value(const QString &name) const;
    QString memo() const { return value(QStringLiteral("MEMO")); }
    bool isTagged() const;

    // ---- Other records --------------------------------------------------------------

    // The record numbers of the visible records in the current order, as first() and next()
    // would visit them. Neither moves the current record nor touches an edit in progress.
    // False, with an empty list, when no file is open or the file cannot be read.
    bool visibleRecnos(QVector<quint32> &out);
    // The texts of `names` (stored or calculated fields, as value() gives them) for record
    // `recno` as stored, read without moving the current record or touching an edit in
    // progress. An unknown name gives an empty text. False, with `out` empty, when the record
    // does not exist or cannot be read.
    bool recordValues(quint32 recno, const QStringList &names, QStringList &out) const;

    // Editing the current record: setValue() starts an edit; post() writes it, cancelEdit()
    // drops it. Failures return the engine's message.
    bool isEditing() const { return m_table.isEditing(); }
    TResult setValue(const QString &name, const QString &text);
    TResult post();
    void cancelEdit();

signals:
    // The current record, or the open file, changed.
    void recordChanged();

private:
    void announce();
    QString storedValue(const QString &name) const;
    // The text of `field`, its stored values taken from `stored`.
    QString fieldText(const TAddressField &field,
                      const std::function<QString(const QString &)> &stored) const;

    xbase::Table m_table;
    QString m_path;
    QMap<QString, int> m_widths;
    QString m_globalTagId;
    bool m_compositeOn = false;
    int m_freeze = 0;
    bool m_pending = false;
};
