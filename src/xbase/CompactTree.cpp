#include "CompactTree.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace xbase {

namespace {

// A valid tree over a 4 GB file is never deeper than this.
constexpr int kMaxDepth = 48;
constexpr size_t kMaxFaults = 100;

// The pool of expression texts fills the second half of the header.
constexpr size_t kPoolSize = 512;

std::string poolText(const uint8_t *pool, size_t start, size_t length)
{
    if (start >= kPoolSize)
        return {};
    length = std::min(length, kPoolSize - start);
    const auto *begin = reinterpret_cast<const char *>(pool + start);
    const size_t n = strnlen(begin, length);
    return std::string(begin, n);
}

bool containsAny(const std::string &text, std::initializer_list<const char *> words)
{
    for (const char *w : words)
        if (text.find(w) != std::string::npos)
            return true;
    return false;
}

// The file does not record the key type; guess it from what the key looks like.
char guessKeyType(const std::string &expr, int keyLength)
{
    std::string upper = expr;
    for (char &c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    const bool character = containsAny(upper, {"UPPER(", "LOWER(", "LEFT(", "RIGHT(", "SUBSTR(", "STR(",
                                               "TRIM(", "DTOS(", "PADR(", "PADL(", "CHR(", "\"", "'", "["});
    if (keyLength == 1 && !character && !upper.empty())
        return 'L';
    if (keyLength == 8 && !character && !upper.empty())
        return 'N';
    return 'C';
}

} // namespace

CompactTree::CompactTree(IndexPageFile &file, uint32_t headerOffset) : m_file(file), m_header(headerOffset) {}

Status CompactTree::corrupt(const std::string &what)
{
    m_file.markDamaged();
    std::string where = "Index file " + m_file.path();
    if (m_header == 0 && (m_options & kOptionCompound) != 0)
        where += ", tag directory";
    else if (!m_spec.name.empty())
        where += ", tag " + m_spec.name;
    return Status::Corruption(where + ": " + what);
}

std::string CompactTree::faultPrefix() const
{
    if (m_header == 0 && (m_options & kOptionCompound) != 0)
        return "tag directory: ";
    return m_spec.name.empty() ? std::string("index: ") : "tag " + m_spec.name + ": ";
}

void CompactTree::setKeyType(char type)
{
    m_nodeCache.clear(); // leaves decoded with the old pad
    m_typeKnown = true;
    m_spec.keyType = type;
    m_pad = type == 'N' ? '\0' : ' ';
}

void CompactTree::encodeHeader(const TagSpec &spec, uint32_t root, uint8_t options, uint8_t *out)
{
    std::memset(out, 0, kTagHeaderSize);
    writeLe32(out, root);
    writeLe32(out + 4, 0);
    writeLe16(out + 12, spec.keyLength);
    out[14] = options;
    out[15] = 1;
    // Header and node sizes, as other FoxPro-compatible programs record them.
    writeLe16(out + 16, static_cast<uint16_t>(kTagHeaderSize));
    writeLe16(out + 18, static_cast<uint16_t>(kPageSize));
    writeLe16(out + 502, spec.descending ? 1 : 0);
    const size_t keyLen = spec.keyExpr.size() + 1;
    const size_t forLen = spec.forExpr.size() + 1;
    writeLe16(out + 504, static_cast<uint16_t>(keyLen));
    writeLe16(out + 506, static_cast<uint16_t>(forLen));
    writeLe16(out + 508, 0);
    writeLe16(out + 510, static_cast<uint16_t>(keyLen));
    std::memcpy(out + 512, spec.keyExpr.data(), spec.keyExpr.size());
    std::memcpy(out + 512 + keyLen, spec.forExpr.data(), spec.forExpr.size());
}

Status CompactTree::load()
{
    if (!m_file.isPage(m_header) || !m_file.isPage(m_header + kPageSize))
        return corrupt("tag header lies outside the file");
    uint8_t h[kTagHeaderSize];
    XBASE_TRY(m_file.readPage(m_header, h));
    XBASE_TRY(m_file.readPage(m_header + kPageSize, h + kPageSize));
    m_root = readLe32(h);
    const int keyLen = readLe16(h + 12);
    m_options = h[14];
    if (keyLen < 1 || keyLen > kMaxKeyLength)
        return corrupt("key length " + std::to_string(keyLen) + " is out of range");
    if (m_root == 0 || !m_file.isPage(m_root) || m_root == m_header || m_root == m_header + kPageSize)
        return corrupt("root node lies outside the file");
    m_spec.keyLength = static_cast<uint16_t>(keyLen);
    m_spec.descending = readLe16(h + 502) != 0;
    m_spec.unique = (m_options & kOptionUnique) != 0;
    const uint8_t *pool = h + 512;
    const size_t forStart = readLe16(h + 504);
    const size_t forLen = readLe16(h + 506);
    const size_t keyStart = readLe16(h + 508);
    const size_t keyPoolLen = readLe16(h + 510);
    m_spec.keyExpr = keyPoolLen == 0 ? poolText(pool, 0, kPoolSize) : poolText(pool, keyStart, keyPoolLen);
    m_spec.forExpr = forLen > 1 ? poolText(pool, forStart, forLen) : std::string();
    // A type the owner set survives rereading the header.
    const bool known = m_typeKnown;
    setKeyType(known ? m_spec.keyType : guessKeyType(m_spec.keyExpr, keyLen));
    m_typeKnown = known;
    return Status::Ok();
}

Status CompactTree::initialize(const TagSpec &spec, uint8_t options)
{
    uint32_t root = 0;
    XBASE_TRY(m_file.allocate(1, root));
    uint8_t page[kPageSize];
    LeafNode empty;
    empty.attributes = kNodeRoot | kNodeLeaf;
    encodeLeaf(empty, spec.keyLength, ' ', page);
    XBASE_TRY(m_file.writePage(root, page));
    uint8_t h[kTagHeaderSize];
    encodeHeader(spec, root, options, h);
    XBASE_TRY(m_file.writePage(m_header, h));
    XBASE_TRY(m_file.writePage(m_header + kPageSize, h + kPageSize));
    m_root = root;
    m_options = options;
    m_spec = spec;
    setKeyType(spec.keyType);
    return Status::Ok();
}

bool CompactTree::isAtOrAfter(const char *key, uint32_t recno, const Target &t) const
{
    const size_t L = static_cast<size_t>(keyLength());
    switch (t.mode) {
    case Mode::Prefix:
        return t.key.empty() || std::memcmp(key, t.key.data(), std::min(t.key.size(), L)) >= 0;
    case Mode::AtOrAfter: {
        const int c = std::memcmp(key, t.key.data(), L);
        return c > 0 || (c == 0 && recno >= t.recno);
    }
    case Mode::After: {
        const int c = std::memcmp(key, t.key.data(), L);
        return c > 0 || (c == 0 && recno > t.recno);
    }
    }
    return false;
}

Status CompactTree::readNode(uint32_t page, bool &leaf, LeafNode &leafOut, InteriorNode &interiorOut,
                             bool keep, bool keepLeaf)
{
    if (page == 0 || !m_file.isPage(page))
        return corrupt("a node pointer lies outside the file");
    prepareNodeCache();
    const size_t set = cacheSet(page);
    for (size_t k = set; k < set + 2; ++k) {
        CachedNode &cached = m_nodeCache[k];
        if (cached.page == page && cached.stamp != 0 && cached.stamp >= m_file.pageStamp(page)) {
            cached.used = ++m_nodeUse;
            leaf = cached.leaf;
            if (leaf)
                leafOut = cached.leafNode;
            else
                interiorOut = cached.interiorNode;
            return Status::Ok();
        }
    }
    XBASE_TRY(decodeNode(page, leaf, leafOut, interiorOut));
    if (!keep || (leaf && !keepLeaf))
        return Status::Ok();
    CachedNode &a = m_nodeCache[set];
    CachedNode &b = m_nodeCache[set + 1];
    CachedNode &cached = a.used <= b.used ? a : b;
    cached.page = page;
    cached.stamp = m_file.stamp();
    cached.used = ++m_nodeUse;
    cached.leaf = leaf;
    if (leaf)
        cached.leafNode = leafOut;
    else
        cached.interiorNode = interiorOut;
    return Status::Ok();
}

void CompactTree::rememberLeaf(uint32_t page, const LeafNode &node)
{
    prepareNodeCache();
    const size_t set = cacheSet(page);
    CachedNode *slot = nullptr;
    for (size_t k = set; k < set + 2 && !slot; ++k)
        if (m_nodeCache[k].page == page)
            slot = &m_nodeCache[k];
    if (!slot)
        slot = m_nodeCache[set].used <= m_nodeCache[set + 1].used ? &m_nodeCache[set] : &m_nodeCache[set + 1];
    slot->page = page;
    slot->stamp = m_file.stamp();
    slot->used = ++m_nodeUse;
    slot->leaf = true;
    slot->leafNode = node;
}

Status CompactTree::decodeNode(uint32_t page, bool &leaf, LeafNode &leafOut, InteriorNode &interiorOut)
{
    uint8_t buf[kPageSize];
    XBASE_TRY(m_file.readPage(page, buf));
    const uint16_t attributes = nodeAttributes(buf);
    if (attributes > (kNodeRoot | kNodeLeaf))
        return corrupt("node at " + std::to_string(page) + " has unknown attributes");
    leaf = (attributes & kNodeLeaf) != 0;
    Status s =
        leaf ? decodeLeaf(buf, keyLength(), m_pad, leafOut) : decodeInterior(buf, keyLength(), interiorOut);
    if (!s.ok())
        return corrupt(s.message() + " (node at " + std::to_string(page) + ")");
    return Status::Ok();
}

Status CompactTree::readLeaf(uint32_t page, LeafNode &out)
{
    bool leaf = false;
    XBASE_TRY(readNode(page, leaf, out, m_scratchInterior));
    if (!leaf)
        return corrupt("sibling of a leaf node is not a leaf");
    return Status::Ok();
}

Status CompactTree::readInterior(uint32_t page, InteriorNode &out)
{
    bool leaf = false;
    LeafNode unused;
    XBASE_TRY(readNode(page, leaf, unused, out));
    if (leaf)
        return corrupt("parent node is a leaf");
    return Status::Ok();
}

Status CompactTree::descend(const Target &t, std::vector<Step> &path, LeafNode &leaf, int &index,
                            bool keepLeaf)
{
    path.clear();
    uint32_t page = m_root;
    InteriorNode &interior = m_scratchInterior;
    for (int depth = 0;; ++depth) {
        if (depth > kMaxDepth)
            return corrupt("the tree is deeper than any valid tree");
        for (const Step &s : path)
            if (s.page == page)
                return corrupt("a node points back to itself or to a node above it");
        bool isLeaf = false;
        XBASE_TRY(readNode(page, isLeaf, leaf, interior, true, keepLeaf));
        if (isLeaf) {
            int lo = 0;
            int hi = leaf.count();
            while (lo < hi) {
                const int mid = (lo + hi) / 2;
                if (isAtOrAfter(leaf.key(mid, keyLength()), leaf.recnos[static_cast<size_t>(mid)], t))
                    hi = mid;
                else
                    lo = mid + 1;
            }
            index = lo;
            path.push_back({page, lo});
            return Status::Ok();
        }
        if (interior.count() == 0)
            return corrupt("interior node at " + std::to_string(page) + " has no entries");
        int lo = 0;
        int hi = interior.count();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (isAtOrAfter(interior.key(mid, keyLength()), interior.recnos[static_cast<size_t>(mid)], t))
                hi = mid;
            else
                lo = mid + 1;
        }
        const int i = std::min(lo, interior.count() - 1);
        path.push_back({page, i});
        page = interior.children[static_cast<size_t>(i)];
    }
}

