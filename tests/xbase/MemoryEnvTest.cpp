#include "MemoryEnv.h"

#include <gtest/gtest.h>

using namespace xbase;

namespace {

std::string bytesOf(MemoryEnv &env, const std::string &path)
{
    std::string out;
    EXPECT_TRUE(env.fileBytes(path, out)) << path;
    return out;
}

std::unique_ptr<File> openFile(MemoryEnv &env, const std::string &path, FileAccess access)
{
    std::unique_ptr<File> f;
    EXPECT_TRUE(env.open(path, access, f).ok()) << path;
    return f;
}

} // namespace

TEST(MemoryEnv, FilesBehaveLikeTheSystemsFiles)
{
    MemoryEnv env;
    std::unique_ptr<File> missing;
    EXPECT_EQ(env.open("A", FileAccess::ReadWrite, missing).code(), StatusCode::NotFound);
    auto a = openFile(env, "A", FileAccess::Create);
    ASSERT_TRUE(a->writeAt(4, "xy", 2).ok()); // the gap reads as zeros
    uint64_t size = 0;
    ASSERT_TRUE(a->size(size).ok());
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(bytesOf(env, "A"), std::string("\0\0\0\0xy", 6));
    char buf[8];
    size_t got = 0;
    ASSERT_TRUE(a->readSomeAt(5, buf, sizeof buf, got).ok());
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(a->readAt(5, buf, 2).code(), StatusCode::Corruption);
    ASSERT_TRUE(a->truncate(2).ok());
    EXPECT_EQ(env.usedBytes(), 2u);

    // An open file keeps its bytes when its name is renamed over or removed.
    env.setFile("B", "old");
    auto b = openFile(env, "B", FileAccess::ReadOnly);
    ASSERT_TRUE(env.rename("A", "B").ok());
    EXPECT_FALSE(env.exists("A"));
    EXPECT_EQ(bytesOf(env, "B"), std::string(2, '\0'));
    ASSERT_TRUE(b->readAt(0, buf, 3).ok());
    EXPECT_EQ(std::string(buf, 3), "old");
    EXPECT_EQ(b->writeAt(0, "x", 1).code(), StatusCode::IoError); // opened read-only
    ASSERT_TRUE(env.remove("B").ok());
    EXPECT_EQ(env.remove("B").code(), StatusCode::NotFound);
    EXPECT_EQ(env.fileNames(), std::vector<std::string>{});
}

TEST(MemoryEnv, LocksConflictBetweenHandles)
{
    MemoryEnv env;
    env.setFile("T", "data");
    auto first = openFile(env, "T", FileAccess::ReadWrite);
    auto second = openFile(env, "T", FileAccess::ReadWrite);
    ASSERT_TRUE(first->lock(FileLockKind::Shared).ok());
    ASSERT_TRUE(second->lock(FileLockKind::Shared).ok());
    EXPECT_EQ(second->lock(FileLockKind::Exclusive).code(), StatusCode::Locked);
    ASSERT_TRUE(first->lock(FileLockKind::None).ok());
    EXPECT_TRUE(second->lock(FileLockKind::Exclusive).ok());
    EXPECT_EQ(first->lock(FileLockKind::Shared).code(), StatusCode::Locked);

    ASSERT_TRUE(first->lockRange(100).ok());
    EXPECT_EQ(second->lockRange(100).code(), StatusCode::Locked);
    EXPECT_TRUE(second->lockRange(101).ok());
    first->unlockRange(100);
    EXPECT_TRUE(second->lockRange(100).ok());
    // Closing a handle lets go of its locks.
    second.reset();
    EXPECT_TRUE(first->lock(FileLockKind::Exclusive).ok());
    EXPECT_TRUE(first->lockRange(100).ok());
}

struct FaultCase {
    const char *name;
    MemoryEnv::Faults faults;
    std::string afterFirst;  // "A" after the first write of "0123456789" at 0
    std::string afterSecond; // after a second write of "abcdefghij" at 10
    bool secondFails;
};

class MemoryEnvFaults : public ::testing::TestWithParam<FaultCase>
{
};

