#include "platform/mapped_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "test_files.h"
#include "platform/file_io.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace luma {
namespace {

namespace fs = std::filesystem;

// Bytes no two pages of which are alike, so that a page read from the wrong place shows.
std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 2654435761u >> 24 | 1);
    }
    return bytes;
}

// Shrinks the file through a handle of its own, as another program would; false when the
// system refuses (Windows does while a view of the file exists).
bool ShrinkFile(const std::string& path, std::size_t size)
{
#ifdef _WIN32
    HANDLE file = ::CreateFileW(PathFromUtf8(path).c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool shrunk = ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
    ::CloseHandle(file);
    return shrunk;
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    const bool shrunk = fd >= 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return shrunk;
#endif
}

TEST(MapWholeFile, GivesTheFilesBytesOrSaysWhatIsWrong)
{
    test::TempDir dir;
    // Not a whole number of pages, and more than a huge page.
    const std::string large = Pattern((std::size_t{3} << 20) + 17);
    MapResult mapped = MapWholeFile(dir.Write("large.iso", large));
    ASSERT_FALSE(mapped.error);
    EXPECT_TRUE(mapped.bytes.IsMapped());
    EXPECT_TRUE(mapped.bytes == large);
    EXPECT_FALSE(mapped.bytes.ChangedUnderneath());

    // Shared as the record library shares it; the moved-from bytes are empty, not dangling.
    auto shared = std::make_shared<const FileBytes>(std::move(mapped.bytes));
    EXPECT_TRUE(mapped.bytes.empty());
    EXPECT_EQ(mapped.bytes.data(), nullptr);
    EXPECT_TRUE(*shared == large);
    FileBytes truncated = MapWholeFile(PathToUtf8(dir.path() / "large.iso")).bytes;
    truncated.Truncate(5);
    EXPECT_EQ(truncated.view(), large.substr(0, 5));

    const std::string binary("\0\x1D\x1E\xFF", 4);
    EXPECT_EQ(MapWholeFile(dir.Write("tiny.iso", binary)).bytes, binary);

    const MapResult empty = MapWholeFile(dir.Write("empty.iso", ""));
    EXPECT_FALSE(empty.error);
    EXPECT_TRUE(empty.bytes.empty());
    EXPECT_FALSE(empty.bytes.IsMapped());

    EXPECT_EQ(MapWholeFile(PathToUtf8(dir.path() / "none.iso")).error, "no such file");
    EXPECT_EQ(MapWholeFile(PathToUtf8(dir.path())).error, "is a folder, not a file");
    const std::string unicodeName = PathToUtf8(dir.path() / PathFromUtf8("Отобрано.iso"));
    std::ofstream(PathFromUtf8(unicodeName), std::ios::binary) << large;
    EXPECT_TRUE(MapWholeFile(unicodeName).bytes == large);

#ifndef _WIN32
    // A pipe cannot be mapped: it is read.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "piped", 5), 5);
    ::close(ends[1]);
    const MapResult piped = MapWholeFile("/dev/fd/" + std::to_string(ends[0]));
    ::close(ends[0]);
    EXPECT_FALSE(piped.error);
    EXPECT_EQ(piped.bytes, "piped");
    EXPECT_FALSE(piped.bytes.IsMapped());
#endif
}

TEST(MapWholeFile, AFileShrunkUnderTheMappingReadsAsZerosAndSaysSo)
{
    test::TempDir dir;
    const std::string contents = Pattern(16 * 4096 + 100);
    const std::string path = dir.Write("shrinking.iso", contents);
    const MapResult other = MapWholeFile(dir.Write("other.iso", contents));
    const FileBytes allocated(std::string_view("in memory"));
    MapResult mapped = MapWholeFile(path);
    ASSERT_TRUE(mapped.bytes.IsMapped());
    ASSERT_TRUE(mapped.bytes == contents);  // every page read once before the file shrinks

    // The mapping keeps the first `kept` bytes and reads zeros after them; the file keeps `remaining`.
    std::size_t kept = 1000;
    std::string_view remaining = std::string_view(contents).substr(0, kept);
    if (!ShrinkFile(path, kept)) {
#ifdef _WIN32
        // Windows (and Wine) keep a mapped file whole: nothing is lost.
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_USER_MAPPED_FILE));
        EXPECT_TRUE(mapped.bytes == contents);
        EXPECT_FALSE(mapped.bytes.ChangedUnderneath());
        // A view can still fail to page in, its file on a network share that has gone away:
        // the system then raises this for the read, as here.
        constexpr ULONG_PTR kDeviceNotConnected = 0xC000009D;
        const ULONG_PTR lostRead[] = {0, reinterpret_cast<ULONG_PTR>(mapped.bytes.view().data() + 5000),
                                      kDeviceNotConnected};
        ::RaiseException(EXCEPTION_IN_PAGE_ERROR, 0, 3, lostRead);
        kept = 0;
        remaining = contents;
#else
        FAIL() << "cannot shrink " << path;
#endif
    }
    const std::string_view bytes = mapped.bytes.view();
    EXPECT_EQ(bytes.substr(0, kept), std::string_view(contents).substr(0, kept));
    EXPECT_EQ(bytes.find_first_not_of('\0', kept), std::string_view::npos) << "the lost bytes read as zeros";
    EXPECT_EQ(bytes.size(), contents.size());
    EXPECT_TRUE(mapped.bytes.ChangedUnderneath());
    EXPECT_FALSE(other.bytes.ChangedUnderneath());
    EXPECT_TRUE(other.bytes == contents);
    EXPECT_FALSE(allocated.ChangedUnderneath());

    // The mapping's place in the guard's table is given back clean.
    mapped.bytes = FileBytes();
    const MapResult again = MapWholeFile(path);
    EXPECT_EQ(again.bytes.view(), remaining);
    EXPECT_FALSE(again.bytes.ChangedUnderneath());

