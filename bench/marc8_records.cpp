#include "marc8_records.h"

#include <random>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "records/iso_record.h"

namespace luma::bench {
namespace {

constexpr char kSubfield = 0x1F;

// The letters the word lists use that are not ASCII, as MARC-8 writes them: a diacritic (ANSEL
// 0xE0-0xFE) before its letter, a tie over two letters as its two halves, a few letters of
// their own. Longer keys first, so that a tie is taken before its first letter.
const std::vector<std::pair<std::string_view, std::string_view>> kMarc8Latin = {
    {"i\u0361a", "\xEB" "i\xEC" "a"}, {"i\u0361u", "\xEB" "i\xEC" "u"}, {"t\u0361s", "\xEB" "t\xEC" "s"},
    {"T\u0361S", "\xEB" "T\xEC" "S"}, {"I\u0361U", "\xEB" "I\xEC" "U"},
    {"à", "\xE1" "a"}, {"è", "\xE1" "e"}, {"ù", "\xE1" "u"},
    {"á", "\xE2" "a"}, {"é", "\xE2" "e"}, {"í", "\xE2" "i"}, {"ó", "\xE2" "o"}, {"ú", "\xE2" "u"},
    {"ý", "\xE2" "y"}, {"ź", "\xE2" "z"}, {"ń", "\xE2" "n"}, {"É", "\xE2" "E"}, {"Á", "\xE2" "A"},
    {"â", "\xE3" "a"}, {"ê", "\xE3" "e"}, {"î", "\xE3" "i"}, {"ô", "\xE3" "o"}, {"û", "\xE3" "u"},
    {"ė", "\xE7" "e"}, {"ĭ", "\xE6" "i"},
    {"ä", "\xE8" "a"}, {"ë", "\xE8" "e"}, {"ï", "\xE8" "i"}, {"ö", "\xE8" "o"}, {"ü", "\xE8" "u"},
    {"Ö", "\xE8" "O"}, {"Ü", "\xE8" "U"},
    {"č", "\xE9" "c"}, {"ď", "\xE9" "d"}, {"ě", "\xE9" "e"}, {"ň", "\xE9" "n"}, {"ř", "\xE9" "r"},
    {"š", "\xE9" "s"}, {"ť", "\xE9" "t"}, {"ž", "\xE9" "z"}, {"Č", "\xE9" "C"}, {"Š", "\xE9" "S"},
    {"Ž", "\xE9" "Z"}, {"Ř", "\xE9" "R"},
    {"ů", "\xEA" "u"}, {"ç", "\xF0" "c"},
    {"œ", "\xB6"}, {"ł", "\xB1"}, {"Ł", "\xA1"}, {"ʹ", "\xA7"}, {"ʺ", "\xB7"},
};

// Basic Cyrillic (ESC ( N): lower case from 0x40, upper case from 0x60, in this order.
constexpr std::string_view kCyrillicLower = "юабцдефгхийклмнопярстужвьызшэщчъ";
constexpr std::string_view kCyrillicUpper = "ЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧ";

std::string Marc8Latin(std::string_view utf8)
{
    std::string out;
    for (std::size_t at = 0; at < utf8.size();) {
        bool found = false;
        for (const auto& [letter, bytes] : kMarc8Latin) {
            if (utf8.substr(at, letter.size()) == letter) {
                out += bytes;
                at += letter.size();
                found = true;
                break;
            }
        }
        if (!found) {
            if (static_cast<unsigned char>(utf8[at]) >= 0x80) {
                throw std::logic_error("no MARC-8 form for a letter of: " + std::string(utf8));
            }
            out += utf8[at++];
        }
    }
    return out;
}

bool IsAscii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// A run of Cyrillic text as its own escape into Basic Cyrillic and back: the ASCII
// punctuation, digits and spaces between the words are the same bytes in both sets.
std::string Marc8Cyrillic(std::string_view utf8)
{
    if (IsAscii(utf8)) {
        return std::string(utf8);  // dates and the like need no escape
    }
    std::string out = "\x1B(N";
    for (std::size_t at = 0; at < utf8.size();) {
        if (static_cast<unsigned char>(utf8[at]) < 0x80) {
            out += utf8[at++];
            continue;
        }
        const std::string_view letter = utf8.substr(at, 2);  // every Cyrillic letter takes two bytes
        std::size_t index = kCyrillicLower.find(letter);
        char base = 0x40;
        if (index == std::string_view::npos) {
            index = kCyrillicUpper.find(letter);
            base = 0x60;
        }
        if (index == std::string_view::npos || index % 2 != 0) {
            throw std::logic_error("no Basic Cyrillic form for a letter of: " + std::string(utf8));
        }
        out += static_cast<char>(base + static_cast<char>(index / 2));
        at += 2;
    }
    return out + "\x1B(B";
}

struct Language {
    std::string code;     // 008/35-37
    std::string country;  // 008/15-17
    std::vector<std::string> names;     // "Surname, Forename$d dates"
    std::vector<std::string> words;     // of titles
    std::vector<std::string> imprints;  // "Place :$bPublisher"
};

// A Russian book: the romanized text in the field, the Cyrillic in its 880.
struct Both {
    std::string latin;
    std::string cyrillic;
};

std::vector<std::string> Latin(std::vector<std::string_view> texts)
{
    std::vector<std::string> out;
    for (const std::string_view text : texts) {
        out.push_back(Marc8Latin(text));
    }
    return out;
}

std::vector<Both> Pairs(std::vector<std::pair<std::string_view, std::string_view>> texts)
{
    std::vector<Both> out;
    for (const auto& [latin, cyrillic] : texts) {
        out.push_back({Marc8Latin(latin), std::string(cyrillic)});
    }
    return out;
}

}  // namespace

struct Marc8RecordMaker::Impl {
    explicit Impl(unsigned seed) : random(seed) {}

