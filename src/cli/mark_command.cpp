#include "mark_command.h"

#include <algorithm>

#include "marking/marking_host.h"
#include "marking/marking_session.h"

namespace luma::cli {
namespace {

// Answers the session's questions as the command line asks them: FILE to open, OUT to save
// to, never resume, never save on the way out. Messages are collected as errors.
class CommandLineHost : public MarkingHost {
public:
    CommandLineHost(std::string path, std::string output)
        : m_path(std::move(path)), m_output(std::move(output))
    {
    }

    const std::vector<std::string>& Messages() const { return m_messages; }

    std::optional<std::string> AskOpenPath(const std::string&) override { return m_path; }
    std::optional<std::string> AskResultsPath(const std::string&) override { return m_output; }
    bool AskYesNo(const std::string&) override { return false; }
    Reply AskYesNoCancel(const std::string&) override { return Reply::No; }
    void ShowMessage(const std::string& text) override { m_messages.push_back(text); }
    void ReportError(const std::string& text) override { m_messages.push_back(text); }

    void ShowViewText(const std::string&) override {}
    void ShowStatusText(const std::string&) override {}
    void ShowModified(ModifiedImage) override {}
    void EnableRecordButtons() override {}
    void ArmHotkeys() override {}
    void StoreWindowPlacement() override {}
    void EndDialog() override {}

private:
    std::string m_path;
    std::string m_output;
    std::vector<std::string> m_messages;
};

// The session's messages are for message boxes; one line each on stderr.
void ReportMessages(const CommandLineHost& host, std::ostream& err)
{
    for (std::string message : host.Messages()) {
        std::replace(message.begin(), message.end(), '\r', ' ');
        std::replace(message.begin(), message.end(), '\n', ' ');
        err << "luma-cli: " << message << '\n';
    }
}

std::optional<int> FirstOutOfRange(const std::vector<int>& records, int count)
{
    const auto found = std::find_if(records.begin(), records.end(),
                                    [count](int number) { return number < 1 || number > count; });
    return found == records.end() ? std::nullopt : std::optional<int>(*found);
}

int Apply(const MarkRequest& request, MarkingSession& session, const CommandLineHost& host,
          std::ostream& out, std::ostream& err)
{
    if (!session.OnOpen() || !host.Messages().empty()) {
        ReportMessages(host, err);
        return kExitUnreadable;
    }
    if (session.RecordCount() == 0) {
        err << "luma-cli: " << request.path << " holds no ISO 2709 record\n";
        return kExitUnreadable;
    }
    if (const auto outside = FirstOutOfRange(request.records, session.RecordCount())) {
        err << "luma-cli: there is no record " << *outside << "; " << request.path << " has "
            << session.RecordCount() << " records\n";
        return kExitProblems;
    }
    for (const int number : request.records) {
        session.GoToRecord(number - 1);
        if (request.action == MarkAction::Mark) {
            session.OnMark();
        } else {
            session.OnUnmark();
        }
        if (!host.Messages().empty()) {
            ReportMessages(host, err);
            return kExitUnreadable;
        }
    }
    if (!session.OnSave()) {
        ReportMessages(host, err);
        err << "luma-cli: cannot write " << request.output << '\n';
        return kExitUnreadable;
    }
    out << "marked: " << session.MarkedCount() << '\n';
    return kExitOk;
}

}  // namespace

int RunMark(const MarkRequest& request, std::ostream& out, std::ostream& err)
{
    CommandLineHost host(request.path, request.output);
    MarkingSession session(host);
    session.SetLabel(request.label.tag, request.label.text);
    session.SetAdvanceAfterMark(false);
    const int status = Apply(request, session, host, out, err);
    session.QuitDialog();  // nothing unsaved is left to ask about: the working copy goes
    return status;
}

}  // namespace luma::cli
