#include "records/field_text.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace luma {
namespace {

using test::DataField;

std::string Text(const std::string& tag, const std::string& data, Charset charset = Charset::Utf8)
{
    TextCodec codec(charset);
    return FieldToText({tag, data}, 2, codec);
}

TEST(FieldText, DataFieldShowsIndicatorsSubfieldsBlanksAndDollars)
{
    EXPECT_EQ(Text("245", DataField("10$aTitle /$cAuthor")), "10$aTitle /$cAuthor");
    EXPECT_EQ(Text("901", DataField("  $aLabel")), "##$aLabel");
    EXPECT_EQ(Text("020", DataField(" 1$c") + "$5.00"), "#1$c{dollar}5.00");
}

TEST(FieldText, ControlFieldShowsItsDataAsItStands)
{
    EXPECT_EQ(Text("001", "  ru 0001"), "  ru 0001");
    EXPECT_EQ(Text("008", "151116s2005    ru"), "151116s2005    ru");
}

TEST(FieldText, SingleByteCyrillicIsDecoded)
{
    const std::string data = DataField("1 $a") + test::Encode("Ильина, Татьяна", "CP1251");
    EXPECT_EQ(Text("700", data, Charset::Windows1251), "1#$aИльина, Татьяна");
    EXPECT_EQ(Text("700", DataField("1 $a") + test::Encode("Ильина", "KOI8-R"), Charset::Koi8r),
              "1#$aИльина");
    EXPECT_EQ(Text("700", DataField("1 $a") + test::Encode("Ильина", "CP866"), Charset::Cp866),
              "1#$aИльина");
}

TEST(FieldText, InvalidUtf8IsShownAsReplacementCharacters)
{
    EXPECT_EQ(Text("245", DataField("10$aBad \xC3 byte")), "10$aBad \xEF\xBF\xBD byte");
}

TEST(FieldText, TextRoundTripsThroughFieldDataInEverySet)
{
    const std::vector<std::string> texts = {"##$aОтобрано", "10$aЦена {dollar}5$bёЁ", "#1$a", "ab$c"};
    for (const Charset charset : {Charset::Utf8, Charset::Windows1251, Charset::Koi8r, Charset::Cp866, Charset::Marc8}) {
        TextCodec codec(charset);
        for (const std::string& text : texts) {
            const FieldDataResult field = FieldFromText("901", text, 2, codec);
            ASSERT_FALSE(field.error) << *field.error;
            EXPECT_EQ(FieldToText({"901", field.data}, 2, codec), text) << CharsetName(charset);
        }
    }
}

TEST(FieldText, TextIsEncodedInTheFilesSet)
{
    TextCodec codec(Charset::Windows1251);
    const FieldDataResult field = FieldFromText("901", "##$aОтобрано", 2, codec);
    EXPECT_EQ(field.data, "  \x1F" "a" + test::Encode("Отобрано", "CP1251"));
}

TEST(FieldText, RefusesWhatTheFileCannotHold)
{
    TextCodec koi8(Charset::Koi8r);
    const FieldDataResult latin = FieldFromText("901", "##$aé", 2, koi8);
    ASSERT_TRUE(latin.error);
    EXPECT_NE(latin.error->find("KOI8-R"), std::string::npos);

    TextCodec utf8(Charset::Utf8);
    EXPECT_TRUE(FieldFromText("90", "x", 2, utf8).error);
    EXPECT_TRUE(FieldFromText("9 1", "x", 2, utf8).error);
    EXPECT_TRUE(FieldFromText("901", "a\x1E" "b", 2, utf8).error);
    EXPECT_TRUE(FieldFromText("901", "a\x1D", 2, utf8).error);
    EXPECT_TRUE(FieldFromText("901", "bad \xC3 utf8", 2, utf8).error);
}

}  // namespace
}  // namespace luma
