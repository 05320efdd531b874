#include "platform/file_io.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace luma {
namespace {

namespace fs = std::filesystem;

TEST(ReplaceFileAtomically, CreatesAndReplacesWithoutLeavingTemporaries)
{
    test::TempDir dir;
    const std::string path = PathToUtf8(dir.path() / PathFromUtf8("Результаты.iso"));
    ASSERT_FALSE(ReplaceFileAtomically(path, "first"));
    EXPECT_EQ(test::ReadBytes(path), "first");
#ifndef _WIN32
    fs::permissions(PathFromUtf8(path), fs::perms::owner_read | fs::perms::owner_write);
#endif
    ASSERT_FALSE(ReplaceFileAtomically(path, std::string("second\0bytes", 12)));
    EXPECT_EQ(test::ReadBytes(path), std::string("second\0bytes", 12));
#ifndef _WIN32
    EXPECT_EQ(fs::status(PathFromUtf8(path)).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write) << "the file keeps its permissions";
#endif
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ReplaceFileAtomically, PiecesAreWrittenOneAfterAnother)
{
    test::TempDir dir;
    const std::string path = PathToUtf8(dir.path() / "work.iso");
    ASSERT_FALSE(ReplaceFileAtomically(path, "old contents"));
    // More pieces than one gathered write takes, some of them empty.
    std::vector<std::string> pieces;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        pieces.push_back(i % 7 == 0 ? std::string() : std::to_string(i) + std::string(static_cast<std::size_t>(i % 300), 'x'));
        expected += pieces.back();
    }
    const std::vector<std::string_view> views(pieces.begin(), pieces.end());
    for (const Durability durability : {Durability::ProcessCrashOnly, Durability::FlushToDisk}) {
        ASSERT_FALSE(ReplaceFileAtomically(path, views, durability));
        EXPECT_EQ(test::ReadBytes(path), expected);
        ASSERT_FALSE(ReplaceFileAtomically(path, std::vector<std::string_view>{}, durability));
        EXPECT_EQ(test::ReadBytes(path), "");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ReplaceFileAtomically, FailedRenameKeepsWhatWasThereAndCleansUp)
{
    test::TempDir dir;
    const fs::path occupied = dir.path() / "occupied.iso";
    fs::create_directories(occupied / "inside");
    const auto error = ReplaceFileAtomically(occupied.string(), "new");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("cannot replace"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(occupied / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
        << "the temporary sibling is removed";
}

TEST(ReplaceFileAtomically, MissingFolderIsAnError)
{
    test::TempDir dir;
    const auto error = ReplaceFileAtomically((dir.path() / "gone" / "x.iso").string(), "data");
    ASSERT_TRUE(error);
    EXPECT_FALSE(fs::exists(dir.path() / "gone"));
}

TEST(ReadWholeFile, ReadsBinaryAndNamesWhatIsWrong)
{
    test::TempDir dir;
    const std::string bytes("a\0\x1D\xFF", 4);
    EXPECT_EQ(ReadWholeFile(dir.Write("bin", bytes)).bytes, bytes);
    EXPECT_EQ(*ReadWholeFile((dir.path() / "none").string()).error, "no such file");
    EXPECT_EQ(*ReadWholeFile(dir.path().string()).error, "is a folder, not a file");

    // A large file is read in two halves at once: every byte in its place, none twice. Its
    // length is odd, so that the halves differ.
    std::string large(std::size_t{20} << 20 | 1, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<char>(i * 2654435761u >> 24);
    }
    EXPECT_TRUE(ReadWholeFile(dir.Write("large", large)).bytes == large);
}

}  // namespace
}  // namespace luma