Status CompactTree::stepLeaf(bool right, uint32_t &steps, LeafNode &leaf, uint32_t &at)
{
    const uint32_t nextPage = right ? leaf.right : leaf.left;
    if (++steps > m_file.size() / kPageSize + 1)
        return corrupt("the chain of leaf nodes has a cycle");
    XBASE_TRY(readLeaf(nextPage, leaf));
    at = nextPage;
    return Status::Ok();
}

bool CompactTree::seekInPlace(const Target &t, IndexEntry &out, bool &found)
{
    // Interior nodes come from the node cache; the leaf is searched where it lies in its page,
    // without building it. Anything out of the ordinary goes the long way instead.
    found = false;
    uint32_t page = m_root;
    char key[kMaxKeyLength];
    const size_t L = static_cast<size_t>(keyLength());
    for (int depth = 0; depth <= kMaxDepth; ++depth) {
        if (page == 0 || !m_file.isPage(page))
            return false;
        const CachedNode *cached = cachedNode(page);
        if (cached && !cached->leaf) {
            const InteriorNode &interior = cached->interiorNode;
            if (interior.count() == 0)
                return false;
            int lo = 0;
            int hi = interior.count();
            while (lo < hi) {
                const int mid = (lo + hi) / 2;
                if (isAtOrAfter(interior.key(mid, keyLength()), interior.recnos[static_cast<size_t>(mid)], t))
                    hi = mid;
                else
                    lo = mid + 1;
            }
            page = interior.children[static_cast<size_t>(std::min(lo, interior.count() - 1))];
            continue;
        }
        uint8_t buf[kPageSize];
        if (!m_file.readPage(page, buf).ok())
            return false;
        const uint16_t attributes = nodeAttributes(buf);
        if (attributes > (kNodeRoot | kNodeLeaf))
            return false;
        if ((attributes & kNodeLeaf) == 0) {
            // Decoded once and kept, so the next seek finds it in the cache.
            bool leaf = false;
            if (!readNode(page, leaf, m_scratchLeaf, m_scratchInterior, true).ok() || leaf)
                return false;
            continue;
        }
        const size_t n = t.mode == Mode::Prefix ? std::min(t.key.size(), L) : L;
        const uint64_t minRecno = t.mode == Mode::Prefix      ? 0
                                  : t.mode == Mode::AtOrAfter ? uint64_t(t.recno)
                                                              : uint64_t(t.recno) + 1;
        uint32_t recno = 0;
        const int at = findInLeaf(buf, keyLength(), m_pad, t.key.data(), n, minRecno, key, recno);
        if (at < 0 || at >= (buf[2] | (buf[3] << 8)))
            return false; // damaged, or the entry lies in a later leaf
        out.key.assign(key, L);
        out.recno = recno;
        found = true;
        return true;
    }
    return false;
}

