#include "platform/local_time.h"

namespace luma {

// localtime itself shares one buffer across threads; both platforms have a variant that does not.
std::tm LocalTime(std::time_t moment)
{
    std::tm local{};
#ifdef _WIN32
    if (::localtime_s(&local, &moment) != 0) {
        return std::tm{};
    }
#else
    if (::localtime_r(&moment, &local) == nullptr) {
        return std::tm{};
    }
#endif
    return local;
}

}  // namespace luma