TEST_P(MemoryEnvFaults, FailTheWritesTheyName)
{
    const FaultCase c = GetParam();
    MemoryEnv env;
    env.setFile("A", "");
    env.setFaults(c.faults);
    auto a = openFile(env, "A", FileAccess::ReadWrite);
    const Status first = a->writeAt(0, "0123456789", 10);
    EXPECT_EQ(bytesOf(env, "A"), c.afterFirst);
    const Status second = a->writeAt(10, "abcdefghij", 10);
    EXPECT_EQ(second.ok(), !c.secondFails) << second.message();
    EXPECT_EQ(bytesOf(env, "A"), c.afterSecond);
    EXPECT_EQ(env.hasFailed(), !first.ok() || !second.ok());
    EXPECT_EQ(env.writeCount(), 2u);
}

MemoryEnv::Faults faults(uint64_t failWrite, bool shortWrite, bool later, uint64_t space)
{
    MemoryEnv::Faults f;
    f.failWrite = failWrite;
    f.shortWrite = shortWrite;
    f.failLaterWrites = later;
    f.spaceLimit = space;
    return f;
}

constexpr uint64_t kNoLimit = std::numeric_limits<uint64_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoryEnvFaults,
    ::testing::Values(
        FaultCase{"none", faults(0, false, false, kNoLimit), "0123456789", "0123456789abcdefghij", false},
        FaultCase{"first", faults(1, false, false, kNoLimit), "", std::string(10, '\0') + "abcdefghij",
                  false},
        FaultCase{"second", faults(2, false, false, kNoLimit), "0123456789", "0123456789", true},
        FaultCase{"short", faults(2, true, false, kNoLimit), "0123456789", "0123456789abcde", true},
        FaultCase{"gone", faults(1, true, true, kNoLimit), "01234", "01234", true},
        FaultCase{"full", faults(0, false, false, 14), "0123456789", "0123456789abcd", true}),
    [](const ::testing::TestParamInfo<FaultCase> &p) { return std::string(p.param.name); });

TEST(MemoryEnv, FailsSyncsRenamesAndCreationsOnRequest)
{
    MemoryEnv env;
    env.setFile("A", "a");
    MemoryEnv::Faults f;
    f.failSync = true;
    f.failRename = 2;
    env.setFaults(f);
    auto a = openFile(env, "A", FileAccess::ReadWrite);
    EXPECT_EQ(a->sync().code(), StatusCode::IoError);
    ASSERT_TRUE(env.rename("A", "B").ok());
    EXPECT_EQ(env.rename("B", "C").code(), StatusCode::IoError);
    EXPECT_TRUE(env.exists("B"));
    EXPECT_TRUE(env.rename("B", "C").ok());
    EXPECT_EQ(env.renameCount(), 3u);

    // Opening with Create is a write: it can fail, and a device that went away refuses all.
    f = MemoryEnv::Faults();
    f.failWrite = 1;
    f.failLaterWrites = true;
    env.setFaults(f);
    std::unique_ptr<File> created;
    EXPECT_EQ(env.open("D", FileAccess::Create, created).code(), StatusCode::IoError);
    EXPECT_FALSE(env.exists("D"));
    EXPECT_EQ(env.rename("C", "E").code(), StatusCode::IoError);
    EXPECT_EQ(env.remove("C").code(), StatusCode::IoError);
    env.clearFaults();
    EXPECT_TRUE(env.remove("C").ok());
}

TEST(MemoryEnv, SnapshotsRestoreEveryFile)
{
    MemoryEnv env;
    env.setFile("A", "first");
    env.setFile("B", "second");
    const MemoryEnv::Snapshot before = env.snapshot();
    auto a = openFile(env, "A", FileAccess::ReadWrite);
    ASSERT_TRUE(a->writeAt(0, "FIRST", 5).ok());
    ASSERT_TRUE(env.remove("B").ok());
    env.setFile("C", "third");
    env.restore(before);
    EXPECT_EQ(env.snapshot(), before);
    a.reset(); // an open file's bytes take room until it closes
    EXPECT_EQ(env.usedBytes(), 11u);
}
