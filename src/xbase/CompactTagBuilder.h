// Collects the entries of a new tag in a flat buffer, sorts them and hands them to the
// writer the index file gave it. Made by CdxFile::addTag; must not outlive that file.
#pragma once

#include "BulkBuffer.h"
#include "CompactSort.h"
#include "IndexTag.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace xbase {

class CompactTagBuilder : public TagBuilder
{
public:
    // Writes the sorted entries (keys flat); reports progress from 30 to 99.
    using Writer =
        std::function<Status(const char *keys, const uint32_t *recnos, size_t n, ProgressHook *progress)>;

    // Builders made one after another may share `workspace` (the sort's room); null: own one.
    CompactTagBuilder(uint16_t keyLength, bool unique, Writer writer,
                      std::shared_ptr<SortWorkspace> workspace = nullptr);

    void reserve(size_t entries) override;
    void setSortedInput() override { m_sortedInput = true; }
    void add(std::string_view key, uint32_t recno) override;
    Status finish(ProgressHook *progress) override;

    // Gathering by two threads at once, into room the caller owns and keeps until finish():
    // `keys` (entries * keyLength bytes) and `recnos` (entries). The first records' entries
    // are put at the front in ascending record order by one thread, the last records' at the
    // back in descending record order by the other. Null `recnos`: every record gets an entry
    // and entry i is record i + 1. Requires: nothing added yet.
    void openBothEnds(size_t entries, char *keys, uint32_t *recnos);
    // Where the next key of that end goes (keyLength bytes); addFront()/addBack() then take it
    // with its record. Requires: fewer than `entries` entries in all.
    char *frontKey() { return m_roomKeys + m_front * m_keyLength; }
    void addFront(uint32_t recno)
    {
        if (m_roomRecnos)
            m_roomRecnos[m_front] = recno;
        ++m_front;
    }
    char *backKey() { return m_roomKeys + (m_back - 1) * m_keyLength; }
    void addBack(uint32_t recno)
    {
        --m_back;
        if (m_roomRecnos)
            m_roomRecnos[m_back] = recno;
    }
    // Joins the two ends: the entries are then one run in record order.
    void closeBothEnds();

    // finish() in two steps, so the sort may run on another thread: sortInto() orders the
    // entries into `workspace` (which nothing else may use until finish() has written them)
    // and touches nothing the builders share; finish() on the index file's thread then
    // writes them. A failure of the sort is reported by finish().
    void sortInto(SortWorkspace &workspace);
    // The room the builders of one run share.
    SortWorkspace &sharedWorkspace() { return *m_workspace; }

private:
    size_t m_keyLength;
    bool m_unique;
    Writer m_writer;
    std::shared_ptr<SortWorkspace> m_workspace;
    BulkArray<char> m_keys;
    BulkArray<uint32_t> m_recnos;
    // The caller's room (null: the entries are in m_keys and m_recnos).
    char *m_roomKeys = nullptr;
    uint32_t *m_roomRecnos = nullptr;
    size_t m_roomCount = 0;
    size_t m_front = 0; // entries at the front, while gathered from both ends
    size_t m_back = 0;  // index of the first entry at the back
    SortWorkspace *m_sortedIn = nullptr;
    bool m_sortFailed = false;
    bool m_badKey = false;
    bool m_outOfMemory = false;
    bool m_finished = false;
    bool m_sortedInput = false;
};

} // namespace xbase
