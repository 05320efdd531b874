#include "platform/file_bytes.h"

#include <algorithm>

namespace luma {

FileBytes::FileBytes(std::size_t size)
    : m_data(AllocateLargeBytes(size)), m_size(size)
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

}  // namespace luma
