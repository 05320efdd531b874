#include "platform/file_ops.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace luma {
namespace {

namespace fs = std::filesystem;

TEST(CreateTempFile, MakesNewEmptyFilesWithThePrefixOrNamesTheProblem)
{
    test::TempDir dir;
    {
        test::TempFolderGuard tmp(dir.path().string());
        const NewFileResult first = CreateTempFile("NEW");
        const NewFileResult second = CreateTempFile("NEW");
        ASSERT_FALSE(first.error || second.error);
        EXPECT_NE(first.path, second.path);
        for (const std::string& path : {first.path, second.path}) {
            EXPECT_EQ(fs::path(path).parent_path(), dir.path());
            EXPECT_EQ(fs::path(path).filename().string().rfind("NEW", 0), 0u);
            EXPECT_EQ(fs::file_size(path), 0u);
        }
    }
    test::TempFolderGuard tmp((dir.path() / "missing").string());
    const NewFileResult failed = CreateTempFile("NEW");
    EXPECT_TRUE(failed.error && failed.path.empty());
}

TEST(AppendFolderSeparator, AddsOneOnlyWhereMissing)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
#ifdef _WIN32
        {"", ""}, {"C:\\data", "C:\\data\\"}, {"C:\\data\\", "C:\\data\\"}, {"D:/x", "D:/x\\"}};
#else
        {"", ""}, {"/data", "/data/"}, {"/data/", "/data/"}, {"rel", "rel/"}};
#endif
    for (const auto& [folder, expected] : cases) {
        std::string changed = folder;
        AppendFolderSeparator(changed);
        EXPECT_EQ(changed, expected);
    }
}

}  // namespace
}  // namespace luma
