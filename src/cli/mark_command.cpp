#include "mark_command.h"

#include <algorithm>
#include <utility>

#include "marking/marking_session.h"
#include "marking/unattended_operator.h"
#include "messages.h"

namespace luma::cli {
namespace {

// The session's texts in the run's language.
class CommandLineOperator : public UnattendedOperator {
public:
    CommandLineOperator(std::string path, std::string output, const Voice& voice)
        : UnattendedOperator(std::move(path), std::move(output)), m_voice(voice)
    {
    }

    std::string Translate(std::string_view text) override { return m_voice.CoreText(text); }

private:
    const Voice& m_voice;
};

// The session's messages are for message boxes; one line each on stderr.
void ReportMessages(const UnattendedOperator& host, const Voice& voice, std::ostream& err)
{
    for (const std::string& message : host.Messages()) {
        err << "luma-cli: " << voice.SessionMessage(message) << '\n';
    }
}

std::optional<int> FirstOutOfRange(const std::vector<int>& records, int count)
{
    const auto found = std::find_if(records.begin(), records.end(),
                                    [count](int number) { return number < 1 || number > count; });
    return found == records.end() ? std::nullopt : std::optional<int>(*found);
}

int Apply(const MarkRequest& request, MarkingSession& session, const UnattendedOperator& host,
          const Voice& voice, std::ostream& out, std::ostream& err)
{
    if (!session.OnOpen() || !host.Messages().empty()) {
        ReportMessages(host, voice, err);
        return kExitUnreadable;
    }
    if (session.RecordCount() == 0) {
        err << "luma-cli: "
            << voice.Say({"в файле %1 нет ни одной записи ISO 2709", "%1 holds no ISO 2709 record"},
                         {request.path})
            << '\n';
        return kExitUnreadable;
    }
    if (const auto outside = FirstOutOfRange(request.records, session.RecordCount())) {
        err << "luma-cli: "
            << voice.Say({"записи %1 нет: записей в %2 всего %3", "there is no record %1; %2 has %3 records"},
                         {std::to_string(*outside), request.path, std::to_string(session.RecordCount())})
            << '\n';
        return kExitProblems;
    }
    std::vector<int> indices;
    indices.reserve(request.records.size());
    for (const int number : request.records) {
        indices.push_back(number - 1);
    }
    const LabelAction action = request.action == MarkAction::Mark ? LabelAction::Mark : LabelAction::Unmark;
    if (!session.ApplyToRecords(indices, action) || !host.Messages().empty()) {
        ReportMessages(host, voice, err);
        return kExitUnreadable;
    }
    if (!session.OnSave()) {
        ReportMessages(host, voice, err);
        err << "luma-cli: " << voice.Say({"не удаётся записать %1", "cannot write %1"}, {request.output})
            << '\n';
        return kExitUnreadable;
    }
    out << "marked: " << session.MarkedCount() << '\n';
    return kExitOk;
}

}  // namespace

int RunMark(const MarkRequest& request, const Voice& voice, std::ostream& out, std::ostream& err)
{
    CommandLineOperator host(request.path, request.output, voice);
    // The records are changed in memory and the results written once: nothing goes into the
    // temporary folder, so a run killed part-way leaves nothing there.
    NoDisplay display;
    MarkingSession session(host, display, WorkingCopy::None);
    session.SetLabel(request.label.tag, request.label.text);
    session.SetAdvanceAfterMark(false);
    session.SetCharsetChoice(request.charset);
    const int status = Apply(request, session, host, voice, out, err);
    session.Quit();  // nothing unsaved is left to ask about: the working copy goes
    return status;
}

}  // namespace luma::cli