void CompactTree::prepareNodeCache()
{
    if (m_nodeCache.size() >= kCachedNodes)
        return;
    const uint64_t pages = m_file.size() / kPageSize;
    size_t slots = 16;
    while (slots < kCachedNodes && slots < pages * 2)
        slots *= 2;
    if (slots <= m_nodeCache.size())
        return;
    m_nodeCache.clear();
    m_nodeCache.resize(slots);
}

const CompactTree::CachedNode *CompactTree::cachedNode(uint32_t page)
{
    if (m_nodeCache.empty())
        return nullptr;
    const size_t set = cacheSet(page);
    for (size_t k = set; k < set + 2; ++k) {
        CachedNode &cached = m_nodeCache[k];
        if (cached.page == page && cached.stamp != 0 && cached.stamp >= m_file.pageStamp(page)) {
            cached.used = ++m_nodeUse;
            return &cached;
        }
    }
    return nullptr;
}

Status CompactTree::seek(const Target &t, IndexEntry &out, bool &found)
{
    if (seekInPlace(t, out, found))
        return Status::Ok();
    found = false;
    // Scratch kept between calls: a seek then allocates nothing.
    std::vector<Step> &path = m_scratchPath;
    LeafNode &leaf = m_scratchLeaf;
    int index = 0;
    XBASE_TRY(descend(t, path, leaf, index));
    uint32_t page = path.back().page;
    uint32_t steps = 0;
    while (index >= leaf.count()) {
        if (leaf.right == kNoPage)
            return Status::Ok();
        XBASE_TRY(stepLeaf(true, steps, leaf, page));
        index = 0;
        while (index < leaf.count() &&
               !isAtOrAfter(leaf.key(index, keyLength()), leaf.recnos[static_cast<size_t>(index)], t))
            ++index;
    }
    out.key.assign(leaf.key(index, keyLength()), static_cast<size_t>(keyLength()));
    out.recno = leaf.recnos[static_cast<size_t>(index)];
    found = true;
    return Status::Ok();
}

std::string CompactTree::normalized(std::string_view key) const
{
    std::string k(key.substr(0, static_cast<size_t>(keyLength())));
    k.resize(static_cast<size_t>(keyLength()), m_pad);
    return k;
}

Status CompactTree::first(IndexEntry &out, bool &found)
{
    return seek(Target{Mode::Prefix, std::string_view(), 0}, out, found);
}

Status CompactTree::edgeLeaf(bool lastSide, std::vector<Step> &path, LeafNode &leaf)
{
    path.clear();
    uint32_t page = m_root;
    InteriorNode &interior = m_scratchInterior;
    for (int depth = 0;; ++depth) {
        if (depth > kMaxDepth)
            return corrupt("the tree is deeper than any valid tree");
        for (const Step &s : path)
            if (s.page == page)
                return corrupt("a node points back to itself or to a node above it");
        bool isLeaf = false;
        XBASE_TRY(readNode(page, isLeaf, leaf, interior, true));
        if (isLeaf) {
            path.push_back({page, lastSide ? leaf.count() : 0});
            return Status::Ok();
        }
        if (interior.count() == 0)
            return corrupt("interior node at " + std::to_string(page) + " has no entries");
        const int i = lastSide ? interior.count() - 1 : 0;
        path.push_back({page, i});
        page = interior.children[static_cast<size_t>(i)];
    }
}

