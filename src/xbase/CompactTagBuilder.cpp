#include "CompactTagBuilder.h"

#include "CompactSort.h"

#include <cstring>
#include <new>

namespace xbase {

CompactTagBuilder::CompactTagBuilder(uint16_t keyLength, bool unique, Writer writer,
                                     std::shared_ptr<SortWorkspace> workspace)
    : m_keyLength(keyLength), m_unique(unique), m_writer(std::move(writer)), m_workspace(std::move(workspace))
{
    if (!m_workspace)
        m_workspace = std::make_shared<SortWorkspace>();
}

void CompactTagBuilder::reserve(size_t entries)
{
    if (m_keys.size() == 0 && m_recnos.size() == 0) {
        m_keys.adopt(m_workspace->takeKeyBuffer());
        m_recnos.adopt(m_workspace->takeKeyBuffer());
    }
    if (!m_keys.reserve(entries * m_keyLength) || !m_recnos.reserve(entries))
        m_outOfMemory = true;
}

void CompactTagBuilder::add(std::string_view key, uint32_t recno)
{
    if (key.size() != m_keyLength) {
        m_badKey = true;
        return;
    }
    if (!m_keys.append(key.data(), key.size()) || !m_recnos.append(&recno, 1))
        m_outOfMemory = true;
}

void CompactTagBuilder::openBothEnds(size_t entries, char *keys, uint32_t *recnos)
{
    m_roomKeys = keys;
    m_roomRecnos = recnos;
    m_roomCount = entries;
    m_front = 0;
    m_back = entries;
}

void CompactTagBuilder::closeBothEnds()
{
    const size_t atBack = m_roomCount - m_back;
    if (m_back > m_front) {
        std::memmove(m_roomKeys + m_front * m_keyLength, m_roomKeys + m_back * m_keyLength,
                     atBack * m_keyLength);
        if (m_roomRecnos)
            std::memmove(m_roomRecnos + m_front, m_roomRecnos + m_back, atBack * sizeof(uint32_t));
    }
    m_roomCount = m_front + atBack;
    m_front = 0;
    m_back = 0;
}

void CompactTagBuilder::sortInto(SortWorkspace &workspace)
{
    if (m_sortedIn || m_badKey || m_outOfMemory || m_sortedInput)
        return;
    m_sortedIn = &workspace;
    try {
        m_sortFailed =
            m_roomKeys
                ? !sortIndexEntries(m_roomKeys, m_keyLength, m_roomRecnos, m_roomCount, workspace)
                : !sortIndexEntries(m_keys.data(), m_keyLength, m_recnos.data(), m_recnos.size(), workspace);
    } catch (const std::bad_alloc &) { // it may run on a thread of its own: nothing may escape
        m_sortFailed = true;
    }
}

Status CompactTagBuilder::finish(ProgressHook *progress)
{
    if (m_finished)
        return Status::InvalidArgument("Index build already finished");
    m_finished = true;
    if (m_badKey)
        return Status::InvalidArgument("Index build was given a key of the wrong length");
    if (progress && !progress->report(0))
        return Status::InvalidArgument("Index build cancelled");
    if (m_outOfMemory)
        return Status::IoError("Not enough memory to build the index");
    const size_t n = m_roomKeys ? m_roomCount : m_recnos.size();
    char *keys = m_roomKeys ? m_roomKeys : m_keys.data();
    uint32_t *recnos = m_roomKeys ? m_roomRecnos : m_recnos.data();
    if (!m_sortedInput) {
        sortInto(*m_workspace);
        if (m_sortFailed)
            return Status::IoError("Not enough memory to build the index");
        if (!m_roomKeys) {
            m_workspace->keyBuffers.push_back(m_keys.surrender());
            m_workspace->keyBuffers.push_back(m_recnos.surrender());
        }
        keys = m_sortedIn->keys.data();
        recnos = reinterpret_cast<uint32_t *>(m_sortedIn->recnos.data());
    }
    if (progress && !progress->report(20))
        return Status::InvalidArgument("Index build cancelled");
    size_t out = n;
    if (m_unique) { // a unique tag keeps the first record of each key
        out = 0;
        for (size_t i = 0; i < n; ++i) {
            const char *key = keys + i * m_keyLength;
            if (out > 0 && std::memcmp(keys + (out - 1) * m_keyLength, key, m_keyLength) == 0)
                continue;
            if (out != i) {
                std::memcpy(keys + out * m_keyLength, key, m_keyLength);
                recnos[out] = recnos[i];
            }
            ++out;
        }
    }
    if (progress && !progress->report(30))
        return Status::InvalidArgument("Index build cancelled");
    const Status written = m_writer(keys, recnos, out, progress);
    if (m_sortedInput) {
        m_workspace->keyBuffers.push_back(m_keys.surrender());
        m_workspace->keyBuffers.push_back(m_recnos.surrender());
    }
    XBASE_TRY(written);
    // The tag is written; a cancel this late has nothing left to stop.
    if (progress)
        (void)progress->report(100);
    return Status::Ok();
}

} // namespace xbase
