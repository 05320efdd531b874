// Writes the bundled sample file: a few RUSMARC records in Windows-1251, some of them carrying
// the label field 901, built through the same record code LUMA reads files with.
//
//   luma-make-sample OUTFILE

#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "records/field_text.h"
#include "records/iso_format.h"
#include "records/iso_record.h"
#include "charsets/charset.h"
#include "platform/file_io.h"

namespace {

struct Book {
    std::string id;
    std::string isbn;
    std::string title;
    std::string titleInfo;
    std::string responsibility;
    std::string place;
    std::string publisher;
    std::string year;
    std::string extent;
    std::string subject;
    std::string author;  // 700 field after its indicators
    std::string label;   // 901 field text, empty for an unlabelled record
};

const std::vector<Book>& Books() {
    static const std::vector<Book> books = {
        {"RU\\LUMA\\bibl\\0000001", "5-280-00009-4", "Евгений Онегин", "роман в стихах",
         "А. С. Пушкин", "Москва", "Художественная литература", "1985", "223 с.",
         "Русская поэзия$z19 в.", "#1$aПушкин$bА. С.$gАлександр Сергеевич", "##$aОтобрано"},
        {"RU\\LUMA\\bibl\\0000002", "978-5-04-116775-2", "Война и мир", "роман-эпопея",
         "Л. Н. Толстой", "Москва", "Эксмо", "2020", "1280 с.", "Русская проза$z19 в.",
         "#1$aТолстой$bЛ. Н.$gЛев Николаевич", ""},
        {"RU\\LUMA\\bibl\\0000003", "978-5-389-07123-0", "Рассказы", "",
         "А. П. Чехов ; вступ. ст. М. П. Громова", "Санкт-Петербург", "Азбука", "2016",
         "320 с.", "Русская проза$z19 в.", "#1$aЧехов$bА. П.$gАнтон Павлович",
         "##$aПросмотрено"},
        {"RU\\LUMA\\bibl\\0000004", "978-5-17-118366-0", "Мастер и Маргарита", "роман",
         "М. А. Булгаков", "Москва", "АСТ", "2020", "480 с.", "Русская проза$z20 в.",
         "#1$aБулгаков$bМ. А.$gМихаил Афанасьевич", "##$aОтобрано"},
        {"RU\\LUMA\\bibl\\0000005", "978-5-699-12014-7$dUS{dollar}4.50", "Мёртвые души",
         "поэма", "Н. В. Гоголь", "Москва", "Эксмо", "2006", "352 с.",
         "Русская проза$z19 в.", "#1$aГоголь$bН. В.$gНиколай Васильевич", ""},
        {"RU\\LUMA\\bibl\\0000006", "978-5-08-006154-7", "Преступление и наказание", "роман",
         "Ф. М. Достоевский ; худож. Д. Шмаринов", "Москва", "Детская литература", "2018",
         "527 с. : ил.", "Русская проза$z19 в.", "#1$aДостоевский$bФ. М.$gФёдор Михайлович",
         ""},
    };
    return books;
}

// Field 100 $a: entry date, publication date, audience, language "rus", character set,
// Cyrillic script of title; 36 positions as UNIMARC lays them out.
std::string GeneralProcessingData(const std::string& year) {
    return "##$a20240115d" + year + "    k  y0rusy01      ca";
}

std::string TitleField(const Book& book) {
    std::string text = "1#$a" + book.title;
    if (!book.titleInfo.empty()) {
        text += "$e" + book.titleInfo;
    }
    return text + "$f" + book.responsibility;
}

std::vector<std::pair<std::string, std::string>> FieldTexts(const Book& book) {
    std::vector<std::pair<std::string, std::string>> fields = {
        {"001", book.id},
        {"005", "20240115103000.0"},
        {"010", "##$a" + book.isbn},
        {"100", GeneralProcessingData(book.year)},
        {"101", "0#$arus"},
        {"200", TitleField(book)},
        {"210", "##$a" + book.place + "$c" + book.publisher + "$d" + book.year},
        {"215", "##$a" + book.extent},
        {"606", "1#$a" + book.subject},
        {"700", book.author},
        {"801", "#0$aRU$bLUMA$c20240115"},
    };
    if (!book.label.empty()) {
        fields.emplace_back("901", book.label);
    }
    return fields;
}

// The record's bytes, or an error message.
std::pair<std::string, std::string> BuildBook(const Book& book, luma::TextCodec& codec) {
    luma::IsoRecord record;
    record.leader = "00000nam0 2200000 i 450 ";
    const std::size_t indicators = luma::iso::IndicatorCountOf(record.leader);
    for (const auto& [tag, text] : FieldTexts(book)) {
        luma::FieldDataResult data = luma::FieldFromText(tag, text, indicators, codec);
        if (data.error) {
            return {"", book.id + " " + tag + ": " + *data.error};
        }
        record.fields.push_back({tag, std::move(data.data)});
    }
    luma::BuildResult built = luma::BuildRecord(record);
    return {std::move(built.bytes), built.error.value_or("")};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: luma-make-sample OUTFILE\n";
        return 2;
    }
    luma::TextCodec codec(luma::Charset::Windows1251);
    std::string file;
    for (const Book& book : Books()) {
        auto [bytes, error] = BuildBook(book, codec);
        if (!error.empty()) {
            std::cerr << "luma-make-sample: " << error << '\n';
            return 1;
        }
        file += bytes;
    }
    if (auto error = luma::ReplaceFileAtomically(argv[1], file)) {
        std::cerr << "luma-make-sample: " << argv[1] << ": " << *error << '\n';
        return 1;
    }
    return 0;
}
