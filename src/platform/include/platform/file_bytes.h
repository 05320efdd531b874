#pragma once
// A file's bytes in memory, in one buffer of their exact size. Unlike a std::string sized for
// a read, the buffer is not filled with zeros first: a large file's memory is written once, by
// the read, not twice.

#include <cstddef>
#include <string_view>

#include "platform/large_array_allocator.h"

namespace luma {

class FileBytes {
public:
    FileBytes() = default;
    // `size` bytes whose contents are left for the caller to write.
    explicit FileBytes(std::size_t size);
    explicit FileBytes(std::string_view bytes);

    char* data() { return m_data.get(); }
    const char* data() const { return m_data.get(); }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    std::string_view view() const { return {m_data.get(), m_size}; }
    operator std::string_view() const { return view(); }
    // Keeps the first `size` bytes; the memory stays as it is.
    void Truncate(std::size_t size);
    // Whether bytes of a mapped file were lost to another program shrinking it.
    bool ChangedUnderneath() const { return false; }

    friend bool operator==(const FileBytes& bytes, std::string_view other) { return bytes.view() == other; }

private:
    LargeBytes m_data;
    std::size_t m_size = 0;
};

}  // namespace luma
