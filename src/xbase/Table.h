// An open table: the DBF file with its memo file, its production compound index and an
// optional temporary single-tag index, a current record, an order, a scope, a query and the
// settings that decide which records moves can see. Every file goes through the file
// environment the table was opened with. The caller owns each Table; one table object is one
// work area.
#pragma once

#include "CdxFile.h"
#include "DbfFile.h"
#include "Env.h"
#include "Expression.h"
#include "Field.h"
#include "MemoFile.h"
#include "Progress.h"
#include "RecordBitmap.h"
#include "Status.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace xbase {

/// How a table is opened. Exclusive holds an operating-system lock that makes every other
/// opener (another process, or a second Table in this one) fail with Locked; header writes
/// then wait for flush() or close() (see DbfFile::setDeferredHeader). Shared lets other
/// shared and read-only openers in: every post takes a lock on the end of the files and
/// rereads the count, the memo file's next free block and the index first, and edits lock
/// their record. ReadOnly never writes.
enum class OpenMode { Exclusive, Shared, ReadOnly };

/// One tag to build: name, key expression and an optional FOR condition.
struct TagDefinition {
    std::string name;
    std::string keyExpr;
    std::string forExpr;
};

/// Facts of an open table's files as their headers state them.
struct TableInfo {
    uint8_t version = 0;                          ///< DBF byte 0
    std::array<uint8_t, 3> lastUpdate{{0, 1, 1}}; ///< year - 1900, month, day
    uint32_t records = 0;                         ///< whole records the file holds
    uint32_t claimedRecords = 0;                  ///< the header's count (differs for a short file)
    uint16_t headerLength = 0;
    uint16_t recordLength = 0;
    uint8_t flags = 0;        ///< byte 28: bit 0 set when a production index belongs to the table
    uint8_t codePageMark = 0; ///< byte 29; 0 when the file names none
    int codePage = 0;         ///< the code page the mark names (437, 850, 1252, ...); 0 unknown
    std::string memoPath;     ///< "" without a memo file
    bool memoIsDbt = false;   ///< a dBase memo file (.DBT) rather than a FoxPro one (.FPT)
    uint32_t memoBlockSize = 0;
    uint32_t memoNextFree = 0;
    std::string indexPath; ///< the production index, "" when none is open
};

/// What Table::check() found.
struct CheckReport {
    std::vector<std::string> faults; ///< damage, one line each
    std::vector<std::string> notes;  ///< sound, but wanting attention, one line each
};

class Table
{
public:
    Table();
    ~Table();
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    // ---- Files -------------------------------------------------------------------------

    /// Creates an empty table with `fields` in that order (types C N L D M), and its memo file
    /// when a field is a memo, in `env`. No index is created. Replaces a table of that name
    /// with its memo file and production index; the new files are written under another name
    /// first, so a failure leaves no half-made table behind.
    static Status create(Env &env, const std::string &path, const std::vector<FieldDescriptor> &fields);
    static Status create(const std::string &path, const std::vector<FieldDescriptor> &fields)
    {
        return create(Env::posix(), path, fields);
    }
    /// Opens `path` in `env` with its memo file (.FPT, or .DBT for dBase tables) and, when byte
    /// 28 says so or a same-named .CDX exists, its production index. `alias` defaults to the
    /// file name without extension. On failure the table stays closed. Locked when another
    /// opener holds the file. A pack or zap that was stopped after its new files were complete
    /// is finished first (a read-only opener reads those files instead). Tables with a .DBT
    /// memo file open read-only only. An exclusive opener writes overwrites of records to a
    /// journal beside the table first (NAME.JNL, gone after flush()), and completes one a
    /// stopped writer left. A table already open is closed first; should that close fail, its
    /// failure is reported and nothing is opened.
    Status open(Env &env, const std::string &path, OpenMode mode, const std::string &alias = {});
    Status open(const std::string &path, OpenMode mode, const std::string &alias = {})
    {
        return open(Env::posix(), path, mode, alias);
    }
    /// Flushes the indexes and closes every file. An unposted edit is dropped. The table is
    /// closed also when the flush fails; the failure is reported.
    Status close();
    bool isOpen() const { return m_dbf != nullptr; }
    const std::string &path() const { return m_path; }
    const std::string &alias() const { return m_alias; }
    OpenMode mode() const { return m_mode; }
    /// The environment of the files opened last (Env::posix() before the first open).
    Env &env() const { return *m_env; }
    const Schema &schema() const;
    /// Facts of the open files' headers (all zero while closed).
    TableInfo info() const;
    /// The code page a DBF code page mark names (byte 29): 437, 850, 1252 and so on; 0 for
    /// none or a mark this engine does not know.
    static int codePageOf(uint8_t mark);
    /// True while a production index file is open (it may hold no tags).
    bool hasIndexFile() const { return m_cdx != nullptr; }
    /// Writes the deferred record count, date and next free memo block, and what the indexes
    /// hold pending, and marks the indexes consistent. close() does it too; a program that
    /// keeps a table open for long calls it when idle, so other programs see the true count.
    Status flush();