Status CompactTree::last(IndexEntry &out, bool &found)
{
    found = false;
    // Scratch kept between calls: a seek then allocates nothing.
    std::vector<Step> &path = m_scratchPath;
    LeafNode &leaf = m_scratchLeaf;
    XBASE_TRY(edgeLeaf(true, path, leaf));
    uint32_t page = path.back().page;
    uint32_t steps = 0;
    while (leaf.count() == 0) {
        if (leaf.left == kNoPage)
            return Status::Ok();
        XBASE_TRY(stepLeaf(false, steps, leaf, page));
    }
    const int i = leaf.count() - 1;
    out.key.assign(leaf.key(i, keyLength()), static_cast<size_t>(keyLength()));
    out.recno = leaf.recnos[static_cast<size_t>(i)];
    found = true;
    return Status::Ok();
}

Status CompactTree::next(const IndexEntry &from, IndexEntry &out, bool &found)
{
    const std::string key = normalized(from.key);
    return seek(Target{Mode::After, key, from.recno}, out, found);
}

Status CompactTree::prev(const IndexEntry &from, IndexEntry &out, bool &found)
{
    found = false;
    const std::string key = normalized(from.key);
    std::vector<Step> &path = m_scratchPath;
    LeafNode &leaf = m_scratchLeaf;
    int index = 0;
    XBASE_TRY(descend(Target{Mode::AtOrAfter, key, from.recno}, path, leaf, index));
    uint32_t page = path.back().page;
    uint32_t steps = 0;
    while (index == 0) {
        if (leaf.left == kNoPage)
            return Status::Ok();
        XBASE_TRY(stepLeaf(false, steps, leaf, page));
        index = leaf.count();
    }
    out.key.assign(leaf.key(index - 1, keyLength()), static_cast<size_t>(keyLength()));
    out.recno = leaf.recnos[static_cast<size_t>(index - 1)];
    found = true;
    return Status::Ok();
}

Status CompactTree::lowerBound(std::string_view key, IndexEntry &out, bool &found)
{
    return seek(Target{Mode::Prefix, key, 0}, out, found);
}

Status CompactTree::scan(std::string_view lo, std::string_view hi, bool hiInclusive, bool unboundedHi,
                         const std::function<bool(std::string_view key, uint32_t recno)> &visit)
{
    std::vector<Step> path;
    LeafNode leaf;
    int index = 0;
    XBASE_TRY(descend(Target{Mode::Prefix, lo, 0}, path, leaf, index));
    uint32_t page = path.back().page;
    uint32_t steps = 0;
    const size_t L = static_cast<size_t>(keyLength());
    const size_t n = std::min(hi.size(), L);
    for (;;) {
        for (; index < leaf.count(); ++index) {
            const char *key = leaf.key(index, keyLength());
            if (!unboundedHi) {
                const int c = n == 0 ? 0 : std::memcmp(key, hi.data(), n);
                const bool shorterThanHi = hi.size() > L;
                if (c > 0 || (c == 0 && !hiInclusive && !shorterThanHi))
                    return Status::Ok();
            }
            if (!visit(std::string_view(key, L), leaf.recnos[static_cast<size_t>(index)]))
                return Status::Ok();
        }
        if (leaf.right == kNoPage)
            return Status::Ok();
        XBASE_TRY(stepLeaf(true, steps, leaf, page));
        index = 0;
    }
}

Status CompactTree::count(uint64_t &out)
{
    out = 0;
    std::vector<Step> path;
    LeafNode leaf;
    XBASE_TRY(edgeLeaf(false, path, leaf));
    uint32_t page = path.back().page;
    uint32_t steps = 0;
    for (;;) {
        out += static_cast<uint64_t>(leaf.count());
        if (leaf.right == kNoPage)
            return Status::Ok();
        XBASE_TRY(stepLeaf(true, steps, leaf, page));
    }
}

Status CompactTree::writeRootPointer(uint32_t root)
{
    uint8_t h[kPageSize];
    XBASE_TRY(m_file.readPage(m_header, h));
    writeLe32(h, root);
    XBASE_TRY(m_file.writePage(m_header, h));
    m_root = root;
    return Status::Ok();
}

Status CompactTree::patchSibling(uint32_t page, bool leftField, uint32_t value)
{
    if (page == 0 || !m_file.isPage(page))
        return corrupt("a sibling pointer lies outside the file");
    uint8_t buf[kPageSize];
    XBASE_TRY(m_file.readPage(page, buf));
    writeLe32(buf + (leftField ? 4 : 8), value);
    return m_file.writePage(page, buf);
}

