#include "marking/marking_session.h"

#include <utility>

#include "source_copy.h"

namespace luma {

MarkingSession::MarkingSession(Operator& op, SessionDisplay& display, WorkingCopy workingCopy)
    : m_operator(op), m_display(display), m_workingCopy(workingCopy)
{
}

// An end without Quit leaves the working copy for a later start; a copy of the source under way
// stops, and the work then needs the source itself.
MarkingSession::~MarkingSession() = default;

void MarkingSession::SetLabel(std::string field, std::string text)
{
    m_labelField = std::move(field);
    m_labelText = std::move(text);
    // The count is of the label as it now is: counted for another label it could drift, or
    // go below zero as unmarks of the new label take fields away.
    m_markedCount = CountMarks();
}

void MarkingSession::SetFilter(bool useFilter, std::vector<std::string> fields)
{
    m_useFilter = useFilter;
    m_filterFields = std::move(fields);
}

void MarkingSession::SetFolders(std::string sourceDir, std::string resultDir)
{
    m_sourceDir = std::move(sourceDir);
    m_resultDir = std::move(resultDir);
}

}  // namespace luma