    // ---- Settings ----------------------------------------------------------------------

    /// Hides records bearing the delete mark from moves, seeks, queries and counts (on by
    /// default).
    void setDeletedHidden(bool hidden);
    bool isDeletedHidden() const { return m_deletedHidden; }
    /// Exact comparison of "=" in queries (off by default).
    void setExact(bool exact);
    bool isExact() const { return m_eval.exact; }
    /// A seek that fails stays on the next key instead of going to the end (off by default).
    void setSoftSeek(bool soft) { m_softSeek = soft; }
    bool isSoftSeek() const { return m_softSeek; }

    /// Turbo read, for whole-file passes: moves read blocks of records ahead instead of one
    /// record per read. Off by default; a shared opener ignores it (others may write).
    void setTurboRead(bool on);
    bool isTurboRead() const { return m_turboRead; }

    // ---- Orders and tags ---------------------------------------------------------------

    /// Orders 1..tagCount() are the production index's tags in directory order; a temporary
    /// index, while open, is order tagCount() + 1.
    int tagCount() const;
    /// Order of the tag named `name` (any case), 0 when absent.
    int tagOrder(std::string_view name) const;
    /// Name, key and FOR text of order `order` (1-based). Empty for an invalid order.
    TagSpec tagSpec(int order) const;
    /// 0 = record order. Keeps the current record. NotFound for an invalid order.
    Status setOrder(int order);
    Status setOrder(std::string_view tagName);
    int order() const { return m_order; }
    /// The file that holds the current order ("" in record order).
    std::string indexFileName() const;
    /// Restricts moves in the current order to keys whose prefix lies between `lo` and `hi`
    /// (each compared on its own length). Two empty values clear the scope.
    Status setScope(std::string_view lo, std::string_view hi);
    /// Adds one tag to the production index (created when missing) and builds it.
    Status addTag(const TagDefinition &tag, ProgressHook *progress = nullptr);
    /// Adds many tags reading the records once. Each tag's build reports 0..100 in turn.
    Status addTags(const std::vector<TagDefinition> &tags, ProgressHook *progress = nullptr);
    Status removeTag(std::string_view name);
    /// Closes the production index; with `deleteFile` the .CDX is removed and byte 28 cleared.
    Status closeIndexes(bool deleteFile);
    /// Rebuilds every tag of the production index from the records, reporting 0..100 once for
    /// the whole run.
    Status reindex(ProgressHook *progress = nullptr);
    /// True when the production index was left in the middle of an update and wants rebuilding.
    bool indexNeedsRebuild() const { return m_indexInterrupted || !m_indexError.empty(); }
    /// Why the production index could not be opened ("" when it opened or is absent). The
    /// table then has no tags; adding tags creates a new index in place of the damaged one.
    const std::string &indexError() const { return m_indexError; }

    /// Creates an empty single-tag index at `path` on `keyExpr` and makes it the current order.
    Status createTempIndex(const std::string &path, std::string_view keyExpr);
    /// Adds the current record's key to the temporary index.
    Status keyAdd();
    /// Closes the temporary index, removing its file when `deleteFile`.
    Status closeTempIndex(bool deleteFile);

    // ---- Moves -------------------------------------------------------------------------

    Status goTop();
    Status goBottom();
    /// Moves n visible records forward (negative: back); stops at eof / bof.
    Status skip(int64_t n = 1);
    /// Goes to record `recno` whatever the order, scope and filters say. Past the last
    /// record: eof. NotFound for 0.
    Status go(uint32_t recno);
    /// Current record number; recordCount() + 1 at eof.
    uint32_t recno() const { return m_recno; }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    /// Records in the file, marked ones included.
    uint32_t recordCount() const;
    /// Seeks `key` in the current order: lands on the first visible entry whose key begins
    /// with `key` (a prefix test whatever Exact says; give the whole padded key for an exact
    /// match). `found` says whether it matched; on failure the table is at eof, or with soft
    /// seek on the next key.
    Status seek(std::string_view key, bool &found);
    bool found() const { return m_found; }