Status CompactTree::storeLeaf(uint32_t page, LeafNode &node, std::vector<Ref> &refs)
{
    refs.clear();
    const int L = keyLength();
    uint8_t buf[kPageSize];
    if (encodeLeaf(node, L, m_pad, buf)) {
        XBASE_TRY(m_file.writePage(page, buf));
        rememberLeaf(page, node); // the next change nearby starts from it
        if (node.count() > 0) {
            const int i = node.count() - 1;
            refs.push_back({std::string(node.key(i, L), static_cast<size_t>(L)), node.recnos.back(), page});
        }
        return Status::Ok();
    }
    // Count the leaves a full packing needs, then share the entries evenly between them.
    const int n = node.count();
    LeafSizer sizer(L, m_pad);
    int pieces = 1;
    for (int i = 0; i < n; ++i) {
        const char *key = node.key(i, L);
        if (sizer.count() > 0 && sizer.sizeWith(key, node.recnos[static_cast<size_t>(i)]) > kPageSize) {
            ++pieces;
            sizer.reset();
        }
        sizer.add(key, node.recnos[static_cast<size_t>(i)]);
    }
    pieces = std::max(pieces, 2);
    const int share = (n + pieces - 1) / pieces;
    std::vector<std::pair<int, int>> ranges;
    sizer.reset();
    int start = 0;
    for (int i = 0; i < n; ++i) {
        const char *key = node.key(i, L);
        const bool full =
            sizer.count() > 0 && sizer.sizeWith(key, node.recnos[static_cast<size_t>(i)]) > kPageSize;
        if (full || sizer.count() >= share) {
            ranges.emplace_back(start, i);
            start = i;
            sizer.reset();
        }
        sizer.add(key, node.recnos[static_cast<size_t>(i)]);
    }
    ranges.emplace_back(start, n);
    std::vector<uint32_t> pages{page};
    for (size_t k = 1; k < ranges.size(); ++k) {
        uint32_t p = 0;
        XBASE_TRY(m_file.allocate(1, p));
        pages.push_back(p);
    }
    const uint16_t attributes = static_cast<uint16_t>(node.attributes & ~kNodeRoot);
    for (size_t k = 0; k < ranges.size(); ++k) {
        const uint32_t left = k == 0 ? node.left : pages[k - 1];
        const uint32_t right = k + 1 == ranges.size() ? node.right : pages[k + 1];
        const int from = ranges[k].first;
        const int cnt = ranges[k].second - from;
        if (!encodeLeafRange(attributes, left, right, node.key(from, L),
                             &node.recnos[static_cast<size_t>(from)], cnt, L, m_pad, buf))
            return Status::InvalidArgument("index entries do not fit a node");
        XBASE_TRY(m_file.writePage(pages[k], buf));
        const int lastIndex = ranges[k].second - 1;
        refs.push_back({std::string(node.key(lastIndex, L), static_cast<size_t>(L)),
                        node.recnos[static_cast<size_t>(lastIndex)], pages[k]});
    }
    if (node.right != kNoPage)
        XBASE_TRY(patchSibling(node.right, true, pages.back()));
    return Status::Ok();
}

Status CompactTree::storeInterior(uint32_t page, InteriorNode &node, std::vector<Ref> &refs)
{
    refs.clear();
    const int L = keyLength();
    const size_t Lz = static_cast<size_t>(L);
    const int capacity = interiorCapacity(L);
    const int n = node.count();
    uint8_t buf[kPageSize];
    if (n <= capacity) {
        encodeInterior(node, L, buf);
        XBASE_TRY(m_file.writePage(page, buf));
        refs.push_back({std::string(node.key(n - 1, L), Lz), node.recnos.back(), page});
        return Status::Ok();
    }
    const int pieces = (n + capacity - 1) / capacity;
    const int share = (n + pieces - 1) / pieces;
    std::vector<uint32_t> pages{page};
    for (int k = 1; k < pieces; ++k) {
        uint32_t p = 0;
        XBASE_TRY(m_file.allocate(1, p));
        pages.push_back(p);
    }
    for (int k = 0; k < pieces; ++k) {
        const int from = k * share;
        const int to = std::min(n, from + share);
        InteriorNode piece;
        piece.attributes = static_cast<uint16_t>(node.attributes & ~kNodeRoot);
        piece.left = k == 0 ? node.left : pages[static_cast<size_t>(k - 1)];
        piece.right = k + 1 == pieces ? node.right : pages[static_cast<size_t>(k + 1)];
        piece.keys.assign(node.key(from, L), static_cast<size_t>(to - from) * Lz);
        piece.recnos.assign(node.recnos.begin() + from, node.recnos.begin() + to);
        piece.children.assign(node.children.begin() + from, node.children.begin() + to);
        encodeInterior(piece, L, buf);
        XBASE_TRY(m_file.writePage(pages[static_cast<size_t>(k)], buf));
        refs.push_back({std::string(node.key(to - 1, L), Lz), node.recnos[static_cast<size_t>(to - 1)],
                        pages[static_cast<size_t>(k)]});
    }
    if (node.right != kNoPage)
        XBASE_TRY(patchSibling(node.right, true, pages.back()));
    return Status::Ok();
}

Status CompactTree::propagate(const std::vector<Step> &path, size_t level, std::vector<Ref> refs)
{
    const size_t Lz = static_cast<size_t>(keyLength());
    for (size_t h = level; h > 0; --h) {
        const uint32_t parentPage = path[h - 1].page;
        const int idx = path[h - 1].index;
        InteriorNode parent;
        XBASE_TRY(readInterior(parentPage, parent));
        if (idx < 0 || idx >= parent.count())
            return corrupt("interior node changed under an update");
        const bool wasLast = idx == parent.count() - 1;
        const size_t i = static_cast<size_t>(idx);
        if (refs.size() == 1 && parent.children[i] == refs[0].page && parent.recnos[i] == refs[0].recno &&
            std::memcmp(parent.key(idx, keyLength()), refs[0].key.data(), Lz) == 0)
            return Status::Ok();
        parent.keys.erase(i * Lz, Lz);
        parent.recnos.erase(parent.recnos.begin() + idx);
        parent.children.erase(parent.children.begin() + idx);
        for (size_t k = 0; k < refs.size(); ++k) {
            parent.keys.insert((i + k) * Lz, refs[k].key);
            parent.recnos.insert(parent.recnos.begin() + idx + static_cast<long>(k), refs[k].recno);
            parent.children.insert(parent.children.begin() + idx + static_cast<long>(k), refs[k].page);
        }
        if (parent.count() == 0) {
            if (h - 1 == 0) {
                LeafNode empty;
                empty.attributes = kNodeRoot | kNodeLeaf;
                uint8_t buf[kPageSize];
                encodeLeaf(empty, keyLength(), m_pad, buf);
                return m_file.writePage(parentPage, buf);
            }
            if (parent.left != kNoPage)
                XBASE_TRY(patchSibling(parent.left, false, parent.right));
            if (parent.right != kNoPage)
                XBASE_TRY(patchSibling(parent.right, true, parent.left));
            m_file.release(parentPage);
            refs.clear();
            continue;
        }
        std::vector<Ref> upper;
        XBASE_TRY(storeInterior(parentPage, parent, upper));
        if (upper.size() == 1 && !wasLast)
            return Status::Ok();
        refs = std::move(upper);
    }
    if (refs.size() <= 1)
        return Status::Ok();
    // The root was split: a new root above the pieces.
    InteriorNode root;
    root.attributes = kNodeRoot;
    for (const Ref &r : refs) {
        root.keys += r.key;
        root.recnos.push_back(r.recno);
        root.children.push_back(r.page);
    }
    uint32_t rootPage = 0;
    XBASE_TRY(m_file.allocate(1, rootPage));
    std::vector<Ref> top;
    XBASE_TRY(storeInterior(rootPage, root, top));
    if (top.size() != 1)
        return Status::InvalidArgument("index root node overflow");
    return writeRootPointer(rootPage);
}

