// Random sequences of the operator's commands on real files. After every command the working
// copy holds the record buffers and reads back as them, the marked count equals a recount, and
// the source file is untouched.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <random>

#include "session_support.h"

namespace luma::test {
namespace {

namespace fs = std::filesystem;

class RandomPass : public SessionTest {
protected:
    void Run(const std::string& source, unsigned seed, int steps)
    {
        const std::string original = ReadBytes(source);
        m_rng.seed(seed);
        m_results = (fs::path(ResultsFolder()) / fs::path(source).filename()).string();
        Reopen(source);
        for (int step = 0; step < steps && !HasFailure(); ++step) {
            const auto command = m_rng() % 8;
            SCOPED_TRACE("step " + std::to_string(step) + ", command " + std::to_string(command));
            switch (command) {
            case 0: case 1: m_session.OnMark(); break;
            case 2: m_session.OnUnmark(); break;
            case 3: m_session.OnNextRecord(); break;
            case 4: m_session.OnPrevRecord(); break;
            case 5: m_session.GoToRecord(static_cast<int>(m_rng() % (m_session.Records().size() + 4)) - 2); break;
            case 6: m_host.resultsPaths = {m_results}; m_session.OnSave(); break;
            default: Reopen(source);
            }
            ExpectConsistent(m_session);
            EXPECT_EQ(ReadBytes(source), original);
            EXPECT_TRUE(m_host.errors.empty() || m_session.Records().empty()) << "only a file without records refuses marks";
            m_host.errors.clear();
        }
    }

private:
    // Answers what the open asks: save the marks or give them up, resume or not.
    void Reopen(const std::string& source)
    {
        const bool modified = m_session.IsModified();
        const bool save = m_rng() % 2 == 0;
        const bool resumable = fs::exists(m_results) || (modified && save);
        m_host.yesNoCancel = {save ? Reply::Yes : Reply::No};
        m_host.resultsPaths = {m_results};
        m_host.openPaths = {source};
        m_host.yesNo = {m_rng() % 2 == 0};
        EXPECT_TRUE(m_session.OnOpen());
        EXPECT_EQ(m_host.yesNoCancel.empty(), modified);
        EXPECT_EQ(m_host.yesNo.empty(), resumable);
        m_host.yesNoCancel.clear();
        m_host.yesNo.clear();
        EXPECT_EQ(WorkingCopies().size(), 1u);
    }

    std::mt19937 m_rng;
    std::string m_results;
};

std::string GeneratedFile(std::mt19937& rng)
{
    const Strings tags = {"200", "700", "900", "901"};
    const Strings texts = {"Отобрано", "Прочее", "X"};
    std::string file;
    for (auto records = rng() % 12; records > 0; --records) {
        RawFields fields{{"001", "g" + std::to_string(records)}};
        for (auto f = rng() % 5; f > 0; --f) {
            fields.push_back({tags[rng() % tags.size()], DataField("  $a") + Encode(texts[rng() % texts.size()], "CP1251")});
        }
        file += Record(fields);
    }
    return file;
}

TEST_F(RandomPass, GeneratedFiles)
{
    std::mt19937 rng(20240601);
    for (int file = 0; file < 6 && !HasFailure(); ++file) {
        Run(Write("generated" + std::to_string(file) + ".iso", GeneratedFile(rng)), static_cast<unsigned>(rng()), 40);
    }
}

class CorpusPass : public RandomPass, public ::testing::WithParamInterface<std::string> {};

TEST_P(CorpusPass, KeepsTheInvariants)
{
    Run(GetParam(), static_cast<unsigned>(std::hash<std::string>{}(GetParam())), 25);
}

std::string CorpusTestName(const ::testing::TestParamInfo<std::string>& param)
{
    const fs::path path(param.param);
    std::string name = path.parent_path().filename().string() + "_" + path.stem().string();
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusPass, ::testing::ValuesIn(CorpusFiles()), CorpusTestName);

// The fuzz targets' seeds and findings: damaged framing of every kind the fuzzers met. Left
// out: a misframed record with a record terminator inside its field data, which is kept as it
// came rather than losing that byte, so its working copy may read back framed otherwise.
std::vector<std::string> DamagedFiles()
{
    std::vector<std::string> files;
    for (const char* folder : {"reader", "round_trip"}) {
        for (const auto& entry : fs::directory_iterator(fs::path(LUMA_FUZZ_CORPUS_DIR) / folder)) {
            if (entry.path().filename() != "terminator_in_data_of_a_misframed_record.iso") {
                files.push_back(entry.path().string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

INSTANTIATE_TEST_SUITE_P(Damaged, CorpusPass, ::testing::ValuesIn(DamagedFiles()), CorpusTestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusPass);

}  // namespace
}  // namespace luma::test
