// A marking session in a process of its own, for the recovery tests:
//
//   luma_session_holder FILE READY
//
// opens FILE as the window would, marks its first record with the label 900 "##$aОтобрано",
// steps on to the last record, writes the working copy's path to READY and waits to be killed. After a minute it ends
// without the exit procedure, leaving its work behind as a killed process would.

#include <chrono>
#include <thread>

#include "marking/marking_session.h"
#include "marking/unattended_operator.h"
#include "platform/file_io.h"
#include "platform/process.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = luma::Utf8Arguments(argc, argv);
    if (arguments.size() != 3) {
        return 64;
    }
    luma::UnattendedOperator host(arguments[1], "");
    luma::NoDisplay display;
    luma::MarkingSession session(host, display);
    session.SetLabel("900", "##$aОтобрано");
    session.SetAdvanceAfterMark(false);
    if (!session.OnOpen()) {
        return 2;
    }
    session.OnMark();
    session.OnLastRecord();
    if (!session.IsModified() || luma::ReplaceFileAtomically(arguments[2], session.WorkPath())) {
        return 3;
    }
    std::this_thread::sleep_for(std::chrono::minutes(1));
    return 0;
}
