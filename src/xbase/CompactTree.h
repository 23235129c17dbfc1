// One compact B-tree of an index file: a 1024-byte header (root, key length, options,
// expression texts) and its 512-byte nodes. A CDX holds one per tag plus one for its tag
// directory; an IDX holds exactly one. Owned by the CdxFile or IdxFile whose pages it uses.
#pragma once

#include "CompactNode.h"
#include "IndexPageFile.h"
#include "IndexTag.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace xbase {

// Bits of the header's options byte.
constexpr uint8_t kOptionUnique = 0x01;
constexpr uint8_t kOptionFor = 0x08;
constexpr uint8_t kOptionCompact = 0x20;
constexpr uint8_t kOptionCompound = 0x40;

class CompactTree : public IndexTag
{
public:
    CompactTree(IndexPageFile &file, uint32_t headerOffset);

    // Reads and checks the header at headerOffset(). Corruption when it does not fit.
    Status load();
    // Writes a header for `spec` and an empty root leaf at the end of the file.
    // Requires: the two header pages at headerOffset() exist.
    Status initialize(const TagSpec &spec, uint8_t options);
    // The 1024 header bytes for a tree.
    static void encodeHeader(const TagSpec &spec, uint32_t root, uint8_t options, uint8_t *out);

    uint32_t headerOffset() const { return m_header; }
    uint32_t root() const { return m_root; }
    uint8_t options() const { return m_options; }
    void setName(const std::string &name) { m_spec.name = name; }

    const TagSpec &spec() const override { return m_spec; }
    Status first(IndexEntry &out, bool &found) override;
    Status last(IndexEntry &out, bool &found) override;
    Status next(const IndexEntry &from, IndexEntry &out, bool &found) override;
    Status prev(const IndexEntry &from, IndexEntry &out, bool &found) override;
    Status lowerBound(std::string_view key, IndexEntry &out, bool &found) override;
    Status scan(std::string_view lo, std::string_view hi, bool hiInclusive, bool unboundedHi,
                const std::function<bool(std::string_view key, uint32_t recno)> &visit) override;
    Status insert(std::string_view key, uint32_t recno) override;
    Status remove(std::string_view key, uint32_t recno) override;
    Status count(uint64_t &out) override;
    Status check(std::vector<std::string> &faults) override;
    void setKeyType(char type) override;

    // Replaces every entry by `n` entries sorted by (key, recno); keys flat, keyLength each.
    // The new nodes are written in one run at the end of the file, then the header points
    // to them; the old nodes become free. Progress goes from `fromPercent` to `toPercent`.
    Status replaceSorted(const char *keys, const uint32_t *recnos, size_t n, ProgressHook *progress,
                         int fromPercent, int toPercent);
    // Every node page of the tree (for freeing them).
    Status collectPages(std::vector<uint32_t> &pages);

private:
    enum class Mode { Prefix, AtOrAfter, After };
    struct Target {
        Mode mode;
        std::string_view key;
        uint32_t recno;
    };
    struct Step {
        uint32_t page;
        int index;
    };
    struct Ref {
        std::string key;
        uint32_t recno;
        uint32_t page;
    };

