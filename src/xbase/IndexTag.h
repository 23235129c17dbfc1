// One ordered tag of an index file: a compact B-tree of (key bytes, record number) entries in
// ascending memcmp order of the key, equal keys by record number. CdxFile holds many tags,
// IdxFile exactly one; both hand out IndexTag so the table treats them alike.
#pragma once

#include "Progress.h"
#include "Status.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace xbase {

/// What a tag indexes, as stored in the file.
struct TagSpec {
    std::string name;    ///< upper case, at most 10 characters (empty for an IDX)
    std::string keyExpr; ///< stored expression text
    std::string forExpr; ///< FOR condition text, empty when none
    char keyType = 'C';  ///< 'C' character, 'N' numeric or date (8 bytes), 'L' logical
    uint16_t keyLength = 0;
    bool descending = false;
    bool unique = false;
};

/// One entry of a tag. Character keys come back padded with blanks to keyLength.
struct IndexEntry {
    std::string key;
    uint32_t recno = 0;
};

class IndexTag
{
public:
    virtual ~IndexTag() = default;

    virtual const TagSpec &spec() const = 0;

    /// First/last entry; `found` false when the tag is empty.
    virtual Status first(IndexEntry &out, bool &found) = 0;
    virtual Status last(IndexEntry &out, bool &found) = 0;
    /// The entry after / before (key, recno) in tag order, which need not exist itself.
    virtual Status next(const IndexEntry &from, IndexEntry &out, bool &found) = 0;
    virtual Status prev(const IndexEntry &from, IndexEntry &out, bool &found) = 0;
    /// First entry whose key, compared on key.size() bytes (a short key is a prefix), is not
    /// less than `key`; `found` false at the end. The caller decides whether it matches.
    virtual Status lowerBound(std::string_view key, IndexEntry &out, bool &found) = 0;

    /// Calls `visit` for every entry from the first whose key (prefix-compared as in
    /// lowerBound) is >= `lo` while the key's first hi.size() bytes are <= `hi` (when
    /// hiInclusive) or < `hi`. An empty `lo` starts at the first entry; `unboundedHi` ignores
    /// `hi`. `visit` returns false to stop early; it must not change this tag.
    virtual Status scan(std::string_view lo, std::string_view hi, bool hiInclusive, bool unboundedHi,
                        const std::function<bool(std::string_view key, uint32_t recno)> &visit) = 0;

    /// Adds one entry. Requires: key.size() == spec().keyLength.
    virtual Status insert(std::string_view key, uint32_t recno) = 0;
    /// Removes the entry (key, recno). When no such entry is where `key` says (a key built by
    /// an engine with another upper-case rule), the entry with `recno` is found by a walk of
    /// the whole tag and removed. NotFound when the record has no entry at all.
    virtual Status remove(std::string_view key, uint32_t recno) = 0;

    /// Number of entries (a walk of the leaves).
    virtual Status count(uint64_t &out) = 0;

    /// Verifies the tree: node bounds, ascending order, interior keys equal to the last entry
    /// of each child, leaves at one depth, the sibling chains, no page reached twice. Adds one
    /// message per fault to `faults`; the Status fails only when the walk cannot go on.
    virtual Status check(std::vector<std::string> &faults)
    {
        (void)faults;
        return Status::Ok();
    }

    /// Sets the key type the file does not record: the owner knows it from the compiled key
    /// expression. It decides the byte that fills dropped trailing bytes (blank for 'C' and
    /// 'L', NUL for 'N'). Opening guesses it from the key length and expression text.
    virtual void setKeyType(char type) { (void)type; }
};

/// Collects the entries of a new tag, then sorts and writes them in one pass.
class TagBuilder
{
public:
    virtual ~TagBuilder() = default;
    /// Room for `entries` entries, when the caller knows the count up front.
    virtual void reserve(size_t entries) { (void)entries; }
    /// Says the entries will come in tag order (keys ascending, equal keys by record number),
    /// so finish() writes them without sorting. Call before the first add().
    virtual void setSortedInput() {}
    /// Requires: key.size() == keyLength of the spec the builder was made for.
    virtual void add(std::string_view key, uint32_t recno) = 0;
    /// Sorts and writes the tag; reports 0..100 to `progress` when given.
    virtual Status finish(ProgressHook *progress) = 0;
};

} // namespace xbase