    std::mt19937 random;

    std::vector<Language> languages = {
        {"eng", "nyu",
         Latin({"Smith, John,$d1931-", "Brown, Margaret,$d1948-", "Taylor, Alan John Percivale,$d1906-1990",
                "Williams, Raymond,$d1921-1988", "Davies, Norman,$d1939-", "Clark, Kenneth,$d1903-1983",
                "Evans, Richard J.$q(Richard John),$d1947-", "Miller, Arthur,$d1915-2005", "Wilson, Edmund,$d1895-1972",
                "Hughes, Ted,$d1930-1998", "Johnson, Robert,$d1960-", "Moore, Henry,$d1898-1986"}),
         Latin({"history", "of", "the", "and", "in", "studies", "essays", "letters", "music", "art", "poetry",
                "theory", "introduction", "selected", "works", "politics", "society", "culture", "century",
                "modern", "early", "literature", "language", "philosophy", "science", "Europe", "central",
                "reform", "church", "war", "peace", "economic", "development", "collected", "papers",
                "national", "identity", "a", "new", "world", "American", "British", "short", "stories"}),
         Latin({"New York :$bW.W. Norton", "London :$bRoutledge", "Oxford :$bOxford University Press",
                "Cambridge :$bCambridge University Press", "Chicago :$bUniversity of Chicago Press",
                "Princeton, N.J. :$bPrinceton University Press"})},
        {"fre", "fr ",
         Latin({"Hugo, Victor,$d1802-1885", "Proust, Marcel,$d1871-1922", "Camus, Albert,$d1913-1960",
                "Bénichou, Paul", "Lévi-Strauss, Claude", "Barthes, Roland", "Ricœur, Paul",
                "Braudel, Fernand", "Fauré, Gabriel,$d1845-1924", "Éluard, Paul,$d1895-1952",
                "Céline, Louis-Ferdinand,$d1894-1961", "Le Goff, Jacques,$d1924-2014", "Rémond, René",
                "Debussy, Claude,$d1862-1918", "Boulez, Pierre,$d1925-2016", "Duras, Marguerite"}),
         Latin({"histoire", "de", "la", "le", "les", "et", "des", "études", "société", "littérature",
                "française", "siècle", "à", "réforme", "église", "théâtre", "poésie", "œuvres", "complètes",
                "mémoires", "économie", "politique", "pensée", "critique", "lettres", "choisies", "révolution",
                "développement", "musique", "leçons", "naïve", "fête", "âme", "rôle", "où", "dans", "sur",
                "France", "Paris", "roman", "art", "temps", "guerre", "paix", "vie", "monde", "essai"}),
         Latin({"Paris :$bGallimard", "Paris :$bÉditions du Seuil", "Genève :$bDroz",
                "Paris :$bPresses universitaires de France", "Lyon :$bPresses universitaires de Lyon",
                "Montréal :$bBoréal", "Paris :$bFayard"})},
        {"ger", "gw ",
         Latin({"Goethe, Johann Wolfgang von,$d1749-1832", "Müller, Heiner", "Böll, Heinrich,$d1917-1985",
                "Dürrenmatt, Friedrich", "Gödel, Kurt", "Schönberg, Arnold,$d1874-1951", "Brahms, Johannes,$d1833-1897",
                "Grass, Günter,$d1927-2015", "Kästner, Erich,$d1899-1974", "Mann, Thomas,$d1875-1955",
                "Hölderlin, Friedrich,$d1770-1843", "Jünger, Ernst,$d1895-1998", "Weber, Max,$d1864-1920",
                "Löwith, Karl,$d1897-1973"}),
         Latin({"Geschichte", "der", "die", "und", "im", "Jahrhundert", "Studien", "zur", "Literatur", "Gedichte",
                "Briefe", "Kunst", "Musik", "Österreich", "über", "für", "Bücher", "Gesellschaft", "Wirtschaft",
                "Politik", "Kirche", "Schriften", "ausgewählte", "Lieder", "Künstler", "Städte", "Übersetzung",
                "deutschen", "Sprache", "Werke", "Leben", "Zeit", "Berlin", "Wien", "zwischen", "Krieg",
                "Frieden", "Philosophie", "Geist", "Welt", "neue", "Beiträge", "Aufsätze", "Erinnerungen"}),
         Latin({"Frankfurt am Main :$bSuhrkamp", "München :$bC.H. Beck", "Göttingen :$bVandenhoeck & Ruprecht",
                "Wien :$bBöhlau", "Zürich :$bDiogenes", "Köln :$bBöhlau", "Berlin :$bAufbau"})},
        {"cze", "xr ",
         Latin({"Dvořák, Antonín,$d1841-1904", "Janáček, Leoš,$d1854-1928", "Čapek, Karel,$d1890-1938",
                "Hašek, Jaroslav,$d1883-1923", "Hrabal, Bohumil,$d1914-1997", "Kundera, Milan",
                "Seifert, Jaroslav,$d1901-1986", "Smetana, Bedřich,$d1824-1884", "Martinů, Bohuslav,$d1890-1959",
                "Havel, Václav", "Škvorecký, Josef", "Němcová, Božena,$d1820-1862", "Mácha, Karel Hynek,$d1810-1836",
                "Palacký, František,$d1798-1876", "Neruda, Jan,$d1834-1891", "Suk, Josef,$d1874-1935"}),
         Latin({"dějiny", "české", "literatury", "hudby", "v", "a", "století", "práce", "sborník", "studie",
                "básně", "dílo", "výbor", "země", "město", "řeč", "život", "člověk", "společnost", "umění",
                "kniha", "dopisy", "příspěvky", "k", "otázce", "národní", "obrození", "na", "o", "do", "Praha",
                "Morava", "kultura", "politika", "doba", "svět", "slovník", "román", "povídky", "hudba"}),
         Latin({"Praha :$bAcademia", "Praha :$bOdeon", "Brno :$bHost", "Praha :$bČeskoslovenský spisovatel",
                "Olomouc :$bUniverzita Palackého", "Praha :$bKarolinum"})},
    };

