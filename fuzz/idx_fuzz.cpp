// Opens arbitrary bytes as a compact single-tag index held in memory, walks it every way, runs
// the check, then inserts and removes a few entries and checks again.
#include "CdxFile.h"

#include <cstdint>
#include <string>

namespace {

void walk(xbase::IndexTag &tag)
{
    using namespace xbase;
    uint64_t n = 0;
    if (!tag.scan({}, {}, false, true, [&](std::string_view, uint32_t) { return ++n < 100000; }).ok())
        return;
    // Every call below may answer Corruption on a damaged tree; the walk goes on regardless.
    (void)tag.count(n);
    IndexEntry e;
    bool found = false;
    int steps = 0;
    for (Status s = tag.last(e, found); s.ok() && found && steps < 300; ++steps) {
        const IndexEntry from = e;
        s = tag.prev(from, e, found);
    }
    (void)tag.lowerBound("M", e, found);
    (void)tag.scan("B", "N", true, false, [](std::string_view, uint32_t) { return true; });
    std::vector<std::string> faults;
    (void)tag.check(faults);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace xbase;
    std::unique_ptr<IdxFile> idx;
    if (!IdxFile::openFromMemory(std::string(reinterpret_cast<const char *>(data), size), false, idx).ok())
        return 0;
    IndexTag &tag = *idx->tag();
    walk(tag);
    const size_t keyLength = tag.spec().keyLength;
    for (uint32_t r = 1; r <= 60; ++r) {
        const std::string key(keyLength, static_cast<char>('A' + r % 7));
        if (!tag.insert(key, r * 977).ok())
            break;
    }
    for (uint32_t r = 1; r <= 60; r += 2)
        (void)tag.remove(std::string(keyLength, static_cast<char>('A' + r % 7)), r * 977); // may be absent
    walk(tag);
    (void)idx->flush(); // refused for a file found damaged
    return 0;
}