Status CompactTree::insert(std::string_view key, uint32_t recno)
{
    if (key.size() != static_cast<size_t>(keyLength()))
        return Status::InvalidArgument("key of " + std::to_string(key.size()) + " bytes for a tag with " +
                                       std::to_string(keyLength()) + "-byte keys");
    XBASE_TRY(m_file.beginUpdate());
    std::vector<Step> path;
    LeafNode leaf;
    int index = 0;
    XBASE_TRY(descend(Target{Mode::AtOrAfter, key, recno}, path, leaf, index, false));
    const size_t L = static_cast<size_t>(keyLength());
    if (index < leaf.count() && leaf.recnos[static_cast<size_t>(index)] == recno &&
        std::memcmp(leaf.key(index, keyLength()), key.data(), L) == 0)
        return Status::Ok();
    leaf.keys.insert(static_cast<size_t>(index) * L, key.data(), L);
    leaf.recnos.insert(leaf.recnos.begin() + index, recno);
    std::vector<Ref> refs;
    XBASE_TRY(storeLeaf(path.back().page, leaf, refs));
    if (refs.size() == 1 && index != leaf.count() - 1)
        return Status::Ok();
    return propagate(path, path.size() - 1, std::move(refs));
}

Status CompactTree::removeAt(const std::vector<Step> &path, LeafNode &leaf, int index)
{
    const size_t L = static_cast<size_t>(keyLength());
    const bool wasLast = index == leaf.count() - 1;
    leaf.keys.erase(static_cast<size_t>(index) * L, L);
    leaf.recnos.erase(leaf.recnos.begin() + index);
    const uint32_t page = path.back().page;
    if (leaf.count() == 0 && path.size() > 1) {
        if (leaf.left != kNoPage)
            XBASE_TRY(patchSibling(leaf.left, false, leaf.right));
        if (leaf.right != kNoPage)
            XBASE_TRY(patchSibling(leaf.right, true, leaf.left));
        m_file.release(page);
        return propagate(path, path.size() - 1, {});
    }
    std::vector<Ref> refs;
    XBASE_TRY(storeLeaf(page, leaf, refs));
    if (refs.size() == 1 && !wasLast)
        return Status::Ok();
    return propagate(path, path.size() - 1, std::move(refs));
}

Status CompactTree::findByRecno(uint32_t recno, std::string &key, bool &found)
{
    found = false;
    std::vector<Step> path;
    LeafNode leaf;
    XBASE_TRY(edgeLeaf(false, path, leaf));
    uint32_t page = path.back().page;
    uint32_t steps = 0;
    for (;;) {
        for (int i = 0; i < leaf.count(); ++i) {
            if (leaf.recnos[static_cast<size_t>(i)] == recno) {
                key.assign(leaf.key(i, keyLength()), static_cast<size_t>(keyLength()));
                found = true;
                return Status::Ok();
            }
        }
        if (leaf.right == kNoPage)
            return Status::Ok();
        XBASE_TRY(stepLeaf(true, steps, leaf, page));
    }
}

Status CompactTree::remove(std::string_view key, uint32_t recno)
{
    if (key.size() != static_cast<size_t>(keyLength()))
        return Status::InvalidArgument("key of " + std::to_string(key.size()) + " bytes for a tag with " +
                                       std::to_string(keyLength()) + "-byte keys");
    XBASE_TRY(m_file.beginUpdate());
    const size_t L = static_cast<size_t>(keyLength());
    std::vector<Step> path;
    LeafNode leaf;
    int index = 0;
    XBASE_TRY(descend(Target{Mode::AtOrAfter, key, recno}, path, leaf, index, false));
    if (index < leaf.count() && leaf.recnos[static_cast<size_t>(index)] == recno &&
        std::memcmp(leaf.key(index, keyLength()), key.data(), L) == 0)
        return removeAt(path, leaf, index);
    // The entry is not where the key puts it: another program built the key by another
    // rule. Find the record's entry by a walk and remove it where it really is.
    std::string actual;
    bool found = false;
    XBASE_TRY(findByRecno(recno, actual, found));
    if (!found)
        return Status::NotFound("record " + std::to_string(recno) + " has no entry in tag " + m_spec.name);
    XBASE_TRY(descend(Target{Mode::AtOrAfter, actual, recno}, path, leaf, index, false));
    if (index < leaf.count() && leaf.recnos[static_cast<size_t>(index)] == recno &&
        std::memcmp(leaf.key(index, keyLength()), actual.data(), L) == 0)
        return removeAt(path, leaf, index);
    return corrupt("the entry of record " + std::to_string(recno) + " is out of order");
}

Status CompactTree::collectPages(std::vector<uint32_t> &pages)
{
    pages.clear();
    std::unordered_set<uint32_t> seen;
    std::vector<std::pair<uint32_t, int>> stack{{m_root, 0}};
    LeafNode leaf;
    InteriorNode interior;
    while (!stack.empty()) {
        const auto [page, depth] = stack.back();
        stack.pop_back();
        if (depth > kMaxDepth || !seen.insert(page).second)
            return corrupt("a node is reached twice");
        bool isLeaf = false;
        XBASE_TRY(readNode(page, isLeaf, leaf, interior));
        pages.push_back(page);
        if (!isLeaf)
            for (uint32_t child : interior.children)
                stack.emplace_back(child, depth + 1);
    }
    return Status::Ok();
}

