#include "platform/file_bytes.h"

#include <algorithm>

#include "platform/large_array_allocator.h"

namespace luma {

FileBytes::FileBytes(std::size_t size)
    : m_data(size == 0 ? nullptr : LargeArrayAllocator<char>().allocate(size), Release{size}), m_size(size)
{
}

FileBytes::FileBytes(std::string_view bytes) : FileBytes(bytes.size())
{
    std::copy(bytes.begin(), bytes.end(), m_data.get());
}

void FileBytes::Truncate(std::size_t size)
{
    m_size = std::min(size, m_size);
}

void FileBytes::Release::operator()(char* data) const
{
    LargeArrayAllocator<char>().deallocate(data, capacity);
}

}  // namespace luma