    int keyLength() const { return m_spec.keyLength; }
    bool isAtOrAfter(const char *key, uint32_t recno, const Target &t) const;
    Status corrupt(const std::string &what);
    // "tag NAME: ", "tag directory: " or "index: ", the start of each fault check() reports.
    std::string faultPrefix() const;
    Status readLeaf(uint32_t page, LeafNode &out);
    Status readInterior(uint32_t page, InteriorNode &out);
    // `keep`: remember the decoded node for later reads (walks from the root do; walks along
    // the leaves do not, so a long scan does not crowd out the nodes seeks come back to).
    Status readNode(uint32_t page, bool &leaf, LeafNode &leafOut, InteriorNode &interiorOut,
                    bool keep = false, bool keepLeaf = true);
    Status decodeNode(uint32_t page, bool &leaf, LeafNode &leafOut, InteriorNode &interiorOut);
    // Walks from the root to the leaf holding the first entry at or after `t`; `index` is its
    // position there (count() when every entry of that leaf is before it).
    // `keepLeaf`: remember the leaf (walks that change it do not).
    Status descend(const Target &t, std::vector<Step> &path, LeafNode &leaf, int &index,
                   bool keepLeaf = true);
    // The first entry at or after `t`, following right siblings past exhausted leaves.
    Status seek(const Target &t, IndexEntry &out, bool &found);
    // The same for the usual case, the entry lying in the leaf the keys lead to: true when it
    // answered (`found` then says whether there was such an entry), false when seek() must
    // take the long way (the entry lies further right, or a node needs a closer look).
    bool seekInPlace(const Target &t, IndexEntry &out, bool &found);
    Status edgeLeaf(bool lastSide, std::vector<Step> &path, LeafNode &leaf);
    // Moves `leaf` to its right or left sibling, whose page goes to `at`; `steps` counts the
    // moves of one walk so that a cycle ends in Corruption.
    Status stepLeaf(bool right, uint32_t &steps, LeafNode &leaf, uint32_t &at);
    std::string normalized(std::string_view key) const;
    Status writeRootPointer(uint32_t root);
    Status patchSibling(uint32_t page, bool leftField, uint32_t value);
    // Writes `node` split into as many pages as it needs and returns their refs.
    Status storeLeaf(uint32_t page, LeafNode &node, std::vector<Ref> &refs);
    Status storeInterior(uint32_t page, InteriorNode &node, std::vector<Ref> &refs);
    // Replaces the parent entries of path[level] by `refs`, up to the root.
    Status propagate(const std::vector<Step> &path, size_t level, std::vector<Ref> refs);
    Status removeAt(const std::vector<Step> &path, LeafNode &leaf, int index);
    Status findByRecno(uint32_t recno, std::string &key, bool &found);
    void checkNode(uint32_t page, int depth, int &leafDepth, std::unordered_set<uint32_t> &visited,
                   std::vector<uint32_t> &leaves, std::vector<std::vector<uint32_t>> &levels,
                   std::string &lastKey, uint32_t &lastRecno, bool &haveLast, uint64_t &entries,
                   std::vector<std::string> &faults, Ref *maxOut);

    // Recently decoded nodes, valid while their page stays unwritten: seeks and
    // steps through the same region skip the decoding.
    struct CachedNode {
        uint32_t page = 0;
        uint64_t stamp = 0; // the file's stamp when decoded (0: empty)
        uint64_t used = 0;
        bool leaf = false;
        LeafNode leafNode;
        InteriorNode interiorNode;
    };
    static constexpr size_t kCachedNodes = 256;
    // Two slots per page, found by a multiplicative hash so that pages a fixed stride apart
    // spread out; the less recently used of the two gives way.
    size_t cacheSet(uint32_t page) const
    {
        return static_cast<size_t>(((page / kPageSize) * 2654435761u) >> 12) % (m_nodeCache.size() / 2) * 2;
    }
    // Makes the node cache ready: two slots for each page of the file, at least 16 and at
    // most kCachedNodes, so a small file's tree does not clear room for a large one's. A file
    // that grew past its cache gets a larger one (the cached nodes are dropped then).
    void prepareNodeCache();
    void rememberLeaf(uint32_t page, const LeafNode &node);
    // The node cache's still valid copy of `page`, or nullptr.
    const CachedNode *cachedNode(uint32_t page);
    std::vector<CachedNode> m_nodeCache; // see prepareNodeCache(); two slots per page number
    // Scratch nodes reused by the walks that only read (seek, last, prev), so they keep their
    // memory from call to call. A walk never runs inside another on the same tree.
    std::vector<Step> m_scratchPath;
    LeafNode m_scratchLeaf;
    InteriorNode m_scratchInterior;
    uint64_t m_nodeUse = 0;

    IndexPageFile &m_file;
    uint32_t m_header;
    uint32_t m_root = 0;
    uint8_t m_options = 0;
    TagSpec m_spec;
    char m_pad = ' ';
    bool m_typeKnown = false;
};

} // namespace xbase
