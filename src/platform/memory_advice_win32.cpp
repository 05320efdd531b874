#include "platform/memory_advice.h"

namespace luma {

// Windows gives large pages only to processes holding a privilege operators do not have.
void AdviseHugePages(char* data, std::size_t size)
{
    (void)data;
    (void)size;
}

}  // namespace luma
