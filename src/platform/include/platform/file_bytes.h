#pragma once
// A file's bytes: in memory, in one buffer of their exact size, or seen through a read-only
// mapping of the file (MapWholeFile). Unlike a std::string sized for a read, the buffer is not
// filled with zeros first: a large file's memory is written once, by the read, not twice.

#include <cstddef>
#include <memory>
#include <string_view>

#include "platform/large_array_allocator.h"

namespace luma {

// A read-only mapping of a file; made, watched and released by the system's part of
// MapWholeFile (mapped_file_posix.cpp, mapped_file_win32.cpp).
struct FileMapping;
struct FileMappingRelease {
    void operator()(FileMapping* mapping) const noexcept;
};
using FileMappingHandle = std::unique_ptr<FileMapping, FileMappingRelease>;

class FileBytes {
public:
    FileBytes() = default;
    // `size` bytes whose contents are left for the caller to write.
    explicit FileBytes(std::size_t size);
    explicit FileBytes(std::string_view bytes);
    // The bytes of a mapping, which `bytes` lies in and which the result keeps alive.
    FileBytes(FileMappingHandle mapping, std::string_view bytes);

    FileBytes(FileBytes&& other) noexcept;
    FileBytes& operator=(FileBytes&& other) noexcept;
    ~FileBytes();

    // For filling allocated bytes only: mapped pages are read-only, so this gives no pointer
    // into them (and asserts) rather than one whose first write would fault.
    char* data();
    const char* data() const { return m_begin; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    std::string_view view() const { return {m_begin, m_size}; }
    operator std::string_view() const { return view(); }
    // Keeps the first `size` bytes; the memory stays as it is.
    void Truncate(std::size_t size);

    bool IsMapped() const { return m_mapping != nullptr; }
    // True once pages of the mapped file were lost (another program shrank it) and zeros were
    // read in their place: the bytes are no longer the file's. Always false for bytes in memory.
    bool ChangedUnderneath() const;

    friend bool operator==(const FileBytes& bytes, std::string_view other) { return bytes.view() == other; }

private:
    LargeBytes m_data;             // allocated bytes, or none when mapped
    FileMappingHandle m_mapping;   // the mapping, or none when allocated
    const char* m_begin = nullptr;
    std::size_t m_size = 0;
};

}  // namespace luma
