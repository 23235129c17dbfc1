// Appends imported records to an open address file: drops its index file first so the records
// are not indexed one by one, cuts each value to its field's width as typing does (counting the
// cuts), and rebuilds the 26 tags at the end. One run owns one sink over the table it is given.
#pragma once

#include "TBatchWriter.h"
#include "TResult.h"

#include "Progress.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TAddressTable;
struct TImportOutcome;

// The index rebuild's bar: while the tags are built, the sum of all rises of the percentage the
// engine reports for each tag, divided by 18 and rounded, never more than 100.
class TImportGauge : public xbase::ProgressHook
{
public:
    explicit TImportGauge(std::function<void(int)> show) : m_show(std::move(show)) {}
    bool report(int percent) override;
    int position() const { return m_position; }

private:
    std::function<void(int)> m_show;
    int m_last = 0;
    long m_rises = 0;
    int m_position = -1;
};

// The batches of records go to the file on a thread of their own (TBatchWriter) while the next
// batch is read and filled; a batch's write error is answered by the next post that hands a
// batch over, or by end().
class TImportSink
{
public:
    // Requires: `table` is open (exclusively, or as the main window's own table).
    explicit TImportSink(TAddressTable &table);
    ~TImportSink();
    TImportSink(const TImportSink &) = delete;
    TImportSink &operator=(const TImportSink &) = delete;

    // Lifts the query and closes and deletes the index file.
    TResult begin();
    // Starts a new blank record.
    TResult append();
    // Sets field `index` (engine order) of the new record to Windows-1252 `bytes`, cut to the
    // field's width; an empty value leaves the field as the append made it.
    TResult set(int index, std::string_view bytes);
    // The memo text, stored as it is.
    TResult setMemo(int index, std::string_view bytes);
    // Adds the new record to the records waiting to be written, and hands them to the writing
    // thread when they fill a batch; a failure is the write error of the batch handed over
    // before (its records are not in the file, nor are those waiting: nothing more is written).
    TResult post();
    // Drops a record appended but not posted.
    void cancel();
    // Ends the record being imported: posts it when `filled` (the result of filling it) is ok
    // and counts it in `out`; otherwise, or when the post fails, drops it and marks `out` as
    // ended by that write error. False when the import must stop.
    bool finish(TResult filled, TImportOutcome &out);
    // Writes the records still waiting (a failure marks `out` as ended by it, with only the
    // records in the file counted), puts the cut count into `out` and rebuilds the 26 tags,
    // whatever came before, into out.rebuild.
    void end(TImportOutcome &out, xbase::ProgressHook *progress);
    // Builds the 26 tags again, whatever came before.
    TResult rebuild(xbase::ProgressHook *progress);

    qint64 cutValues() const { return m_cut; }
    // Records this sink has written into the file (waits for the batch being written).
    qint64 written();

private:
    TResult flushBatch();
    char *current() { return &m_batch.records[m_batch.records.size() - m_recordLength]; }

    TAddressTable &m_table;
    qint64 m_cut = 0;
    size_t m_recordLength = 0;
    // Posted records not handed over yet, then the record being filled when m_filling.
    TRecordBatch m_batch;
    bool m_filling = false;
    // The memos of the record being filled: written when it is posted, before the record.
    std::vector<std::pair<int, std::string>> m_memos;
    std::unique_ptr<TBatchWriter> m_writer;
};
