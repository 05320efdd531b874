// luma-cli: reads ISO 2709 record files the way LUMA does, for scripts and for checking files.

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <iostream>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "charsets/charset.h"
#include "commands.h"
#include "mark_command.h"
#include "messages.h"
#include "platform/process.h"
#include "record_list.h"
#include "select_commands.h"

namespace {

using luma::cli::Voice;

struct Arguments {
    std::string path;
    std::vector<std::string> label;  // tag and text, or empty
    bool json = false;
    std::string records;
    std::string output;
    std::string text;
    std::string fieldTag;
    bool matchCase = false;
    bool ignoreDiacritics = false;
    std::optional<std::string> charsetName;  // as given to --charset
    std::optional<luma::Charset> charset;    // what it names, once parsing is done
};

std::optional<luma::cli::LabelField> LabelOf(const Arguments& args) {
    if (args.label.size() != 2) {
        return std::nullopt;
    }
    return luma::cli::LabelField{args.label[0], args.label[1]};
}

void AddFileArgument(CLI::App& command, Arguments& args, const Voice& voice) {
    command.add_option("FILE", args.path, voice.Say({"Файл записей ISO 2709", "ISO 2709 record file"}))
        ->required();
}

void AddLabelOption(CLI::App& command, Arguments& args, const std::string& help) {
    command.add_option("--label", args.label, help)->expected(2)->type_name("TAG TEXT");
}

// The names --charset is offered with: one per set, the IANA name where the set has one.
std::string CharsetNames() {
    std::string names;
    for (const luma::Charset charset : luma::AllCharsets()) {
        names += (names.empty() ? "" : ", ") + std::string(luma::IanaName(charset));
    }
    return names;
}

// On the program and on each command, so that it may come before or after the command's name.
void AddCharsetOption(CLI::App& command, Arguments& args, const Voice& voice) {
    command
        .add_option_function<std::string>(
            "--charset", [&args](const std::string& name) { args.charsetName = name; },
            voice.Say({"Читать FILE в этой кодировке, а не в найденной по его байтам: %1 (регистр "
                       "букв не важен)",
                       "Read FILE in this character set instead of the one its bytes suggest: %1 (any "
                       "letter case)"},
                      {CharsetNames()}))
        ->type_name("NAME");
}

// The set --charset names; false, with the names it takes, when it names none.
bool ResolveCharset(Arguments& args, const Voice& voice) {
    if (!args.charsetName) {
        return true;
    }
    args.charset = luma::CharsetFromName(*args.charsetName);
    if (!args.charset) {
        std::cerr << "luma-cli: "
                  << voice.Say({"--charset: «%1» не название кодировки; можно: %2",
                                "--charset: '%1' is not the name of a character set; use one of: %2"},
                               {*args.charsetName, CharsetNames()})
                  << '\n';
    }
    return args.charset.has_value();
}

const luma::cli::Text kLabelHelp{"Поле метки, например 901 '##$aОтобрано'",
                                 "The label field, e.g. 901 '##$aОтобрано'"};

// A command's own exit codes, after the ones every command shares.
struct ExitCode {
    int code;
    luma::cli::Text meaning;
};

const luma::cli::Text kReadFailure{"файл не читается", "the file cannot be read"};

std::string ExitCodes(std::initializer_list<ExitCode> own, const Voice& voice) {
    std::string text = voice.Say({"Коды выхода: 0 успех", "Exit codes: 0 success"});
    for (const ExitCode& code : own) {
        text += "; " + std::to_string(code.code) + " " + voice.Say(code.meaning);
    }
    text += voice.Say({"; 3 непредвиденный сбой; 64 неверная командная строка.",
                       "; 3 unexpected failure; 64 wrong command line."});
    return text;
}

// A new subcommand, with the help flag in the run's language and its own exit codes below its help.
CLI::App* AddCommand(CLI::App& app, const std::string& name, const luma::cli::Text& help,
                     std::initializer_list<ExitCode> exitCodes, const Voice& voice) {
    CLI::App* command = app.add_subcommand(name, voice.Say(help));
    command->set_help_flag("-h,--help",
                           voice.Say({"Показать эту справку и выйти", "Print this help message and exit"}));
    command->footer(ExitCodes(exitCodes, voice));
    return command;
}

CLI::App* AddMarkCommand(CLI::App& app, Arguments& args, const std::string& name,
                         const luma::cli::Text& help, const Voice& voice) {
    CLI::App* command = AddCommand(
        app, name, help,
        {{1, {"записи из списка нет в файле или --records - не прочитал ни одного номера (--output "
              "тогда не пишется)",
              "a listed record is not in the file, or --records - read no number (nothing is written "
              "then)"}},
         {2, {"файл не читается, команда отклонена или --output не записывается (прежний файл "
              "остаётся как был)",
              "the file cannot be read, the command is refused or the output cannot be written (an "
              "existing one is left as it was)"}}},
        voice);
    AddFileArgument(*command, args, voice);
    AddLabelOption(*command, args, voice.Say(kLabelHelp));
    command->get_option("--label")->required();
    command->add_option("--records", args.records,
                        voice.Say({"Номера записей, например 1,5,10-12; - читает их со стандартного ввода",
                                   "Records by number, e.g. 1,5,10-12; - reads them from standard input"}))
        ->required();
    command->add_option("--output", args.output, voice.Say({"Файл результатов", "Results file to write"}))
        ->required();
    return command;
}

// The records of `--records -`: what `luma-cli find` prints, one a line. An empty list is
// refused rather than written out as an unchanged copy that looks like a result.
std::optional<std::vector<int>> RecordsFromStandardInput(const Arguments& args, const Voice& voice,
                                                         int& status) {
    const std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    auto records = luma::cli::ParseRecordText(text);
    if (!records) {
        std::cerr << "luma-cli: "
                  << voice.Say({"--records -: на стандартном вводе не только номера записей и диапазоны "
                                "вроде 1 5 10-12",
                                "--records -: standard input holds something other than record numbers and "
                                "ranges such as 1 5 10-12"})
                  << '\n';
        status = luma::cli::kExitUsage;
        return std::nullopt;
    }
    if (records->empty()) {
        std::cerr << "luma-cli: "
                  << voice.Say({"--records -: на стандартном вводе нет номеров записей; %1 не записан",
                                "--records -: no record numbers on standard input; %1 is not written"},
                               {args.output})
                  << '\n';
        status = luma::cli::kExitProblems;
        return std::nullopt;
    }
    return records;
}

std::optional<std::vector<int>> RecordsOf(const Arguments& args, const Voice& voice, int& status) {
    if (args.records == "-") {
        return RecordsFromStandardInput(args, voice, status);
    }
    auto records = luma::cli::ParseRecordList(args.records);
    if (!records) {
        std::cerr << "luma-cli: "
                  << voice.Say({"--records: «%1» не список номеров записей вроде 1,5,10-12",
                                "--records: '%1' is not a list of record numbers such as 1,5,10-12"},
                               {args.records})
                  << '\n';
        status = luma::cli::kExitUsage;
    }
    return records;
}

int RunMarkCommand(luma::cli::MarkAction action, const Arguments& args, const Voice& voice) {
    int status = luma::cli::kExitOk;
    const auto records = RecordsOf(args, voice, status);
    if (!records) {
        return status;
    }
    const luma::cli::MarkRequest request{action, args.path, *LabelOf(args), *records, args.output,
                                         args.charset};
    return luma::cli::RunMark(request, voice, std::cout, std::cerr);
}

int RunFindCommand(const Arguments& args, const Voice& voice) {
    if (!args.fieldTag.empty() && args.fieldTag.size() != 3) {
        std::cerr << "luma-cli: "
                  << voice.Say({"--field: «%1» не тег из трёх знаков вроде 245",
                                "--field: '%1' is not a tag of three characters such as 245"},
                               {args.fieldTag})
                  << '\n';
        return luma::cli::kExitUsage;
    }
    return luma::cli::RunFind(args.path, args.charset,
                              {args.text, args.fieldTag, args.matchCase, args.ignoreDiacritics}, voice,
                              std::cout, std::cerr);
}

// CLI11's help, with its columns lined up however many bytes a letter takes: CLI11 counts
// bytes, and a Cyrillic letter is two.
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_option(const CLI::Option* option, bool isPositional) const override {
        std::string line = "  " + make_option_name(option, isPositional) + make_option_opts(option);
        const auto letters = static_cast<std::size_t>(std::count_if(
            line.begin(), line.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
        const std::string indent(get_column_width(), ' ');
        line += letters < indent.size() ? indent.substr(letters) : "\n" + indent;
        for (const char c : make_option_desc(option)) {
            line += c;
            if (c == '\n') {
                line += indent;
            }
        }
        return line + "\n";
    }
};

// The help's own words, which CLI11 writes in English.
void UseHelpFormatter(CLI::App& app, luma::cli::Language language) {
    auto formatter = std::make_shared<HelpFormatter>();
    if (language == luma::cli::Language::Russian) {
        formatter->label("Usage", "Запуск");
        formatter->label("OPTIONS", "ПАРАМЕТРЫ");
        formatter->label("SUBCOMMAND", "КОМАНДА");
        formatter->label("SUBCOMMANDS", "КОМАНДЫ");
        formatter->label("Positionals", "Аргументы");
        formatter->label("REQUIRED", "ОБЯЗАТЕЛЬНО");
        formatter->label("TEXT", "ТЕКСТ");
        formatter->label("TAG TEXT", "ТЕГ ТЕКСТ");
        formatter->label("NAME", "ИМЯ");
    }
    app.formatter(formatter);
}

// The name CLI11 puts before what went wrong: "--label", "FILE".
std::string OptionNamed(const std::string& message) {
    const std::size_t dashes = message.find("--");
    if (dashes != std::string::npos) {
        return message.substr(dashes, message.find_first_of(" :,", dashes) - dashes);
    }
    for (const char* positional : {"FILE", "TEXT"}) {
        if (message.find(positional) != std::string::npos) {
            return positional;
        }
    }
    return std::string();
}

// CLI11's complaints, in the run's language: what was wrong, and where the help is.
std::string WrongCommandLine(const CLI::App* app, const CLI::Error& error, const Voice& voice) {
    // CLI11 names some errors by the command they arose in, so they are told by their words.
    const std::string message = error.what();
    const std::string option = OptionNamed(message);
    const std::size_t unexpected = message.find("not expected: ");
    std::string what;
    if (message.find("subcommand") != std::string::npos) {
        what = voice.Say({"нужна команда: count, dump, check, find, extract, mark или unmark",
                          "a command is needed: count, dump, check, find, extract, mark or unmark"});
    } else if (unexpected != std::string::npos) {
        what = voice.Say({"лишнее в командной строке: %1", "not expected here: %1"},
                         {message.substr(unexpected + 14)});
    } else if (message.find(" is required") != std::string::npos && !option.empty()) {
        what = voice.Say({"не задан %1", "%1 is required"}, {option});
    } else if (!option.empty()) {
        what = voice.Say(
            {"%1: не то число значений или не те значения", "%1: the wrong number or kind of values"}, {option});
    } else {
        what = voice.Say({"неверная командная строка", "wrong command line"});
    }
    std::string help = "luma-cli";
    for (const CLI::App* command : app->get_subcommands()) {
        help += " " + command->get_name();
    }
    return "luma-cli: " + what + "\n" +
           voice.Say({"Справка: %1 --help", "For help: %1 --help"}, {help}) + "\n";
}

// The program's own help, flags and messages, in the run's language.
void SetUpProgram(CLI::App& app, const Voice& voice) {
    UseHelpFormatter(app, voice.language());
    // Set before the commands are added: they take the group names and the help flag from here.
    app.option_defaults()->group(voice.Say({"Параметры", "Options"}));
    app.group(voice.Say({"Команды", "Subcommands"}));
    app.set_help_flag("-h,--help",
                      voice.Say({"Показать эту справку и выйти", "Print this help message and exit"}));
    app.set_version_flag(
        "--version", "luma-cli " LUMA_VERSION,
        voice.Say({"Показать версию программы и выйти", "Display program version information and exit"}));
    app.failure_message([&voice](const CLI::App* command, const CLI::Error& error) {
        return WrongCommandLine(command, error, voice);
    });
    app.require_subcommand(1);
    app.footer(voice.Say({"Коды выхода всех команд: 0 успех; 2 файл не читается; 3 непредвиденный сбой; "
                          "64 неверная командная строка. Свои коды каждой команды: luma-cli КОМАНДА --help.",
                          "Exit codes of every command: 0 success; 2 the file cannot be read; 3 unexpected "
                          "failure; 64 wrong command line. Each command's own: luma-cli SUBCOMMAND --help."}));

}

// The commands a run may give, parsed into one set of arguments.
struct Commands {
    CLI::App* count;
    CLI::App* dump;
    CLI::App* check;
    CLI::App* find;
    CLI::App* extract;
    CLI::App* mark;
    CLI::App* unmark;
};

Commands AddCommands(CLI::App& app, Arguments& args, const Voice& voice) {
    CLI::App* count = AddCommand(app, "count", {"Напечатать число записей", "Print the number of records"},
                                 {{2, kReadFailure}}, voice);
    AddFileArgument(*count, args, voice);
    AddLabelOption(*count, args,
                   voice.Say({"Ещё напечатать, сколько полей с этим тегом и текстом, например 901 '##$aТекст'",
                              "Also print how many fields have this tag and text, e.g. 901 '##$aText'"}));
    CLI::App* dump = AddCommand(app, "dump", {"Напечатать поля каждой записи", "Print every record's fields"},
                                {{2, kReadFailure}}, voice);
    AddFileArgument(*dump, args, voice);
    dump->add_flag("--json", args.json,
                   voice.Say({"По объекту JSON на запись и строку", "One JSON object per record and line"}));
    CLI::App* check = AddCommand(app, "check", {"Перечислить повреждения файла", "List damage found in the file"},
                                 {{1, {"найдены повреждения", "check found problems"}}, {2, kReadFailure}}, voice);
    AddFileArgument(*check, args, voice);
    CLI::App* find = AddCommand(
        app, "find",
        {"Напечатать номера записей, в полях которых есть TEXT",
         "Print the numbers of the records whose fields contain TEXT"},
        {{1, {"ни одна запись не подошла", "no record matched"}}, {2, kReadFailure}}, voice);
    AddFileArgument(*find, args, voice);
    find->add_option("TEXT", args.text,
                     voice.Say({"Текст, как его показывает окно записи, например '$aПушкин'",
                                "Text as the record view shows it, e.g. '$aПушкин'"}))
        ->required();
    find->add_option("--field", args.fieldTag,
                     voice.Say({"Искать только в полях с этим тегом, например 245",
                                "Search only fields with this tag, e.g. 245"}));
    find->add_flag("--case", args.matchCase,
                   voice.Say({"Учитывать регистр (без этого Ё находит ё, A находит a)",
                              "Match case (by default Ё finds ё, A finds a)"}));
    find->add_flag("--ignore-diacritics", args.ignoreDiacritics,
                   voice.Say({"Не различать буквы с диакритикой и без неё (e находит é)",
                              "Ignore diacritics (e finds é)"}));
    CLI::App* extract = AddCommand(
        app, "extract",
        {"Сохранить в --output только записи с меткой, как они лежат в файле",
         "Save to --output only the records that carry the label, as the file holds them"},
        {{1, {"ни одна запись не несёт метки (--output тогда не пишется)",
              "no record carries the label (nothing is written then)"}},
         {2, {"файл не читается или --output не записывается (прежний файл остаётся как был)",
              "the file cannot be read or the output cannot be written (an existing one is left as "
              "it was)"}}},
        voice);
    AddFileArgument(*extract, args, voice);
    AddLabelOption(*extract, args, voice.Say(kLabelHelp));
    extract->get_option("--label")->required();
    extract->add_option("--output", args.output, voice.Say({"Файл, который записать", "File to write"}))
        ->required();
    CLI::App* mark = AddMarkCommand(app, args, "mark",
                                    {"Добавить поле метки в записи из списка, сохранить в --output",
                                     "Add the label field to the listed records, save to --output"},
                                    voice);
    CLI::App* unmark = AddMarkCommand(app, args, "unmark",
                                      {"Убрать поле метки из записей списка, сохранить в --output",
                                       "Remove the label field from the listed records, save to --output"},
                                      voice);
    for (CLI::App* command : {count, dump, check, find, extract, mark, unmark}) {
        AddCharsetOption(*command, args, voice);
    }
    return {count, dump, check, find, extract, mark, unmark};
}

// Runs the command parsed; an unexpected failure is reported, not thrown out of the program.
int Run(const Commands& commands, const Arguments& args, const Voice& voice) {
    try {
        if (commands.count->parsed()) {
            return luma::cli::RunCount(args.path, args.charset, LabelOf(args), voice, std::cout, std::cerr);
        }
        if (commands.dump->parsed()) {
            return luma::cli::RunDump(args.path, args.charset, args.json, voice, std::cout, std::cerr);
        }
        if (commands.find->parsed()) {
            return RunFindCommand(args, voice);
        }
        if (commands.extract->parsed()) {
            return luma::cli::RunExtract(args.path, args.charset, *LabelOf(args), args.output, voice,
                                         std::cout, std::cerr);
        }
        if (commands.mark->parsed()) {
            return RunMarkCommand(luma::cli::MarkAction::Mark, args, voice);
        }
        if (commands.unmark->parsed()) {
            return RunMarkCommand(luma::cli::MarkAction::Unmark, args, voice);
        }
        return luma::cli::RunCheck(args.path, args.charset, voice, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "luma-cli: " << voice.Say({"не хватило памяти", "out of memory"}) << '\n';
        return luma::cli::kExitInternal;
    } catch (const std::exception& error) {
        std::cerr << "luma-cli: "
                  << voice.Say({"непредвиденный сбой: %1", "unexpected failure: %1"}, {error.what()}) << '\n';
        return luma::cli::kExitInternal;
    }
}


}  // namespace

int main(int argc, char** argv) {
    // Chosen once, before anything is said; everything that talks to the operator is handed it.
    const Voice voice(luma::cli::LanguageOfEnvironment());
    CLI::App app{voice.Say({"Читает файлы библиографических записей ISO 2709 (MARC 21, UNIMARC, RUSMARC).",
                            "Reads ISO 2709 bibliographic record files (MARC 21, UNIMARC, RUSMARC)."}),
                 "luma-cli"};
    SetUpProgram(app, voice);
    Arguments args;
    AddCharsetOption(app, args, voice);
    const Commands commands = AddCommands(app, args, voice);

    // Windows gives argv in the ANSI code page, which cannot hold every file name or label text.
    std::vector<std::string> arguments = luma::Utf8Arguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    luma::UseUtf8StandardStreams();

    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& error) {
        // --help and --version arrive here too, with exit code 0.
        return app.exit(error) == 0 ? luma::cli::kExitOk : luma::cli::kExitUsage;
    }
    if (!ResolveCharset(args, voice)) {
        return luma::cli::kExitUsage;
    }
    return Run(commands, args, voice);
}
