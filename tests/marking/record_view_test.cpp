#include <gtest/gtest.h>

#include "marking/marking_texts.h"
#include "session_support.h"

namespace luma::test {
namespace {

class RecordViewTest : public SessionTest {
protected:
    void SetUp() override
    {
        Open(Write("view.iso", Record({{"001", "a"}, {"245", "b"}, {"245", "c"}}) + Record({{"001", "z"}})));
    }

    std::string Status(int current) const
    {
        return "Файл: view     Всего записей: 2     Текущая: " + std::to_string(current) + "    Помечено: 0";
    }
};

TEST_F(RecordViewTest, ShowsTheFieldsAllOrFilteredWholeAndCaseSensitively)
{
    EXPECT_EQ(m_host.view, "001     a\r\n____\r\n245     b\r\n____\r\n245     c");
    m_session.SetFilter(true, {"245"});
    m_session.RenderRecord();
    EXPECT_EQ(m_host.view, "245     b\r\n____\r\n245     c");
    m_session.OnNextRecord();
    EXPECT_EQ(m_host.view, "") << "the record has no 245";
    EXPECT_EQ(m_host.status, Status(2));
    m_session.SetFilter(false, {});
    m_session.RenderRecord();
    EXPECT_EQ(m_host.view, "001     z") << "one line, no separator";

    m_session.SetFilter(true, {"24", "0001", "abc"});
    EXPECT_FALSE(m_session.IsFieldShown("245"));
    EXPECT_FALSE(m_session.IsFieldShown("001"));
    EXPECT_FALSE(m_session.IsFieldShown("ABC"));
    EXPECT_TRUE(m_session.IsFieldShown("abc"));
    m_session.SetFilter(true, {});
    EXPECT_FALSE(m_session.IsFieldShown("001")) << "filter on with an empty list hides everything";
}

TEST_F(RecordViewTest, NavigationRendersTheRecordTheStoreKeeps)
{
    const std::vector<std::pair<void (MarkingSession::*)(), int>> moves = {
        {&MarkingSession::OnPrevRecord, 1}, {&MarkingSession::OnLastRecord, 2},
        {&MarkingSession::OnNextRecord, 2}, {&MarkingSession::OnFirstRecord, 1}};
    for (const auto& [move, shown] : moves) {
        m_host.status.clear();
        (m_session.*move)();
        EXPECT_EQ(m_host.status, Status(shown));
    }
    for (const auto& [index, shown] : std::vector<std::pair<int, int>>{{-1, 1}, {5, 2}}) {
        m_host.status.clear();
        m_session.GoToRecord(index);
        EXPECT_EQ(m_host.status, Status(shown)) << "go to index " << index;
    }
}

}  // namespace

// The review walks the records that carry the label exactly, not other fields with its tag, and
// stays put with a note at either end.
TEST_F(SessionTest, TheReviewWalksTheLabelledRecordsAndStaysAtTheEnds)
{
    const std::string label = "##$aОтобрано";
    Open(Write("review.iso", Record({{"001", "1"}}) + Record({{"001", "2"}, {"901", "##\x1f" "aДругое"}}) +
                                 Record({{"001", "3"}}) + Record({{"001", "4"}}) + Record({{"001", "5"}})));
    m_session.SetLabel("901", label);
    m_session.SetAdvanceAfterMark(false);
    for (const int record : {2, 4}) {
        m_session.GoToRecord(record);
        m_session.OnMark();
    }
    EXPECT_EQ(m_session.MarkedRecords(), (std::vector<int>{2, 4}));
    m_session.GoToRecord(0);
    m_session.OnNextMarked();
    EXPECT_EQ(m_session.CurrentRecord(), 2);
    m_session.OnNextMarked();
    EXPECT_EQ(m_session.CurrentRecord(), 4);
    m_session.OnNextMarked();
    EXPECT_EQ(m_session.CurrentRecord(), 4);
    EXPECT_EQ(m_host.notes, Strings{std::string(kNoMarkedAfter)});
    m_session.OnPrevMarked();
    m_session.OnPrevMarked();
    EXPECT_EQ(m_session.CurrentRecord(), 2);
    EXPECT_EQ(m_host.notes.back(), kNoMarkedBefore);
    EXPECT_EQ(m_host.status, "Файл: review     Всего записей: 5     Текущая: 3    Помечено: 2");
}

}  // namespace luma::test
