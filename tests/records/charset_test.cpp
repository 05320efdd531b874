#include "records/charset_detect.h"

#include <gtest/gtest.h>

#include "records/iso_record.h"
#include "test_files.h"

namespace luma {
namespace {

using test::DataField;
using test::Encode;
using test::Record;

const std::string kRussian =
    "Основы гидравлического расчета инженерных сетей : учебное пособие для вузов";

Charset Detect(const std::string& file)
{
    return DetectCharset(file, ParseRecord(file, 0, 0)).charset;
}

std::string FileWith(const std::string& encodedTitle, const std::string& leader = "00000nam  2200000   4500")
{
    return Record({{"001", "x"}, {"200", DataField("1 $a") + encodedTitle}}, leader);
}

TEST(CharsetDetection, SingleByteCyrillicSetsAreToldApartByTheirBytes)
{
    EXPECT_EQ(Detect(FileWith(Encode(kRussian, "CP1251"))), Charset::Windows1251);
    EXPECT_EQ(Detect(FileWith(Encode(kRussian, "KOI8-R"))), Charset::Koi8r);
    EXPECT_EQ(Detect(FileWith(Encode(kRussian, "CP866"))), Charset::Cp866);
}

TEST(CharsetDetection, ShortWordsAreEnough)
{
    EXPECT_EQ(Detect(FileWith(Encode("Москва", "CP1251"))), Charset::Windows1251);
    EXPECT_EQ(Detect(FileWith(Encode("Москва", "KOI8-R"))), Charset::Koi8r);
    EXPECT_EQ(Detect(FileWith(Encode("Москва", "CP866"))), Charset::Cp866);
}

TEST(CharsetDetection, Utf8IsFoundByItsBytesOrItsDeclaration)
{
    EXPECT_EQ(Detect(FileWith(kRussian)), Charset::Utf8);
    EXPECT_EQ(Detect(FileWith("plain", "00000nam a2200000   4500")), Charset::Ascii)
        << "all-ASCII bytes are reported as ASCII whatever the leader says";
    // A declared file with a few damaged bytes stays UTF-8.
    EXPECT_EQ(Detect(FileWith("caf\xC3\xA9 \xE9t\xE9", "00000nam a2200000   4500")), Charset::Utf8);
}

TEST(CharsetDetection, WrongUtf8DeclarationLosesToCyrillicBytes)
{
    EXPECT_EQ(Detect(FileWith(Encode(kRussian, "CP1251"), "00000nam a2200000   4500")),
              Charset::Windows1251);
}

// Latin letters with diacritics: MARC-8 writes the mark before its letter (and may switch sets
// with escape sequences), ISO-8859-1 and Windows-1252 have the letter whole, often at a word's end.
TEST(CharsetDetection, LatinScriptSetsAreToldApartByWhereTheHighBytesStand)
{
    const std::string marc8 = "De la solitude \xE1" "a la communaut\xE2" "e. Fr\xE8" "uhling";
    EXPECT_EQ(DetectCharset(FileWith(marc8), ParseRecord(FileWith(marc8), 0, 0)).evidence, CharsetEvidence::Marc8Diacritics);
    EXPECT_EQ(Detect(FileWith("\x1B(NGAVKOW\x1B(B")), Charset::Marc8) << "an escape sequence without a high byte";
    EXPECT_EQ(Detect(FileWith(Encode("De la solitude à la communauté. Frühling", "ISO-8859-1"))), Charset::Latin1);
    EXPECT_EQ(Detect(FileWith(Encode("„Café“ — un été à Paris", "CP1252"))), Charset::Windows1252);
    // UNIMARC writes its diacritics before the letter too, in ISO 5426.
    const std::string general = DataField("  $a20151116d2005    k  y0frey0103    ba");
    const std::string unimarc = Record({{"100", general}, {"200", DataField("1 $aCommunaut\xC2" "e")}});
    EXPECT_EQ(Detect(unimarc), Charset::Iso5426);
    // Cyrillic words are runs of high bytes, whatever the leader says.
    EXPECT_EQ(Detect(FileWith(Encode(kRussian, "CP1251"))), Charset::Windows1251);
}

TEST(CharsetDetection, UnimarcGeneralProcessingDataDeclaresUtf8)
{
    const std::string general = DataField("  $a20151116d2005    k  y0rusy50      ca");
    const IsoRecord unimarc = ParseRecord(Record({{"100", general}}), 0, 0);
    EXPECT_TRUE(DeclaresUtf8(unimarc));
    const std::string cyrillic = DataField("  $a20151116d2005    k  y0rusy01      ca");
    EXPECT_FALSE(DeclaresUtf8(ParseRecord(Record({{"100", cyrillic}}), 0, 0)));
}

}  // namespace
}  // namespace luma