Status CompactTree::replaceSorted(const char *keys, const uint32_t *recnos, size_t n, ProgressHook *progress,
                                  int fromPercent, int toPercent)
{
    XBASE_TRY(m_file.beginUpdate());
    std::vector<uint32_t> oldPages;
    if (!collectPages(oldPages).ok())
        oldPages.clear();
    const int L = keyLength();
    const size_t Lz = static_cast<size_t>(L);

    // Each entry's trailing pad and the bytes it shares with the entry before it.
    std::vector<uint8_t> dups(n);
    std::vector<uint8_t> trails(n);
    for (size_t i = 0; i < n; ++i) {
        const char *key = keys + i * Lz;
        const int trail = trailingPadBytes(key, L, m_pad);
        trails[i] = static_cast<uint8_t>(trail);
        dups[i] = i == 0 ? 0 : static_cast<uint8_t>(commonPrefixBytes(key - Lz, key, L - trail));
    }
    // Leaves: as many entries as fit, in order.
    std::vector<size_t> leafEnds;
    {
        size_t keyBytes = 0;
        size_t count = 0;
        uint32_t maxRecno = 0;
        int recBits = 0;
        size_t entrySize = static_cast<size_t>(leafEntryBytes(0, L, recBits));
        for (size_t i = 0; i < n; ++i) {
            size_t stored = count == 0 ? Lz - trails[i] : Lz - dups[i] - trails[i];
            size_t size = entrySize;
            if (recnos[i] > maxRecno)
                size = static_cast<size_t>(leafEntryBytes(recnos[i], L, recBits));
            if (count > 0 && 24 + (count + 1) * size + keyBytes + stored > kPageSize) {
                leafEnds.push_back(i);
                count = 0;
                keyBytes = 0;
                maxRecno = 0;
                stored = Lz - trails[i];
                size = static_cast<size_t>(leafEntryBytes(recnos[i], L, recBits));
            }
            ++count;
            keyBytes += stored;
            maxRecno = std::max(maxRecno, recnos[i]);
            entrySize = size;
        }
    }
    if (n > 0 || leafEnds.empty())
        leafEnds.push_back(n);
    // Interior levels: fan-outs chosen up front so the page count is known.
    const size_t capacity = static_cast<size_t>(interiorCapacity(L));
    std::vector<size_t> levelSizes{leafEnds.size()};
    while (levelSizes.back() > 1)
        levelSizes.push_back((levelSizes.back() + capacity - 1) / capacity);
    size_t total = 0;
    for (size_t s : levelSizes)
        total += s;
    uint32_t base = 0;
    XBASE_TRY(m_file.allocate(static_cast<uint32_t>(total), base));
    auto pageAt = [base](size_t k) { return static_cast<uint32_t>(base + k * kPageSize); };

    int reported = fromPercent;
    const size_t chunkPages = 2048;
    std::vector<uint8_t> chunk;
    chunk.reserve(chunkPages * kPageSize);
    size_t chunkFirst = 0;
    auto flushChunk = [&](size_t nextPage) -> Status {
        if (!chunk.empty())
            XBASE_TRY(m_file.writePages(pageAt(chunkFirst), chunk.data(), chunk.size() / kPageSize));
        chunk.clear();
        chunkFirst = nextPage;
        return Status::Ok();
    };

    // Refs of the current level: (index of the last entry, page).
    std::vector<std::pair<size_t, uint32_t>> refs;
    refs.reserve(leafEnds.size());
    const bool singleLeaf = leafEnds.size() == 1;
    size_t start = 0;
    for (size_t k = 0; k < leafEnds.size(); ++k) {
        const size_t end = leafEnds[k];
        chunk.resize(chunk.size() + kPageSize);
        uint8_t *page = chunk.data() + chunk.size() - kPageSize;
        const uint16_t attributes = singleLeaf ? (kNodeRoot | kNodeLeaf) : kNodeLeaf;
        const uint32_t left = k == 0 ? kNoPage : pageAt(k - 1);
        const uint32_t right = k + 1 == leafEnds.size() ? kNoPage : pageAt(k + 1);
        if (!encodeLeafPacked(attributes, left, right, keys + start * Lz, recnos + start, dups.data() + start,
                              trails.data() + start, static_cast<int>(end - start), L, page))
            return Status::InvalidArgument("index entries do not fit a node");
        if (end > start)
            refs.emplace_back(end - 1, pageAt(k));
        start = end;
        if (chunk.size() >= chunkPages * kPageSize)
            XBASE_TRY(flushChunk(k + 1));
        if (progress && toPercent > fromPercent) {
            const int pct = fromPercent + static_cast<int>((static_cast<uint64_t>(k + 1) *
                                                            static_cast<uint64_t>(toPercent - fromPercent)) /
                                                           leafEnds.size());
            if (pct > reported && pct < toPercent) {
                reported = pct;
                if (!progress->report(pct))
                    return Status::InvalidArgument("Index build cancelled");
            }
        }
    }
    size_t nextPage = leafEnds.size();
    XBASE_TRY(flushChunk(nextPage));
    if (refs.empty())
        refs.emplace_back(0, pageAt(0));

    for (size_t level = 1; level < levelSizes.size(); ++level) {
        const size_t count = levelSizes[level];
        const size_t share = (refs.size() + count - 1) / count;
        std::vector<std::pair<size_t, uint32_t>> upper;
        const size_t first = nextPage;
        for (size_t k = 0; k < count; ++k) {
            const size_t from = k * share;
            const size_t to = std::min(refs.size(), from + share);
            InteriorNode node;
            node.attributes = count == 1 ? kNodeRoot : 0;
            node.left = k == 0 ? kNoPage : pageAt(first + k - 1);
            node.right = k + 1 == count ? kNoPage : pageAt(first + k + 1);
            for (size_t r = from; r < to; ++r) {
                node.keys.append(keys + refs[r].first * Lz, Lz);
                node.recnos.push_back(recnos[refs[r].first]);
                node.children.push_back(refs[r].second);
            }
            chunk.resize(chunk.size() + kPageSize);
            encodeInterior(node, L, chunk.data() + chunk.size() - kPageSize);
            upper.emplace_back(refs[to - 1].first, pageAt(first + k));
        }
        nextPage += count;
        XBASE_TRY(flushChunk(nextPage));
        refs = std::move(upper);
    }
    XBASE_TRY(writeRootPointer(refs.front().second));
    for (uint32_t p : oldPages)
        m_file.release(p);
    return Status::Ok();
}