#ifndef _WIN32
    // A fault in memory the guard does not watch still ends the process, as without the guard.
    EXPECT_DEATH(
        {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            auto* raw = static_cast<volatile const char*>(
                ::mmap(nullptr, contents.size(), PROT_READ, MAP_SHARED, fd, 0));
            ::ftruncate(::open(path.c_str(), O_WRONLY | O_CLOEXEC), 0);
            std::fprintf(stderr, "%d\n", raw[contents.size() - 1]);
        },
        "");
#endif
}

TEST(FingerprintOfFile, NoticesAChangeAtTheEndAndInSizeButNotARereading)
{
    test::TempDir dir;
    std::string contents = Pattern((std::size_t{5} << 20) + 3);
    const std::string path = dir.Write("records.iso", contents);
    const auto first = FingerprintOfFile(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, contents.size());
    EXPECT_EQ(FingerprintOfFile(path), first);

    // One byte in the last MiB, the time of the change put back: only the hash can tell.
    const auto modified = fs::last_write_time(PathFromUtf8(path));
    contents[contents.size() - 1000] ^= 0x40;
    dir.Write("records.iso", contents);
    fs::last_write_time(PathFromUtf8(path), modified);
    const auto changed = FingerprintOfFile(path);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->size, first->size);
    EXPECT_EQ(changed->modified, first->modified);
    EXPECT_NE(changed->hash, first->hash);

    dir.Write("records.iso", contents + "x");
    fs::last_write_time(PathFromUtf8(path), modified);
    const auto longer = FingerprintOfFile(path);
    ASSERT_TRUE(longer);
    EXPECT_EQ(longer->size, contents.size() + 1);

    const auto small = FingerprintOfFile(dir.Write("small.iso", "abc"));
    ASSERT_TRUE(small);
    EXPECT_EQ(small->size, 3u);
    EXPECT_FALSE(FingerprintOfFile(PathToUtf8(dir.path() / "none.iso")));
    EXPECT_FALSE(FingerprintOfFile(PathToUtf8(dir.path())));
}

}  // namespace
}  // namespace luma
