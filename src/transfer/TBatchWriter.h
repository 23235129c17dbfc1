// Appends batches of records to a table on a thread of its own, so the next batch is read and
// filled while the last one goes to the file: one batch at a time, in the order handed over,
// each batch's memos first (its records then point at their blocks), then its records in one
// bulk append. After a failure nothing more is written and every later call answers it.
// Until wait() has answered, only the writing thread may change the table; others may read its
// structure (schema, record length) and fill records with putField().
#pragma once

#include "Status.h"

#include <QtGlobal>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace xbase {
class Table;
}

// Records one after another (the target's record length each), with the memos to write.
struct TRecordBatch {
    struct Memo {
        uint32_t record = 0; // place of the record in the batch
        int field = 0;
        std::string text;
    };
    std::string records;
    uint32_t count = 0;
    std::vector<Memo> memos;

    void clear()
    {
        records.clear();
        count = 0;
        memos.clear();
    }
};

class TBatchWriter
{
public:
    // Requires: `target` is open exclusively, without an index open, and outlives the writer.
    explicit TBatchWriter(xbase::Table &target);
    // Waits for the batch being written.
    ~TBatchWriter();
    TBatchWriter(const TBatchWriter &) = delete;
    TBatchWriter &operator=(const TBatchWriter &) = delete;

    // Waits for the batch before; when it was written, takes `batch` to write and leaves
    // `batch` empty (with the buffers of the one before, for reuse), else answers its failure
    // and leaves `batch` as it was.
    xbase::Status handOver(TRecordBatch &batch);
    // Waits until the batch handed over is written; the first failure, if any.
    xbase::Status wait();
    // Records written into the file so far (after wait(): all of them).
    qint64 written();
    // Records of the batches taken by handOver(), written or being written. Only for the
    // thread that hands the batches over.
    qint64 handed() const { return m_handed; }

private:
    void run();
    xbase::Status write(uint32_t &stored);

    xbase::Table &m_target;
    std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_done;
    TRecordBatch m_batch;
    bool m_busy = false;
    bool m_stop = false;
    xbase::Status m_failure;
    qint64 m_written = 0;
    qint64 m_handed = 0;  // touched only by the handing thread
    std::thread m_thread; // last: started once the members it uses are made
};