    // ---- The current record ------------------------------------------------------------

    /// The current record as stored (the edit buffer while editing). Blank at eof.
    RecordRef record() const;
    bool isDeleted() const { return record().isDeleted(); }
    /// Field value as text: C without trailing blanks, N and F trimmed, L "T"/"F" ("" when
    /// blank), D "YYYYMMDD", M the memo text; other types the stored bytes.
    Status fieldValue(std::string_view name, std::string &out) const;
    Status fieldValue(int index, std::string &out) const;
    /// The same for the field at `index` of other record bytes (from storedRecord()).
    /// Requires: `rec.data` holds a whole record of this table.
    Status fieldValue(const RecordRef &rec, int index, std::string &out) const;
    /// The bytes of record `recno` as stored, whatever the order, scope, query, deleted setting
    /// and current record say; an edit in progress is neither seen nor disturbed. NotFound for
    /// a number outside 1..recordCount().
    Status storedRecord(uint32_t recno, std::string &out) const;
    /// A logical field: true for T t Y y.
    Status logicalValue(std::string_view name, bool &out) const;
    /// The memo text of a memo field of the current record.
    Status memo(std::string_view name, std::string &out) const;

    // ---- Editing -----------------------------------------------------------------------

    /// Locks the current record and starts an edit of it.
    Status lockRecord();
    bool isEditing() const { return m_editing; }
    /// Starts a new blank record, appended when posted.
    Status appendBlank();
    /// Sets a field of the record being edited (an edit starts when none is running): C is
    /// padded or cut to its width, N right-aligned, L from T/F/Y/N, D eight digits or blank,
    /// M the memo text. InvalidArgument when the value does not fit.
    Status setFieldValue(std::string_view name, std::string_view value);
    /// The same for the field at `index` in schema order.
    Status setFieldValue(int index, std::string_view value);
    Status setLogical(std::string_view name, bool value);
    /// Fills field `index` of the record bytes `data` (recordLength() of them) by the rules of
    /// setFieldValue(); InvalidArgument for a memo field (see putMemo()) or a value that does
    /// not fit, the bytes then unchanged.
    Status putField(char *data, int index, std::string_view value) const;
    /// Writes the edited record (memo blocks first, then the record, then the header count
    /// for a new one; the tags after), updates every tag whose key changed, unlocks. A changed
    /// memo always goes to new blocks, so a process stopped at any point leaves each record
    /// with its old or its new memo, never a mix.
    Status post();
    /// Drops the edit and unlocks.
    void cancelEdit();
    /// Sets / clears the delete mark of the current record and posts it.
    Status deleteRecord();
    Status recall();

    // ---- Bulk work ---------------------------------------------------------------------

    /// Stores `text` in new memo blocks and points memo field `index` of the record bytes
    /// `data` at them ("" points at none). The blocks are gathered and written together by the
    /// next appendRecords() before its records, so a stopped writer leaves unused blocks at
    /// worst.
    Status putMemo(char *data, int index, std::string_view text);
    /// The texts of memo field `index` of `count` records' bytes (`records`, one after
    /// another), into `out`, neighbouring memos read together.
    Status memoTexts(const char *records, size_t count, int index, std::vector<std::string> &out) const;
    /// The bytes of one record (the delete mark included); 0 when no table is open.
    uint32_t recordLength() const;
    /// Appends `count` whole records (recordLength() bytes each, the delete mark first) in one
    /// write, the record count following once. Requires: the table opened exclusively, no edit
    /// running and no index open (the tags are built afterwards, all at once). A failure
    /// leaves the table holding the records it held before.
    Status appendRecords(const char *data, uint32_t count);
    /// Keeps the first `count` records and removes the rest, e.g. those appended by a run that
    /// failed. Requires what appendRecords() requires. The current record becomes eof when
    /// it was removed.
    Status truncateRecords(uint32_t count);
    /// The bytes of the records `recnos` (any numbers of 1..recordCount(), any order) as
    /// stored, one after another in the order given, into `out` (count * recordLength()
    /// bytes). Neighbouring records are read together. NotFound for a number out of range.
    Status storedRecords(const uint32_t *recnos, size_t count, char *out) const;

    // ---- Maintenance -------------------------------------------------------------------

