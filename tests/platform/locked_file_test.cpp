#include "platform/locked_file.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace luma {
namespace {

using test::ReadBytes;
using test::TempDir;

TEST(LockedFile, IsCreatedWholeAndHeldUntilLetGo)
{
    TempDir dir;
    const std::string path = (dir.path() / "NEW1.luma").string();
    {
        LockedFileResult created = LockedFile::Create(path, "first\n");
        ASSERT_TRUE(created.file) << created.error.value_or("");
        EXPECT_EQ(ReadBytes(path), "first\n") << "anyone may read it";
        EXPECT_EQ(created.file->ReadAll(), "first\n");
        EXPECT_FALSE(LockedFile::TryHold(path)) << "a second hold, even in the same process";
    }
    std::optional<LockedFile> held = LockedFile::TryHold(path);
    ASSERT_TRUE(held) << "the hold ends with the object; the file stays";
    EXPECT_EQ(held->ReadAll(), "first\n");
    EXPECT_FALSE(LockedFile::TryHold(path));
    held->Remove();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(LockedFile::TryHold(path)) << "nothing to hold";
}

TEST(LockedFile, RemoveDeletesTheFileAndEndsTheHold)
{
    TempDir dir;
    const std::string path = (dir.path() / "NEW4.luma").string();
    LockedFileResult created = LockedFile::Create(path, "note");
    ASSERT_TRUE(created.file);
    created.file->Remove();
    EXPECT_FALSE(std::filesystem::exists(path));
    const LockedFileResult again = LockedFile::Create(path, "again");
    EXPECT_TRUE(again.file) << "the name is free once more";
}

TEST(LockedFile, CreateReplacesAnUnheldFileAndLeavesNoSiblings)
{
    TempDir dir;
    const std::string path = dir.Write("NEW2.luma", "stale");
    LockedFileResult created = LockedFile::Create(path, "fresh");
    ASSERT_TRUE(created.file);
    EXPECT_EQ(ReadBytes(path), "fresh");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    LockedFileResult inMissingFolder = LockedFile::Create((dir.path() / "gone" / "x.luma").string(), "x");
    EXPECT_FALSE(inMissingFolder.file);
    EXPECT_TRUE(inMissingFolder.error);
}

TEST(LockedFile, RemoveLeavesAFileThatHasTakenTheNameSinceAlone)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows replaces no file that is open";
#endif
    TempDir dir;
    const std::string path = (dir.path() / "NEW3.luma").string();
    LockedFileResult created = LockedFile::Create(path, "mine");
    ASSERT_TRUE(created.file);
    std::filesystem::rename(dir.Write("other", "theirs"), path);
    created.file->Remove();
    EXPECT_EQ(ReadBytes(path), "theirs");
}

}  // namespace
}  // namespace luma
