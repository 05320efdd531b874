#include "records/problem.h"

namespace luma {

std::string Problem::Describe() const
{
    if (record < 0) {
        return message;
    }
    return "record " + std::to_string(record + 1) + ", offset " + std::to_string(offset) + ": " +
           message;
}

}  // namespace luma