void CompactTree::checkNode(uint32_t page, int depth, int &leafDepth, std::unordered_set<uint32_t> &visited,
                            std::vector<uint32_t> &leaves, std::vector<std::vector<uint32_t>> &levels,
                            std::string &lastKey, uint32_t &lastRecno, bool &haveLast, uint64_t &entries,
                            std::vector<std::string> &faults, Ref *maxOut)
{
    auto fault = [&](const std::string &text) {
        if (faults.size() < kMaxFaults)
            faults.push_back(faultPrefix() + text);
    };
    const std::string where = "node at " + std::to_string(page);
    if (faults.size() >= kMaxFaults)
        return;
    if (depth > kMaxDepth) {
        fault("the tree is deeper than any valid tree");
        return;
    }
    if (page == 0 || !m_file.isPage(page)) {
        fault("a node pointer (" + std::to_string(page) + ") lies outside the file");
        return;
    }
    if (!visited.insert(page).second) {
        fault(where + " is reached twice");
        return;
    }
    uint8_t buf[kPageSize];
    if (!m_file.readPage(page, buf).ok()) {
        fault(where + " cannot be read");
        return;
    }
    const uint16_t attributes = nodeAttributes(buf);
    const bool isRoot = (attributes & kNodeRoot) != 0;
    if (attributes > 3)
        fault(where + " has unknown attributes");
    if (isRoot != (depth == 0))
        fault(where + (depth == 0 ? " is the root but not marked so" : " is marked as a root"));
    if (levels.size() <= static_cast<size_t>(depth))
        levels.resize(static_cast<size_t>(depth) + 1);
    levels[static_cast<size_t>(depth)].push_back(page);
    const size_t L = static_cast<size_t>(keyLength());
    if (attributes & kNodeLeaf) {
        if (leafDepth < 0)
            leafDepth = depth;
        else if (leafDepth != depth)
            fault(where + " is a leaf at another depth than the others");
        LeafNode leaf;
        const Status s = decodeLeaf(buf, keyLength(), m_pad, leaf);
        if (!s.ok()) {
            fault(where + ": " + s.message());
            return;
        }
        if (leaf.count() == 0 && depth > 0)
            fault(where + " is an empty leaf below the root");
        leaves.push_back(page);
        entries += static_cast<uint64_t>(leaf.count());
        for (int i = 0; i < leaf.count(); ++i) {
            const char *key = leaf.key(i, keyLength());
            const uint32_t recno = leaf.recnos[static_cast<size_t>(i)];
            if (haveLast) {
                const int c = std::memcmp(lastKey.data(), key, L);
                if (c > 0 || (c == 0 && lastRecno >= recno))
                    fault(where + " entry " + std::to_string(i) + " (record " + std::to_string(recno) +
                          ") is out of order");
            }
            lastKey.assign(key, L);
            lastRecno = recno;
            haveLast = true;
        }
        if (maxOut && leaf.count() > 0) {
            maxOut->key.assign(leaf.key(leaf.count() - 1, keyLength()), L);
            maxOut->recno = leaf.recnos.back();
            maxOut->page = page;
        }
        return;
    }
    InteriorNode node;
    const Status s = decodeInterior(buf, keyLength(), node);
    if (!s.ok()) {
        fault(where + ": " + s.message());
        return;
    }
    if (node.count() == 0)
        fault(where + " is an interior node without entries");
    for (int i = 0; i < node.count(); ++i) {
        Ref childMax{std::string(), 0, kNoPage};
        checkNode(node.children[static_cast<size_t>(i)], depth + 1, leafDepth, visited, leaves, levels,
                  lastKey, lastRecno, haveLast, entries, faults, &childMax);
        if (childMax.page != kNoPage && (childMax.recno != node.recnos[static_cast<size_t>(i)] ||
                                         std::memcmp(childMax.key.data(), node.key(i, keyLength()), L) != 0))
            fault(where + " entry " + std::to_string(i) + " is not the last key of its child");
        if (maxOut && i == node.count() - 1)
            *maxOut = childMax;
    }
}

Status CompactTree::check(std::vector<std::string> &faults)
{
    std::unordered_set<uint32_t> visited;
    std::vector<uint32_t> leaves;
    std::vector<std::vector<uint32_t>> levels;
    std::string lastKey;
    uint32_t lastRecno = 0;
    bool haveLast = false;
    uint64_t entries = 0;
    int leafDepth = -1;
    std::vector<std::string> found;
    checkNode(m_root, 0, leafDepth, visited, leaves, levels, lastKey, lastRecno, haveLast, entries, found,
              nullptr);
    // Every level's sibling pointers must chain its nodes from left to right.
    for (const auto &level : levels) {
        for (size_t k = 0; k < level.size() && found.size() < kMaxFaults; ++k) {
            uint8_t buf[kPageSize];
            if (!m_file.readPage(level[k], buf).ok())
                continue;
            const uint32_t left = readLe32(buf + 4);
            const uint32_t right = readLe32(buf + 8);
            const uint32_t wantLeft = k == 0 ? kNoPage : level[k - 1];
            const uint32_t wantRight = k + 1 == level.size() ? kNoPage : level[k + 1];
            if (left != wantLeft || right != wantRight)
                found.push_back(faultPrefix() + "node at " + std::to_string(level[k]) +
                                " has sibling pointers that do not match its neighbours");
        }
    }
    faults.insert(faults.end(), found.begin(), found.end());
    return Status::Ok();
}

} // namespace xbase
