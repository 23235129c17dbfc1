#include "RecordBitmap.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using xbase::RecordBitmap;

namespace {

// Checks every query of `bits` against the reference set.
void expectSame(const RecordBitmap &bits, const std::set<uint32_t> &ref, uint32_t size)
{
    ASSERT_EQ(bits.size(), size);
    EXPECT_EQ(bits.count(), ref.size());
    for (uint32_t r = 0; r <= size + 1; ++r) {
        EXPECT_EQ(bits.test(r), ref.count(r) == 1) << r;
        auto next = ref.lower_bound(r);
        EXPECT_EQ(bits.nextSet(r), next == ref.end() ? 0u : *next) << r;
        auto after = ref.upper_bound(r);
        EXPECT_EQ(bits.prevSet(r), after == ref.begin() ? 0u : *std::prev(after)) << r;
    }
}

} // namespace

class RecordBitmapSizes : public ::testing::TestWithParam<uint32_t>
{
};

// Sizes around the 64-bit word boundaries, where the tail bits must stay clear.
TEST_P(RecordBitmapSizes, SetOperationsAgreeWithAReferenceSet)
{
    const uint32_t size = GetParam();
    std::mt19937 rng(size);
    RecordBitmap a(size), b(size);
    std::set<uint32_t> ra, rb;
    for (uint32_t r = 0; r <= size + 2; ++r) {
        if (rng() % 3 == 0) {
            a.set(r); // 0 and numbers past the size are ignored
            if (r >= 1 && r <= size)
                ra.insert(r);
        }
        if (rng() % 2 == 0) {
            b.set(r);
            if (r >= 1 && r <= size)
                rb.insert(r);
        }
    }
    expectSame(a, ra, size);

    RecordBitmap inverted = a;
    inverted.invert();
    std::set<uint32_t> rInverted;
    for (uint32_t r = 1; r <= size; ++r)
        if (!ra.count(r))
            rInverted.insert(r);
    expectSame(inverted, rInverted, size);

    RecordBitmap both = a;
    both.andWith(b);
    RecordBitmap either = a;
    either.orWith(b);
    std::set<uint32_t> rBoth, rEither = rb;
    for (uint32_t r : ra) {
        if (rb.count(r))
            rBoth.insert(r);
        rEither.insert(r);
    }
    expectSame(both, rBoth, size);
    expectSame(either, rEither, size);

    RecordBitmap all(size);
    all.setAll();
    EXPECT_EQ(all.count(), size);
    all.reset(size);
    EXPECT_EQ(all.prevSet(size + 5), size > 1 ? size - 1 : 0u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RecordBitmapSizes,
                         ::testing::Values(0u, 1u, 62u, 63u, 64u, 65u, 127u, 128u, 300u));
