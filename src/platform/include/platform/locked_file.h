#pragma once
// A small file one process holds exclusively for as long as it keeps this object: the note that
// ties a working copy to its session. The hold ends with the process, however the process ends,
// so whether a file can be held tells whether its owner still runs, also when process ids are
// reused. POSIX: flock on the open file; Windows: LockFileEx on a byte past its end. Either way
// the contents stay readable by anyone, and only another hold is refused.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace luma {

struct LockedFileResult;

class LockedFile {
public:
    // Writes a new file at `path` holding `bytes` and holds it. The file appears whole and already
    // held: a temporary sibling is written and held, then renamed to `path`.
    static LockedFileResult Create(const std::string& path, std::string_view bytes);
    // Holds an existing file; nothing when it is missing, another holder (this process's own
    // included) has it, or on POSIX when it is a symbolic link or another user's.
    static std::optional<LockedFile> TryHold(const std::string& path);

    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&& other) noexcept;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    // Lets go of the file and leaves it where it is.
    ~LockedFile();

    const std::string& Path() const { return m_path; }
    // The file's bytes, read through the hold. Nothing when they cannot be read.
    std::optional<std::string> ReadAll() const;
    // Overwrites bytes at `offset` in one write; the file grows when they reach past its end and
    // never shrinks. A file this process created can be written; one it only holds (TryHold)
    // cannot. False when nothing was written.
    bool WriteAt(std::uint64_t offset, std::string_view bytes);
    // Deletes the file, then lets go of it, so that no one can take it in between.
    void Remove();

private:
#ifdef _WIN32
    using Handle = void*;
    static constexpr Handle kNoHandle = nullptr;
#else
    using Handle = int;
    static constexpr Handle kNoHandle = -1;
#endif
    LockedFile(std::string path, Handle handle) : m_path(std::move(path)), m_handle(handle) {}
    void Release();

    std::string m_path;
    Handle m_handle = kNoHandle;
};

struct LockedFileResult {
    std::optional<LockedFile> file;
    std::optional<std::string> error;  // set when no file was created
};

}  // namespace luma