    std::vector<Both> russianNames = Pairs({
        {"Pushkin, Aleksandr Sergeevich,$d1799-1837", "Пушкин, Александр Сергеевич,$d1799-1837"},
        {"Tolstoĭ, Lev,$cgraf,$d1828-1910", "Толстой, Лев,$cграф,$d1828-1910"},
        {"Dostoevskiĭ, Fedor Mikhaĭlovich,$d1821-1881", "Достоевский, Федор Михайлович,$d1821-1881"},
        {"Chekhov, Anton Pavlovich,$d1860-1904", "Чехов, Антон Павлович,$d1860-1904"},
        {"Likhachev, Dmitriĭ Sergeevich", "Лихачев, Дмитрий Сергеевич"},
        {"Shostakovich, Dmitriĭ Dmitrievich,$d1906-1975", "Шостакович, Дмитрий Дмитриевич,$d1906-1975"},
        {"Akhmatova, Anna Andreevna,$d1889-1966", "Ахматова, Анна Андреевна,$d1889-1966"},
        {"Bulgakov, Mikhail Afanasʹevich,$d1891-1940", "Булгаков, Михаил Афанасьевич,$d1891-1940"},
        {"T͡Svetaeva, Marina,$d1892-1941", "Цветаева, Марина,$d1892-1941"},
        {"Lotman, I͡Uriĭ Mikhaĭlovich", "Лотман, Юрий Михайлович"},
    });
    std::vector<Both> russianWords = Pairs({
        {"istorii͡a", "история"}, {"russkoĭ", "русской"}, {"literatury", "литературы"}, {"izbrannye", "избранные"},
        {"proizvedenii͡a", "произведения"}, {"statʹi", "статьи"}, {"pisʹma", "письма"}, {"sobranie", "собрание"},
        {"sochineniĭ", "сочинений"}, {"ocherki", "очерки"}, {"teorii͡a", "теория"}, {"muzyki", "музыки"},
        {"i", "и"}, {"v", "в"}, {"veka", "века"}, {"kulʹtury", "культуры"}, {"naroda", "народа"},
        {"teatra", "театра"}, {"poėzii͡a", "поэзия"}, {"zhiznʹ", "жизнь"}, {"Rossii", "России"},
        {"materialy", "материалы"}, {"issledovanii͡a", "исследования"}, {"o", "о"}, {"obʺi͡asnenie", "объяснение"},
    });
    std::vector<Both> russianImprints = Pairs({
        {"Moskva :$bNauka", "Москва :$bНаука"},
        {"Leningrad :$bSovetskiĭ pisatelʹ", "Ленинград :$bСоветский писатель"},
        {"Moskva :$bKhudozhestvennai͡a literatura", "Москва :$bХудожественная литература"},
        {"Sankt-Peterburg :$bAzbuka", "Санкт-Петербург :$bАзбука"},
    });

