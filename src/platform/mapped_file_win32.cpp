// Mapped record files on Windows: a read-only view, and a vectored exception handler that
// stands zeros in for a view whose file lost pages while it was mapped.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>

#include "file_mapping.h"
#include "mapped_ranges.h"
#include "platform/file_io.h"
#include "platform/mapped_file.h"

namespace luma {

struct FileMapping {
    void* base = nullptr;
    int slot = -1;
};

namespace {

using mapped_ranges::State;

bool IsCommittedPrivate(const void* address)
{
    MEMORY_BASIC_INFORMATION region{};
    return ::VirtualQuery(address, &region, sizeof region) == sizeof region && region.State == MEM_COMMIT &&
           region.Type == MEM_PRIVATE;
}

// A read of the view that could not be served: an in-page error, or under Wine, where a file
// another (Unix) program shrank loses its pages, an access violation on reading. Writes to
// the read-only view are faults of the program's own and are left alone.
bool IsLostRead(const EXCEPTION_RECORD& record)
{
    if (record.NumberParameters < 2) {
        return false;
    }
    return record.ExceptionCode == EXCEPTION_IN_PAGE_ERROR ||
           (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.ExceptionInformation[0] == 0);
}

// Windows refuses to shrink a file while a view of it exists, but a view of a file on a
// network share or a removable disk can still fail to page in. The whole view then becomes
// committed zeroed memory at the same addresses and the read is resumed; should another
// allocation take the addresses between the two calls, the fault goes on as it would have.
// The first thread to fault does the work; others faulting in the same view meanwhile (also
// in the moment it is unmapped) wait for it.
LONG CALLBACK OnException(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    if (!IsLostRead(*record)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const auto address = static_cast<std::uintptr_t>(record->ExceptionInformation[1]);
    const int slot = mapped_ranges::Holding(address);
    if (slot < 0) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    if (!mapped_ranges::ChangeState(slot, State::Intact, State::Replacing)) {
        while (mapped_ranges::StateOf(slot) == State::Replacing) {
            ::Sleep(0);
        }
        return IsCommittedPrivate(reinterpret_cast<const void*>(address)) ? EXCEPTION_CONTINUE_EXECUTION
                                                                         : EXCEPTION_CONTINUE_SEARCH;
    }
    const mapped_ranges::Range range = mapped_ranges::RangeOf(slot);
    void* base = reinterpret_cast<void*>(range.begin);
    const bool replaced = ::UnmapViewOfFile(base) &&
                          ::VirtualAlloc(base, range.end - range.begin, MEM_RESERVE | MEM_COMMIT, PAGE_READONLY) == base;
    mapped_ranges::SetState(slot, replaced ? State::Replaced : State::Intact);
    return replaced ? EXCEPTION_CONTINUE_EXECUTION : EXCEPTION_CONTINUE_SEARCH;
}

void InstallGuard()
{
    static std::once_flag installed;
    std::call_once(installed, [] { ::AddVectoredExceptionHandler(1, OnException); });
}

MapResult Read(const std::string& path)
{
    ReadResult read = ReadWholeFile(path);
    return {std::move(read.bytes), std::move(read.error)};
}

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

}  // namespace

void FileMappingRelease::operator()(FileMapping* mapping) const noexcept
{
    // Out of the table first: once released, the addresses may be given to someone else.
    const bool replaced = mapped_ranges::StateOf(mapping->slot) == State::Replaced;
    mapped_ranges::Unregister(mapping->slot);
    if (replaced) {
        ::VirtualFree(mapping->base, 0, MEM_RELEASE);
    } else {
        ::UnmapViewOfFile(mapping->base);
    }
    delete mapping;
}

bool MappingChangedUnderneath(const FileMapping& mapping) noexcept
{
    return mapped_ranges::StateOf(mapping.slot) == State::Replaced;
}

MapResult MapWholeFile(const std::string& path)
{
    const std::filesystem::path file = PathFromUtf8(path);
    std::error_code error;
    // Folders, devices and missing files are read, which words their errors; an empty file
    // cannot be mapped and needs no mapping.
    if (!std::filesystem::is_regular_file(file, error) || std::filesystem::file_size(file, error) == 0 || error) {
        return Read(path);
    }
    // Others may go on reading, writing, renaming and deleting the file: the program only
    // reads it, and a writer's change is noticed by its fingerprint.
    const UniqueHandle handle(::CreateFileW(file.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (handle.get() == INVALID_HANDLE_VALUE) {
        return {FileBytes(), "cannot be opened for reading"};
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle.get(), &size) || size.QuadPart <= 0) {
        return Read(path);
    }
    auto mapping = std::make_unique<FileMapping>();
    InstallGuard();
    // The view keeps the section, and the section the file, open once the handles are closed.
    const UniqueHandle section(::CreateFileMappingW(handle.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    void* base = section ? ::MapViewOfFile(section.get(), FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (base == nullptr) {
        return Read(path);
    }
    const auto length = static_cast<std::size_t>(size.QuadPart);
    const int slot = mapped_ranges::Register(base, length);
    if (slot < 0) {
        ::UnmapViewOfFile(base);
        return Read(path);  // unguarded, a view that fails to page in could end the process
    }
    *mapping = {base, slot};
    const std::string_view bytes(static_cast<const char*>(base), length);
    return {FileBytes(FileMappingHandle(mapping.release()), bytes), std::nullopt};
}

}  // namespace luma
