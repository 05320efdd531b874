#pragma once
// An operator for running a marking session with no one to ask: it opens the given file, saves to
// the given results path, never resumes, never saves on the way out, and collects every
// message instead of showing it. Used by the command line and the benchmark.

#include <string>
#include <utility>
#include <vector>

#include "marking/operator.h"

namespace luma {

class UnattendedOperator : public Operator {
public:
    UnattendedOperator(std::string path, std::string output)
        : m_path(std::move(path)), m_output(std::move(output))
    {
    }

    // Messages and error reports, in the order the session gave them.
    const std::vector<std::string>& Messages() const { return m_messages; }

    std::optional<std::string> AskOpenPath(const std::string&) override { return m_path; }
    std::optional<std::string> AskResultsPath(const std::string&) override { return m_output; }
    bool AskYesNo(const std::string&) override { return false; }
    Reply AskYesNoCancel(const std::string&) override { return Reply::No; }
    void ShowMessage(const std::string& text) override { m_messages.push_back(text); }
    void ReportError(const std::string& text) override { m_messages.push_back(text); }


private:
    std::string m_path;
    std::string m_output;
    std::vector<std::string> m_messages;
};

}  // namespace luma
