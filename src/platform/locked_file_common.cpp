// What a held file does the same way on every platform: it moves, and it lets go when it ends.

#include <utility>

#include "platform/locked_file.h"

namespace luma {

LockedFile::LockedFile(LockedFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_handle(std::exchange(other.m_handle, kNoHandle))
{
}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept
{
    if (this != &other) {
        Release();
        m_path = std::move(other.m_path);
        m_handle = std::exchange(other.m_handle, kNoHandle);
    }
    return *this;
}

LockedFile::~LockedFile()
{
    Release();
}

}  // namespace luma