    std::vector<std::string> subjects = Latin({
        "Czech literature$y20th century$xHistory and criticism", "Music$zCzech Republic$y19th century",
        "French poetry$y19th century", "Germany$xHistory$y1918-1933", "Russian literature$xHistory and criticism",
        "Composers$zCzech Republic$vBiography", "Philosophy, Modern", "Architecture$zAustria$zVienna",
        "Authors, French$y20th century$vBiography", "Europe$xCivilization", "Church history$yMiddle Ages, 600-1500",
        "Theater$zRussia (Federation)$xHistory", "Symphonies$xAnalysis, appreciation", "Political science$xPhilosophy",
        "German language$xHistory", "World War, 1939-1945$zFrance", "Prague (Czech Republic)$xHistory",
        "Economic development$zEurope, Eastern", "Opera$y19th century", "Literature, Comparative",
    });
    std::vector<std::string> notes = {
        "Includes bibliographical references and index.", "Includes bibliographical references (p. 301-315).",
        "Translation from the original.", "Includes index.", "Summary in English.",
    };

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    template <typename T>
    const T& Pick(const std::vector<T>& items)
    {
        return items[static_cast<std::size_t>(Between(0, static_cast<int>(items.size()) - 1))];
    }

    static std::string Subfields(std::string_view indicators, std::string_view notation)
    {
        std::string data(indicators);
        data += kSubfield;
        for (const char c : notation) {
            data += c == '$' ? kSubfield : c;
        }
        return data;
    }

    // Each subfield of Cyrillic text starts in ASCII again, as MARC-8 requires.
    static std::string CyrillicSubfields(std::string_view indicators, std::string_view link, std::string_view text)
    {
        std::string data(indicators);
        data += kSubfield;
        data += "6";
        data += link;
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t end = text.find('$', at + 2);
            if (end == std::string_view::npos) end = text.size();
            const std::string_view subfield = text.substr(at, end - at);  // "$a..." or the first one's text
            const bool coded = subfield.front() == '$';
            data += kSubfield;
            data += coded ? subfield[1] : 'a';
            data += Marc8Cyrillic(subfield.substr(coded ? 2 : 0));
            at = end;
        }
        return data;
    }

    static std::string Capitalized(std::string text)
    {
        if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
        return text;
    }

