// Mapped record files on POSIX: mmap, and a SIGBUS handler that stands zeros in for the pages a
// file lost while it was mapped.

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <mutex>

#include "file_mapping.h"
#include "mapped_ranges.h"
#include "platform/file_io.h"
#include "platform/mapped_file.h"
#include "platform/posix_write.h"

namespace luma {

struct FileMapping {
    void* base = nullptr;
    std::size_t length = 0;
    int slot = -1;
};

namespace {

// Set once, before the handler is installed, and only read after: what the handler needs and
// may not ask the system for (sysconf is not async-signal-safe), and the handler ours hands
// every other SIGBUS to. Process-wide because a signal handler is.
std::uintptr_t g_pageSize = 4096;
struct sigaction g_previous {};

// A SIGBUS that is not ours goes where it would have gone without us: to the handler installed
// before, or to the default action, which ends the process once this returns and the blocked
// signal is delivered again.
void HandOn(int signal, siginfo_t* info, void* context)
{
    if ((g_previous.sa_flags & SA_SIGINFO) != 0) {
        if (g_previous.sa_sigaction != nullptr) {
            g_previous.sa_sigaction(signal, info, context);
            return;
        }
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
        return;
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

// A read past the end of a mapped file that has since been shrunk faults with BUS_ADRERR. The
// file lost everything from its new end on, so the rest of the mapping from the faulting page
// becomes anonymous zero pages in one call rather than one signal per page; the read resumes
// and sees zeros. Unwritten anonymous pages share the system's zero page: reading them costs
// no memory. mmap is no async-signal-safe function by the letter, but on the systems that
// build this it is a plain system call.
void OnBusError(int signal, siginfo_t* info, void* context)
{
    const int savedErrno = errno;
    if (info != nullptr && info->si_code == BUS_ADRERR) {
        const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
        const int slot = mapped_ranges::Holding(address);
        if (slot >= 0) {
            const std::uintptr_t page = address & ~(g_pageSize - 1);
            const std::uintptr_t end = (mapped_ranges::RangeOf(slot).end + g_pageSize - 1) & ~(g_pageSize - 1);
            if (::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ, MAP_FIXED | MAP_PRIVATE | MAP_ANONYMOUS,
                       -1, 0) != MAP_FAILED) {
                mapped_ranges::SetState(slot, mapped_ranges::State::Replaced);
                errno = savedErrno;
                return;
            }
        }
    }
    HandOn(signal, info, context);
    errno = savedErrno;
}

void InstallGuard()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        const long pageSize = ::sysconf(_SC_PAGESIZE);
        if (pageSize > 0) {
            g_pageSize = static_cast<std::uintptr_t>(pageSize);
        }
        // Learn the handler before replacing it: a SIGBUS in another thread the moment ours is
        // in place must find where to hand on to.
        ::sigaction(SIGBUS, nullptr, &g_previous);
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        // On the alternate stack where a thread has one: the handler ours hands on to may have
        // asked for it (the sanitizers' do).
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, nullptr);
    });
}

MapResult Read(const std::string& path)
{
    ReadResult read = ReadWholeFile(path);
    return {std::move(read.bytes), std::move(read.error)};
}

MapResult MapOpenFile(int fd, const std::string& path)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        return Read(path);  // replaced by something else since the path was looked at
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    auto mapping = std::make_unique<FileMapping>();
    InstallGuard();
    // Shared, not private: the pages are the page cache's and never become a private copy,
    // so a multi-GB file costs the process no memory of its own, and the system can drop
    // and read again any page it needs the room of.
    void* base = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    if (base == MAP_FAILED) {
        return Read(path);  // a file system that does not map, or no room for the addresses
    }
    const int slot = mapped_ranges::Register(base, size);
    if (slot < 0) {
        ::munmap(base, size);
        return Read(path);  // unguarded, a shrinking file could end the process
    }
    // Indexing reads the file once in order, then the operator moves about it. Sequential
    // advice reads further ahead (a 1 GiB file not in the cache: about 10% faster than no
    // advice; cached, no difference) and lets the system drop pages behind the pass first,
    // which a file larger than memory needs. WILLNEED gained nothing and would read a file
    // larger than memory ahead of the pass, only to drop its beginning. A hint: refusal is harmless.
    (void)::madvise(base, size, MADV_SEQUENTIAL);
    *mapping = {base, size, slot};
    const std::string_view bytes(static_cast<const char*>(base), size);
    return {FileBytes(FileMappingHandle(mapping.release()), bytes), std::nullopt};
}

}  // namespace

void FileMappingRelease::operator()(FileMapping* mapping) const noexcept
{
    // Out of the table first: once unmapped, the addresses may be given to someone else.
    mapped_ranges::Unregister(mapping->slot);
    ::munmap(mapping->base, mapping->length);
    delete mapping;
}

bool MappingChangedUnderneath(const FileMapping& mapping) noexcept
{
    return mapped_ranges::StateOf(mapping.slot) == mapped_ranges::State::Replaced;
}

MapResult MapWholeFile(const std::string& path)
{
    const std::filesystem::path file = PathFromUtf8(path);
    struct stat info {};
    // Pipes and devices cannot be mapped, nor can a size be trusted that the system gives as 0
    // (/proc); they are read, as are the missing file and the folder, whose errors that words.
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        return Read(path);
    }
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {FileBytes(), posix::ErrnoText("cannot be opened for reading")};
    }
    MapResult result = MapOpenFile(fd, path);
    ::close(fd);
    return result;
}

}  // namespace luma
