#include "CompactTagBuilder.h"

#include "CompactSort.h"

#include <cstring>

namespace xbase {

CompactTagBuilder::CompactTagBuilder(uint16_t keyLength, bool unique, Writer writer)
    : m_keyLength(keyLength), m_unique(unique), m_writer(std::move(writer))
{
}

void CompactTagBuilder::reserve(size_t entries)
{
    m_keys.reserve(entries * m_keyLength);
    m_recnos.reserve(entries);
}

void CompactTagBuilder::add(std::string_view key, uint32_t recno)
{
    if (key.size() != m_keyLength) {
        m_badKey = true;
        return;
    }
    m_keys.append(key.data(), key.size());
    m_recnos.push_back(recno);
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
    const size_t n = m_recnos.size();
    std::vector<uint32_t> order;
    sortIndexEntries(m_keys.data(), m_keyLength, m_recnos.data(), n, order);
    if (progress && !progress->report(20))
        return Status::InvalidArgument("Index build cancelled");
    std::string keys(n * m_keyLength, '\0');
    std::vector<uint32_t> recnos(n);
    size_t out = 0;
    for (size_t i = 0; i < n; ++i) {
        const char *key = m_keys.data() + static_cast<size_t>(order[i]) * m_keyLength;
        // A unique tag keeps the first record of each key.
        if (m_unique && out > 0 && std::memcmp(&keys[(out - 1) * m_keyLength], key, m_keyLength) == 0)
            continue;
        std::memcpy(&keys[out * m_keyLength], key, m_keyLength);
        recnos[out] = m_recnos[order[i]];
        ++out;
    }
    std::string().swap(m_keys);
    std::vector<uint32_t>().swap(m_recnos);
    if (progress && !progress->report(30))
        return Status::InvalidArgument("Index build cancelled");
    XBASE_TRY(m_writer(keys.data(), recnos.data(), out, progress));
    if (progress)
        progress->report(100);
    return Status::Ok();
}

} // namespace xbase
