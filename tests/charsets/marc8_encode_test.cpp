#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "charsets/marc8.h"
#include "charsets/unicode_text.h"
#include "test_files.h"

namespace luma {
namespace {

// yaz-iconv's output for a file, or nullopt where yaz is not installed (Windows, a bare machine).
std::optional<std::string> Yaz(const test::TempDir& dir, const std::string& input, const char* from, const char* to)
{
#ifdef _WIN32
    (void)dir, (void)input, (void)from, (void)to;
    return std::nullopt;
#else
    const std::string path = dir.Write("yaz-input", input);
    const std::string command = std::string("yaz-iconv -f ") + from + " -t " + to + " '" + path + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string output;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, read);
    }
    const int status = ::pclose(pipe);
    if (status != 0) return std::nullopt;
    return output;
#endif
}

bool YazInstalled()
{
#ifdef _WIN32
    return false;
#else
    return std::system("command -v yaz-iconv >/dev/null 2>&1") == 0;
#endif
}

// What is written reads back as the same text, read subfield by subfield as a record's field is,
// or straight through, which shows that each subfield and the end are back in the default sets;
// where yaz is installed, its reader agrees.
TEST(Marc8Encode, TextOfEveryScriptReadsBackAsItWasWritten)
{
    const std::string cases[] = {
        "De la solitude \u00e0 la communaut\u00e9",
        "Bu\u012dda, I\u0361Uri\u012d",                          // the ligature spans two letters
        "##\x1f" "a\u041e\u0442\u043e\u0431\u0440\u0430\u043d\u043e",
        "\u0401\u043b\u043a\u0430 \u0439\u043e\u0433",          // letters the Cyrillic sets hold whole
        "\u1f08\u03c1\u03b9\u03c3\u03c4\u03bf\u03c4\u03ad\u03bb\u03b7\u03c2",
        "\u05e9\u05c1\u05b8\u05dc\u05d5\u05b9\u05dd",
        "\u4e2d\u6587",
        "Vi\u1ec7t, cafe\u0301, \u01d6",                         // two marks on one letter; a decomposed one
        "10\x1f" "aTolsto\u012d, Lev\x1f" "b\u0422\u043e\u043b\u0441\u0442\u043e\u0439 \u4e2d"
        " \u0391\u03b8\u03ae\u03bd\u03b1\x1f" "c\u05e9\u05dc\u05d5\u05dd x\u00b2 \u00a9",
    };
    const test::TempDir dir;
    const bool yaz = YazInstalled();
    for (const std::string& text : cases) {
        const std::optional<std::string> bytes = EncodeMarc8(text);
        ASSERT_TRUE(bytes.has_value()) << text;
        const DecodedText field = DecodeMarc8Field(*bytes);
        EXPECT_EQ(field.undecodable, 0u) << text;
        EXPECT_EQ(ComposedNfc(field.utf8), ComposedNfc(text)) << text;
        EXPECT_EQ(ComposedNfc(DecodeMarc8(*bytes + "Z").utf8), ComposedNfc(text + "Z")) << text;
        if (yaz) {
            const std::optional<std::string> read = Yaz(dir, *bytes, "MARC8", "UTF-8");
            ASSERT_TRUE(read.has_value()) << text;
            EXPECT_EQ(ComposedNfc(*read), ComposedNfc(text)) << text;
        }
    }

    // yaz writes Cyrillic subfields the same way, byte for byte.
    const std::string cyrillic = "##\x1f" "a\u041e\u0442\u043e\u0431\u0440\u0430\u043d\u043e\x1f" "b\u041a\u043d\u0438\u0433\u0430";
    const std::optional<std::string> written = EncodeMarc8(cyrillic);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->find("\x1b(B\x1f" "b"), written->find('\x1f', 4) - 3) << "ESC ( B before the second delimiter";
    if (yaz) {
        EXPECT_EQ(Yaz(dir, cyrillic, "UTF-8", "MARC8"), written);
    } else {
        std::printf("yaz-iconv is not installed: the bytes were not compared with yaz's\n");
    }
}

TEST(Marc8Encode, RefusesWhatNoSetHoldsOrCannotBeReadBack)
{
    EXPECT_EQ(EncodeMarc8("Thumbs \U0001F44D"), std::nullopt);   // no set has it
    EXPECT_EQ(EncodeMarc8("caf\xc3"), std::nullopt);             // cut short
    EXPECT_EQ(EncodeMarc8("a\x1b(Nb"), std::nullopt);            // would be read as an escape
    EXPECT_EQ(EncodeMarc8("\u0301abc"), std::nullopt);           // a mark with no letter before it
    EXPECT_EQ(EncodeMarc8("##\x1f\u0430text"), std::nullopt);    // a subfield code the reader cannot take
    EXPECT_EQ(EncodeMarc8(""), std::string());
}

TEST(Iso5426Encode, LatinWithDiacriticsReadsBackAndOtherScriptsAreRefused)
{
    for (const std::string text : {"Communaut\u00e9 \u00c6sop \u0141\u00f3d\u017a \u00a3 \u201eq\u201c",
                                    "Vi\u1ec7t 10\x1f" "aDvo\u0159\u00e1k"}) {
        const std::optional<std::string> bytes = EncodeIso5426(text);
        ASSERT_TRUE(bytes.has_value()) << text;
        const DecodedText read = DecodeIso5426(*bytes);
        EXPECT_EQ(read.undecodable, 0u) << text;
        EXPECT_EQ(ComposedNfc(read.utf8), ComposedNfc(text)) << text;
    }
    EXPECT_EQ(EncodeIso5426("\u041e\u0442\u043e\u0431\u0440\u0430\u043d\u043e"), std::nullopt);
    EXPECT_EQ(EncodeIso5426("\u4e2d"), std::nullopt);
    EXPECT_EQ(EncodeIso5426("bad \xff"), std::nullopt);
}

TEST(UnicodeText, ComposesDecomposesAndDropsDiacritics)
{
    EXPECT_EQ(ComposedNfc("Communaute\u0301"), "Communaut\u00e9");
    EXPECT_EQ(ComposedNfc("\u0435\u0308\u0436"), "\u0451\u0436");
    EXPECT_EQ(ComposedNfc("a\xff" "b\xe2\x82"), "a\uFFFDb\uFFFD\uFFFD");
    EXPECT_EQ(CanonicalDecomposition("\u1ec7"), "e\u0323\u0302");
    EXPECT_EQ(ComposedNfc(CanonicalDecomposition("\ud55c\uae00")), "\ud55c\uae00");  // Hangul both ways

    EXPECT_EQ(WithoutDiacritics("De la solitude \u00e0 la communaut\u00e9"), "De la solitude a la communaute");
    EXPECT_EQ(WithoutDiacritics("Bu\u012dda, I\u0361Uri\u012d"), "Buida, IUrii");
    EXPECT_EQ(WithoutDiacritics("\u0401\u043b\u043a\u0430, \u0439"), "\u0415\u043b\u043a\u0430, \u0438");
    EXPECT_EQ(WithoutDiacritics("\u0141\u00f3d\u017a \u4e2d"), "\u0141odz \u4e2d");  // a stroke is no mark
    EXPECT_EQ(WithoutDiacritics("x\xc3"), "x\uFFFD");
}

}  // namespace
}  // namespace luma
