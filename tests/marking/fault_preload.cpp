// Arms a fault plan on the main thread of any program started with this library in LD_PRELOAD,
// from the environment, for tests that run a whole program such as luma-cli:
//   LUMA_FAULT_AT     the 1-based number of the call to disturb; 0 or unset only counts
//   LUMA_FAULT_ERRNO  the errno it fails with, as a number
//   LUMA_FAULT_SHORT  1: a write there writes half its bytes instead
//   LUMA_FAULT_LOG    file that receives the calls seen at exit, "KIND CARRIES-DATA NAME PATH"
// The plan lives from the library's load to the program's exit: a program has one.

#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "syscall_faults.h"

namespace luma::test {
namespace {

int EnvironmentNumber(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::atoi(value) : 0;
}

// Not a static object: the order of static destructors and of this library's destructor
// function at exit is not defined.
FaultPlanScope* g_plan = nullptr;

__attribute__((constructor)) void ArmFromEnvironment()
{
    g_plan = new FaultPlanScope(FaultPlan{EnvironmentNumber("LUMA_FAULT_AT"), EnvironmentNumber("LUMA_FAULT_ERRNO"),
                                          EnvironmentNumber("LUMA_FAULT_SHORT") != 0, {}});
}

__attribute__((destructor)) void WriteLog()
{
    FaultPlanScope* plan = std::exchange(g_plan, nullptr);
    if (plan == nullptr) {
        return;
    }
    const std::vector<SeenCall> calls = plan->Calls();
    delete plan;  // disarmed before the log is written
    if (const char* path = std::getenv("LUMA_FAULT_LOG")) {
        std::ofstream log(path);
        for (const SeenCall& call : calls) {
            log << KindName(call.kind) << ' ' << (call.carriesData ? 1 : 0) << ' ' << Describe(call) << '\n';
        }
    }
}

}  // namespace
}  // namespace luma::test
