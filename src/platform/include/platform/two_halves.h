#pragma once
// Work over a large range done in two halves at once. Looking through a large file is bound by
// memory, not by the processor, so a second thread on the second half nearly halves the time.

#include <cstddef>
#include <optional>
#include <system_error>
#include <thread>

namespace luma {

// Does the work over [0, count): `firstHalf(0, end)` on this thread and, when `count` reaches
// `worthAThread` and a thread is to be had, `secondHalf(end, count)` on another meanwhile,
// with `end` half of `count`; otherwise `firstHalf(0, count)` alone. Gives `end`. Both have
// finished when it returns.
template <class FirstHalf, class SecondHalf>
std::size_t InTwoHalves(std::size_t count, std::size_t worthAThread, FirstHalf&& firstHalf,
                        SecondHalf&& secondHalf)
{
    std::size_t end = count;
    std::optional<std::thread> other;
    if (count >= worthAThread) {
        try {
            other.emplace([&secondHalf, from = count / 2, count] { secondHalf(from, count); });
            end = count / 2;
        } catch (const std::system_error&) {
            // No thread to be had: this one does it all.
        }
    }
    struct Joiner {
        std::optional<std::thread>& thread;
        ~Joiner()
        {
            if (thread) {
                thread->join();
            }
        }
    } joiner{other};
    firstHalf(std::size_t{0}, end);
    return end;
}

}  // namespace luma
