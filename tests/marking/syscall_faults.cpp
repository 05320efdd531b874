// The replaced C library functions. Each asks Intercept whether to go ahead, then calls the
// C library's own function, found with dlsym(RTLD_NEXT): a disturbed call fails as the kernel
// would fail it, so the program under test takes its real error paths.

#include "syscall_faults.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <map>
#include <optional>
#include <utility>

namespace luma::test {

struct OpenFile {
    std::string path;
    bool writable = false;
    bool written = false;
};

struct FaultState {
    FaultPlan plan;
    std::vector<SeenCall> calls;
    std::map<int, OpenFile> openFiles;  // by descriptor
    bool inBefore = false;
};

namespace {

// The armed state of this thread; other threads have none.
thread_local FaultState* t_state = nullptr;

template <typename Function>
Function* Real(const char* name)
{
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

FaultState* Counting()
{
    return t_state != nullptr && !t_state->inBefore ? t_state : nullptr;
}

// Counts the call; an errno when it is to fail.
std::optional<int> Intercept(FaultState& state, SeenCall call)
{
    state.calls.push_back(std::move(call));
    if (static_cast<int>(state.calls.size()) != state.plan.disturbAt) {
        return std::nullopt;
    }
    if (state.plan.error != 0) {
        return state.plan.error;
    }
    if (state.plan.before) {
        state.inBefore = true;
        state.plan.before();
        state.inBefore = false;
    }
    return std::nullopt;
}

bool OpensForWriting(int flags)
{
    return (flags & O_ACCMODE) != O_RDONLY || (flags & O_CREAT) != 0;
}

SeenCall OnFile(FaultState& state, CallKind kind, const char* name, int fd)
{
    const auto found = state.openFiles.find(fd);
    if (found == state.openFiles.end()) {
        return {kind, name, "fd " + std::to_string(fd), false};
    }
    OpenFile& file = found->second;
    if (kind == CallKind::Write) {
        file.written = file.writable;
        return {kind, name, file.path, file.writable};
    }
    const bool afterWrites = kind == CallKind::Flush || kind == CallKind::Close;
    return {kind, name, file.path, afterWrites && file.written};
}

// Notes the descriptor a counted call gave, with the name a temporary file was given.
void Remember(int fd, const std::string& path, bool writable)
{
    if (FaultState* state = Counting(); state != nullptr && fd >= 0) {
        state->openFiles[fd] = {path, writable, false};
        state->calls.back().path = path;
    }
}

// Fails with `error` (returning -1) or runs `call`.
template <typename Call>
auto FailOr(std::optional<int> error, Call call)
{
    if (error) {
        errno = *error;
        return static_cast<decltype(call())>(-1);
    }
    return call();
}

template <typename Function, typename... Args>
int OpenCall(const char* name, int flags, const char* path, Args... args)
{
    FaultState* state = Counting();
    const bool writable = OpensForWriting(flags);
    const std::optional<int> error =
        state != nullptr ? Intercept(*state, {CallKind::Open, name, path, writable}) : std::nullopt;
    const int fd = FailOr(error, [&] { return Real<Function>(name)(args...); });
    Remember(fd, path, writable);
    return fd;
}

template <typename Function, typename... Args>
int CreateTempCall(const char* name, char* pattern, Args... args)
{
    FaultState* state = Counting();
    const std::optional<int> error =
        state != nullptr ? Intercept(*state, {CallKind::CreateTemp, name, pattern, true}) : std::nullopt;
    const int fd = FailOr(error, [&] { return Real<Function>(name)(pattern, args...); });
    Remember(fd, pattern, true);
    return fd;
}

template <typename Function, typename... Args>
auto FileCall(CallKind kind, const char* name, int fd, Args... args)
{
    FaultState* state = Counting();
    const std::optional<int> error =
        state != nullptr ? Intercept(*state, OnFile(*state, kind, name, fd)) : std::nullopt;
    return FailOr(error, [&] { return Real<Function>(name)(fd, args...); });
}

template <typename Function, typename... Args>
int RenameCall(const char* name, const char* newPath, Args... args)
{
    FaultState* state = Counting();
    const std::optional<int> error =
        state != nullptr ? Intercept(*state, {CallKind::Rename, name, newPath, true}) : std::nullopt;
    return FailOr(error, [&] { return Real<Function>(name)(args...); });
}

// True when this write is the one to disturb with a short count; it is counted then.
bool ShortensThisWrite(FaultState& state, int fd, const char* name)
{
    if (!state.plan.shortWrite || static_cast<int>(state.calls.size()) + 1 != state.plan.disturbAt) {
        return false;
    }
    Intercept(state, OnFile(state, CallKind::Write, name, fd));
    return true;
}

// The pieces that hold the first half of the bytes, the last one cut where the half ends.
std::vector<iovec> FirstHalf(const iovec* pieces, int count)
{
    std::size_t total = 0;
    for (int i = 0; i < count; ++i) {
        total += pieces[i].iov_len;
    }
    std::size_t left = total > 1 ? total / 2 : total;
    std::vector<iovec> half;
    for (int i = 0; i < count && left > 0; ++i) {
        iovec piece = pieces[i];
        piece.iov_len = std::min(piece.iov_len, left);
        left -= piece.iov_len;
        half.push_back(piece);
    }
    return half;
}

int ModeArgument(int flags, va_list args)
{
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, int) : 0;
}

}  // namespace

std::string Describe(const SeenCall& call)
{
    return call.name + " " + call.path;
}

const char* KindName(CallKind kind)
{
    switch (kind) {
    case CallKind::Open:
        return "open";
    case CallKind::CreateTemp:
        return "create-temp";
    case CallKind::Write:
        return "write";
    case CallKind::Flush:
        return "flush";
    case CallKind::ChangeMode:
        return "change-mode";
    case CallKind::Close:
        return "close";
    case CallKind::Rename:
        return "rename";
    }
    return "?";
}

FaultPlanScope::FaultPlanScope(FaultPlan plan) : m_state(std::make_unique<FaultState>())
{
    m_state->plan = std::move(plan);
    t_state = m_state.get();
}

FaultPlanScope::~FaultPlanScope()
{
    t_state = nullptr;
}

const std::vector<SeenCall>& FaultPlanScope::Calls() const
{
    return m_state->calls;
}

}  // namespace luma::test

