// Writes a catalogue-like ISO 2709 file for the benchmark: RUSMARC-style records in
// Windows-1251 whose field counts and lengths vary as real catalogue records do, about one in
// twenty already carrying the label field; or, with --marc8, MARC 21 records in MARC-8 (see
// marc8_records.h).
//
//   luma-bench-generate [--marc8] RECORDS OUTFILE [SEED]

#include <algorithm>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "marc8_records.h"
#include "records/field_text.h"
#include "records/iso_record.h"
#include "charsets/charset.h"
#include "platform/file_io.h"

namespace {

const std::vector<std::string> kWords = {
    "основы", "расчета", "инженерных", "сетей", "гидравлика", "учебное", "пособие", "для",
    "вузов", "история", "России", "XIX", "века", "сборник", "статей", "материалы",
    "конференции", "Москва", "Санкт-Петербург", "издательство", "Наука", "том", "выпуск",
    "теория", "практика", "экономика", "право", "литература", "философия", "введение",
    "исследование", "методы", "анализа", "данных", "педагогика", "психология", "словарь",
    "справочник", "техника", "строительство", "архитектура", "медицина", "биология", "химия"};

class RecordMaker {
public:
    explicit RecordMaker(unsigned seed) : m_random(seed) {}

    std::string Make(int number)
    {
        luma::IsoRecord record;
        record.leader = "00000nam0 2200000   450 ";
        Add(record, "001", "RU\\NLR\\bibl\\" + std::to_string(1000000 + number));
        Add(record, "005", "20231115103000.0");
        Add(record, "100", "##$a20231115d" + std::to_string(1950 + number % 70) + "    k  y0rusy0189    ca");
        Add(record, "101", "0#$arus");
        Add(record, "200", "1#$a" + Phrase(2, 12) + "$e" + Phrase(1, 6) + "$f" + Phrase(1, 4));
        Add(record, "210", "##$aМосква$c" + Phrase(1, 3) + "$d" + std::to_string(1950 + number % 70));
        Add(record, "215", "##$a" + std::to_string(Between(50, 900)) + " с.");
        for (int i = Between(0, 3); i > 0; --i) Add(record, "300", "##$a" + Phrase(3, 16));
        for (int i = Between(1, 5); i > 0; --i) Add(record, "606", "0#$a" + Phrase(1, 4) + "$x" + Phrase(1, 3));
        for (int i = Between(0, 4); i > 0; --i) Add(record, "700", "#1$a" + Phrase(1, 2) + "$bА. Б.");
        Add(record, "801", "#0$aRU$bNLR$c20231115");
        if (Between(1, 20) == 1) Add(record, "901", "##$aОтобрано");
        return luma::BuildRecord(record).bytes;
    }

private:
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    std::string Phrase(int minWords, int maxWords)
    {
        std::string phrase;
        for (int i = Between(minWords, maxWords); i > 0; --i) {
            if (!phrase.empty()) phrase += ' ';
            phrase += kWords[static_cast<std::size_t>(Between(0, static_cast<int>(kWords.size()) - 1))];
        }
        return phrase;
    }

    void Add(luma::IsoRecord& record, const std::string& tag, const std::string& text)
    {
        luma::FieldDataResult data = luma::FieldFromText(tag, text, 2, m_codec);
        record.fields.push_back({tag, std::move(data.data)});
    }

    std::mt19937 m_random;
    luma::TextCodec m_codec{luma::Charset::Windows1251};
};

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const auto marc8 = std::find(args.begin(), args.end(), "--marc8");
    const bool isMarc8 = marc8 != args.end();
    if (isMarc8) args.erase(marc8);
    if (args.size() < 2) {
        std::cerr << "usage: luma-bench-generate [--marc8] RECORDS OUTFILE [SEED]\n";
        return 64;
    }
    const int records = std::stoi(args[0]);
    const unsigned seed = args.size() > 2 ? static_cast<unsigned>(std::stoul(args[2])) : 2709u;
    std::ofstream out(luma::PathFromUtf8(args[1]), std::ios::binary);
    if (isMarc8) {
        luma::bench::Marc8RecordMaker maker(seed);
        for (int number = 0; number < records; ++number) out << maker.Make(number);
    } else {
        RecordMaker maker(seed);
        for (int number = 0; number < records; ++number) out << maker.Make(number);
    }
    out.close();
    if (!out) {
        std::cerr << "luma-bench-generate: cannot write " << args[1] << '\n';
        return 2;
    }
    return 0;
}