    std::string Title(const std::vector<std::string>& words, int low, int high)
    {
        std::string title;
        for (int i = Between(low, high); i > 0; --i) {
            if (!title.empty()) title += ' ';
            title += Pick(words);
        }
        return Capitalized(title);
    }

    std::string Make(int number)
    {
        IsoRecord record;
        record.leader = "00000cam  2200000 a 4500";
        const int year = 1950 + number % 70;
        // Two books in five in English, the rest in equal shares.
        const int draw = Between(1, 100);
        const bool russian = draw <= 15;
        std::vector<std::string> linked;  // a Russian book's 880 fields, after the others
        const Language& language = languages[draw <= 60 ? static_cast<std::size_t>(draw - 1) / 15 % 4 : 0];
        const std::string code = russian ? "rus" : language.code;
        const std::string country = russian ? "ru " : language.country;
        Add(record, "001", std::to_string(2000000000 + number));
        Add(record, "003", "DLC");
        Add(record, "005", "20231115103000.0");
        Add(record, "008", "231115s" + std::to_string(year) + "    " + country + "a     b    001 0 " + code + " d");
        if (Between(1, 3) > 1) Add(record, "010", Subfields("  ", "a   " + std::to_string(50000000 + number)));
        if (Between(1, 2) == 1) Add(record, "020", Subfields("  ", "a" + std::to_string(800000000 + number) + "X"));
        Add(record, "040", Subfields("  ", "aDLC$beng$cDLC$dDLC"));
        if (!russian) {
            Add(record, "100", Subfields("1 ", "a" + Pick(language.names) + "."));
            const std::string title = Title(language.words, 2, 9);
            Add(record, "245", Subfields("10", "a" + title + " /$c" + Title(language.words, 1, 3) + "."));
            Add(record, "260", Subfields("  ", "a" + Pick(language.imprints) + ",$c" + std::to_string(year) + "."));
        } else {
            // The romanized fields link to their 880s by $6, as LC writes them.
            const Both& name = Pick(russianNames);
            std::string latinTitle, cyrillicTitle;
            for (int i = Between(2, 8); i > 0; --i) {
                const Both& word = Pick(russianWords);
                latinTitle += (latinTitle.empty() ? "" : " ") + word.latin;
                cyrillicTitle += (cyrillicTitle.empty() ? "" : " ") + word.cyrillic;
            }
            latinTitle = Capitalized(latinTitle);
            const Both& imprint = Pick(russianImprints);
            const std::string date = ",$c" + std::to_string(year) + ".";
            Add(record, "100", Subfields("1 ", "6880-01$a" + name.latin + "."));
            Add(record, "245", Subfields("10", "6880-02$a" + latinTitle + "."));
            Add(record, "260", Subfields("  ", "6880-03$a" + imprint.latin + date));
            linked = {CyrillicSubfields("1 ", "100-01/(N", name.cyrillic + "."),
                        CyrillicSubfields("10", "245-02/(N", cyrillicTitle + "."),
                        CyrillicSubfields("  ", "260-03/(N", imprint.cyrillic + date)};
        }
        Add(record, "300", Subfields("  ", "a" + std::to_string(Between(40, 900)) + " p. :$bill. ;$c" +
                                               std::to_string(Between(18, 30)) + " cm."));
        for (int i = Between(0, 2); i > 0; --i) Add(record, "500", Subfields("  ", "a" + Pick(notes)));
        for (int i = Between(1, 4); i > 0; --i) Add(record, "650", Subfields(" 0", "a" + Pick(subjects) + "."));
        if (!russian) {
            for (int i = Between(0, 2); i > 0; --i) Add(record, "700", Subfields("1 ", "a" + Pick(language.names) + "."));
        }
        for (std::string& data : linked) record.fields.push_back({"880", std::move(data)});
        return BuildRecord(record).bytes;
    }

    static void Add(IsoRecord& record, std::string tag, std::string data)
    {
        record.fields.push_back({std::move(tag), std::move(data)});
    }
};

Marc8RecordMaker::Marc8RecordMaker(unsigned seed) : m_impl(std::make_unique<Impl>(seed)) {}

Marc8RecordMaker::~Marc8RecordMaker() = default;

std::string Marc8RecordMaker::Make(int number) { return m_impl->Make(number); }

}  // namespace luma::bench
