#include "platform/process.h"

#include <gtest/gtest.h>

namespace luma {
namespace {

TEST(ExecutableBaseName, IsTheFileNameWithoutExtension)
{
    EXPECT_EQ(ExecutableBaseName(), "luma_core_tests");
}

}  // namespace
}  // namespace luma
