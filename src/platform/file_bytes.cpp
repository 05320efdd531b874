#include "platform/file_bytes.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "file_mapping.h"

namespace luma {

FileBytes::FileBytes(std::size_t size)
    : m_data(AllocateLargeBytes(size)), m_begin(m_data.get()), m_size(size)
{
}

FileBytes::FileBytes(std::string_view bytes) : FileBytes(bytes.size())
{
    std::copy(bytes.begin(), bytes.end(), m_data.get());
}

FileBytes::FileBytes(FileMappingHandle mapping, std::string_view bytes)
    : m_mapping(std::move(mapping)), m_begin(bytes.data()), m_size(bytes.size())
{
}

// A moved-from FileBytes is empty, not a view of memory it no longer owns.
FileBytes::FileBytes(FileBytes&& other) noexcept
    : m_data(std::move(other.m_data)), m_mapping(std::move(other.m_mapping)),
      m_begin(std::exchange(other.m_begin, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept
{
    if (this != &other) {
        m_data = std::move(other.m_data);
        m_mapping = std::move(other.m_mapping);
        m_begin = std::exchange(other.m_begin, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

FileBytes::~FileBytes() = default;

char* FileBytes::data()
{
    assert(!m_mapping && "mapped bytes are read-only");
    return m_data.get();
}

void FileBytes::Truncate(std::size_t size)
{
    m_size = std::min(size, m_size);
}

bool FileBytes::ChangedUnderneath() const
{
    return m_mapping && MappingChangedUnderneath(*m_mapping);
}

}  // namespace luma
