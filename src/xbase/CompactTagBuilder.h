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

private:
    size_t m_keyLength;
    bool m_unique;
    Writer m_writer;
    std::shared_ptr<SortWorkspace> m_workspace;
    BulkArray<char> m_keys;
    BulkArray<uint32_t> m_recnos;
    bool m_badKey = false;
    bool m_outOfMemory = false;
    bool m_finished = false;
    bool m_sortedInput = false;
};

} // namespace xbase