    /// Removes every marked record for good, rewrites the memo file with only the memos of
    /// the kept records, packed together, and carries the tags over (rebuilt when the index
    /// was left mid-update). New files are written beside the old ones and take their place
    /// in one step: a failure leaves the table as it was, or, past the point where every new
    /// file was complete, packed (the next open finishes the renames). Reports 0..100.
    /// Requires the table opened exclusively. Leaves the table at its first record.
    Status pack(ProgressHook *progress = nullptr);
    /// Removes every record and empties the memo file and the tags, the same way as pack.
    Status zap();
    /// Creates an empty table at `path` with the same fields, in the same environment.
    Status copyStructure(const std::string &path, ProgressHook *progress = nullptr) const;
    /// Creates a table at `path` with the same fields holding the records moves can see, in
    /// the current order (query, scope and deleted setting apply; delete marks are copied),
    /// memos included; no index. Reports 0..100; a cancel or a failure removes the new files.
    /// Leaves this table on the record it was on.
    Status copyTo(const std::string &path, ProgressHook *progress = nullptr);

    // ---- Queries -----------------------------------------------------------------------

    /// Shows only records for which `expr` holds; empty lifts the query. InvalidArgument (with
    /// the position) for an expression that does not compile; the old query then stays.
    Status setQuery(std::string_view expr);
    /// Shows only the records the user can see: hides marked records (setDeletedHidden(true))
    /// and, when the table has a logical ISDEL field, records whose ISDEL is true, and applies
    /// `filter` as well when it is not empty. The query becomes visibleQueryFor(filter).
    /// InvalidArgument when `filter` does not compile; the old query then stays.
    Status setVisibleQuery(std::string_view filter);
    /// The query setVisibleQuery() sets: "!ISDEL" for an empty filter, otherwise the filter
    /// followed by ".and. !ISDEL" (in parentheses first when its top level is an .or., so the
    /// ISDEL test applies to all of it); the filter alone without an ISDEL field.
    std::string visibleQueryFor(std::string_view filter) const;
    /// The active query text ("" when none).
    const std::string &queryText() const { return m_queryText; }
    /// Visible records under the query, the deleted setting and the scope-free record order.
    Status queryCount(uint64_t &out);
    /// The record numbers goTop() and skip(1) would visit, in that order: the current order
    /// with its scope (record order without one), the query and the deleted setting apply.
    /// Walks the order's entries and answers each record from the query's bitmap (or, without
    /// a query, from a DELETED() tag for the delete marks); records neither can answer are
    /// read. Leaves the current record and an edit in progress as they are.
    Status visibleRecnos(std::vector<uint32_t> &out);
    /// Evaluates `expr` on the current record.
    Status evaluate(std::string_view expr, Value &out) const;
    Status evalLogical(std::string_view expr, bool &out) const;

    // ---- Checks ------------------------------------------------------------------------

    /// Verifies the header, every memo pointer and every tag against the records: one line
    /// per fault in `report.faults`, and in `report.notes` what is sound but worth doing
    /// something about (keys another program built with an upper case that leaves accented
    /// letters small: seeks with this engine's keys miss them until a reindex).
    Status check(CheckReport &report, ProgressHook *progress = nullptr);
    /// The same, appending the faults only.
    Status check(std::vector<std::string> &faults, ProgressHook *progress = nullptr);

private:
    struct OpenTag;
    // The files of the table at a path: the DBF, its memo file and its production index.
    struct FileSet {
        std::string dbf;
        std::string memo;
        std::string index;
        bool memoIsDbt = false;
    };
    // Pack and zap write their new files under the old names with this ending; the new DBF
    // is renamed to the second ending once every new file is complete, and that name marks
    // the moment from which the new files replace the old ones.
    static constexpr const char *kSwapNew = ".new";
    static constexpr const char *kSwapDone = ".done";
    // New tables are written under a name beside the one asked for ("NAME$.DBF") and put in
    // place whole by putInPlace().
    static std::string stagingPath(const std::string &path);
    static bool hasMemoField(const std::vector<FieldDescriptor> &fields);
    // Creates the files of an empty table; on failure none is left behind.
    static Status createFiles(Env &env, const std::string &path, const std::vector<FieldDescriptor> &fields);
    // Replaces the table at `path` (its DBF, memo file and production index) by the one at
    // `staging`; on failure the staged files are removed.
    static Status putInPlace(Env &env, const std::string &staging, const std::string &path, bool hasMemo);
    static FileSet filesOf(Env &env, const std::string &path);
    // Puts complete new files in the places of the old ones, the DBF last.
    static Status finishSwap(Env &env, const FileSet &files);