using luma::test::CallKind;

extern "C" {

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int mode = luma::test::ModeArgument(flags, args);
    va_end(args);
    return luma::test::OpenCall<int(const char*, int, ...)>("open", flags, path, path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int mode = luma::test::ModeArgument(flags, args);
    va_end(args);
    return luma::test::OpenCall<int(const char*, int, ...)>("open64", flags, path, path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int mode = luma::test::ModeArgument(flags, args);
    va_end(args);
    return luma::test::OpenCall<int(int, const char*, int, ...)>("openat", flags, path, dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int mode = luma::test::ModeArgument(flags, args);
    va_end(args);
    return luma::test::OpenCall<int(int, const char*, int, ...)>("openat64", flags, path, dirfd, path, flags, mode);
}

int mkstemp(char* pattern)
{
    return luma::test::CreateTempCall<int(char*)>("mkstemp", pattern);
}

int mkstemp64(char* pattern)
{
    return luma::test::CreateTempCall<int(char*)>("mkstemp64", pattern);
}

int mkostemp(char* pattern, int flags)
{
    return luma::test::CreateTempCall<int(char*, int)>("mkostemp", pattern, flags);
}

int mkostemp64(char* pattern, int flags)
{
    return luma::test::CreateTempCall<int(char*, int)>("mkostemp64", pattern, flags);
}

ssize_t write(int fd, const void* data, size_t size)
{
    using Write = ssize_t(int, const void*, size_t);
    luma::test::FaultState* state = luma::test::Counting();
    if (state != nullptr && luma::test::ShortensThisWrite(*state, fd, "write") && size > 1) {
        return luma::test::Real<Write>("write")(fd, data, size / 2);
    }
    return luma::test::FileCall<Write>(CallKind::Write, "write", fd, data, size);
}

ssize_t writev(int fd, const struct iovec* pieces, int count)
{
    using WriteV = ssize_t(int, const struct iovec*, int);
    luma::test::FaultState* state = luma::test::Counting();
    if (state != nullptr && luma::test::ShortensThisWrite(*state, fd, "writev")) {
        const std::vector<iovec> half = luma::test::FirstHalf(pieces, count);
        return luma::test::Real<WriteV>("writev")(fd, half.data(), static_cast<int>(half.size()));
    }
    return luma::test::FileCall<WriteV>(CallKind::Write, "writev", fd, pieces, count);
}

int fsync(int fd)
{
    return luma::test::FileCall<int(int)>(CallKind::Flush, "fsync", fd);
}

int fdatasync(int fd)
{
    return luma::test::FileCall<int(int)>(CallKind::Flush, "fdatasync", fd);
}

int fchmod(int fd, mode_t mode) noexcept
{
    return luma::test::FileCall<int(int, mode_t)>(CallKind::ChangeMode, "fchmod", fd, mode);
}

// Linux releases the descriptor even when close reports an error, so a failed close closes too.
int close(int fd)
{
    luma::test::FaultState* state = luma::test::Counting();
    if (state == nullptr) {
        return luma::test::Real<int(int)>("close")(fd);
    }
    const std::optional<int> error =
        luma::test::Intercept(*state, luma::test::OnFile(*state, CallKind::Close, "close", fd));
    state->openFiles.erase(fd);
    const int result = luma::test::Real<int(int)>("close")(fd);
    if (error) {
        errno = *error;
        return -1;
    }
    return result;
}

int rename(const char* from, const char* to) noexcept
{
    return luma::test::RenameCall<int(const char*, const char*)>("rename", to, from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) noexcept
{
    return luma::test::RenameCall<int(int, const char*, int, const char*)>("renameat", to, fromDir, from, toDir,
                                                                           to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags) noexcept
{
    return luma::test::RenameCall<int(int, const char*, int, const char*, unsigned int)>(
        "renameat2", to, fromDir, from, toDir, to, flags);
}

}  // extern "C"