    Status openIndexes(const std::string &path, bool readOnly);
    void compileTag(IndexTag *tag, OpenTag &out) const;
    // The production tags compiled again after the index's tag list changed (or the index
    // went), the temporary index kept last; the order goes back to the tag named `orderName`
    // (record order when it is gone), or to the temporary index when `temporaryOrder`.
    void reloadTags(const std::string &orderName, bool temporaryOrder);
    // The current order's tag name ("" in record order or on the temporary index).
    std::string orderTagName() const;
    bool isTemporaryOrder() const;
    OpenTag *currentTag();
    const OpenTag *currentTag() const;
    Status loadRecord(uint32_t recno);
    void setEof();
    void setBof();
    bool passesFilters(const char *data, uint32_t recno) const;
    bool inScope(std::string_view key) const;
    Status firstVisibleInOrder(bool forward, bool &landed);
    Status stepInOrder(bool forward, bool &landed);
    Status stepInRecordOrder(bool forward, bool &landed);
    Status syncEntry();
    Status updateTags(const std::string &oldData, const std::string &newData, uint32_t recno, bool isNew);
    // Takes the keys of a record that was never written out of every tag again.
    Status removeKeys(const std::string &data, uint32_t recno);
    // The tags may no longer match the records: the index file says so until it is rebuilt.
    void indexLeftBehind();
    // Builds `tags` from the records, reading them once. Into the open production index (one
    // is created when none is open), or with `intoNewFile` into a new index file that then
    // replaces the production index in one step (a failure leaves the old one as it was).
    Status buildTags(const std::vector<TagDefinition> &tags, ProgressHook *progress, bool perTag,
                     bool intoNewFile);
    // Writes the files pack (or, with `keepNone`, zap) leaves behind beside the old ones and
    // puts them in their places; see pack().
    Status rewrite(bool keepNone, ProgressHook *progress);
    // True when one pair of parentheses holds the whole of `text` (string literals skipped).
    static bool enclosedInParentheses(std::string_view text);
    // InvalidArgument when a field has a type this engine does not create.
    Status copyableFields() const;
    // Opens the table's files again after they were replaced, with the settings, order,
    // query and temporary index it had.
    Status reopen();
    Status rebuildQuery();
    // Rebuilds the query's bitmap after a setting changed what it answers.
    void requery();
    Status refreshShared();
    bool queryBit(uint32_t recno) const;
    IndexTag *deletedMarkTag() const;
    Status visibleSet(RecordBitmap &shown);
    void setQueryBit(uint32_t recno, bool on);
    Status memoBlock(const char *data, const FieldDescriptor &f, uint32_t &block) const;
    void putMemoBlock(char *data, const FieldDescriptor &f, uint32_t block) const;
    std::string cdxPath() const;
    uint64_t recordLockOffset(uint32_t recno) const { return 0x40000001ull + recno; }

    Env *m_env;
    std::unique_ptr<DbfFile> m_dbf;
    std::unique_ptr<MemoFile> m_memo;
    std::unique_ptr<CdxFile> m_cdx;
    std::unique_ptr<IdxFile> m_idx;
    std::string m_idxPath;
    std::vector<std::unique_ptr<OpenTag>> m_tags; // production tags, then the temporary one
    std::string m_path;
    std::string m_alias;
    OpenMode m_mode = OpenMode::Exclusive;
    bool m_indexInterrupted = false;
    std::string m_indexError;

    bool m_deletedHidden = true;
    bool m_turboRead = false;
    std::string m_readAhead; // records m_readAheadFirst .. + m_readAheadCount - 1
    uint32_t m_readAheadFirst = 0;
    uint32_t m_readAheadCount = 0;
    bool m_softSeek = false;
    EvalOptions m_eval;

    int m_order = 0;
    std::string m_scopeLo;
    std::string m_scopeHi;
    bool m_scoped = false;

    uint32_t m_recno = 0;
    bool m_eof = true;
    bool m_bof = true;
    bool m_found = false;
    std::string m_record;   // the current record's bytes
    std::string m_entryKey; // its key in the current order, as the tag holds it

    bool m_editing = false;
    bool m_appending = false;
    uint32_t m_lockedRecno = 0;
    std::string m_edit;
    std::map<int, std::string> m_memoEdits;

    std::string m_queryText;
    Expression m_query;
    std::vector<uint64_t> m_queryBits;
    uint32_t m_queryBitCount = 0; // records the bitmap covers
    bool m_queryActive = false;
};

} // namespace xbase
