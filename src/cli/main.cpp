// luma-cli: reads ISO 2709 record files the way LUMA does, for scripts and for checking files.

#include <exception>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "commands.h"
#include "mark_command.h"
#include "platform/process.h"
#include "record_list.h"
#include "select_commands.h"

namespace {

struct Arguments {
    std::string path;
    std::vector<std::string> label;  // tag and text, or empty
    bool json = false;
    std::string records;
    std::string output;
    std::string text;
    std::string fieldTag;
    bool matchCase = false;
};

std::optional<luma::cli::LabelField> LabelOf(const Arguments& args) {
    if (args.label.size() != 2) {
        return std::nullopt;
    }
    return luma::cli::LabelField{args.label[0], args.label[1]};
}

void AddFileArgument(CLI::App& command, Arguments& args) {
    command.add_option("FILE", args.path, "ISO 2709 record file")->required();
}

void AddLabelOption(CLI::App& command, Arguments& args, const std::string& help) {
    command.add_option("--label", args.label, help)->expected(2)->type_name("TAG TEXT");
}

CLI::App* AddMarkCommand(CLI::App& app, Arguments& args, const std::string& name,
                         const std::string& help) {
    CLI::App* command = app.add_subcommand(name, help);
    AddFileArgument(*command, args);
    AddLabelOption(*command, args, "The label field, e.g. 901 '##$aОтобрано'");
    command->get_option("--label")->required();
    command->add_option("--records", args.records,
                        "Records by number, e.g. 1,5,10-12; - reads them from standard input")
        ->required();
    command->add_option("--output", args.output, "Results file to write")->required();
    return command;
}

// The records of `--records -`: what `luma-cli find` prints, one a line. An empty list is
// refused rather than written out as an unchanged copy that looks like a result.
std::optional<std::vector<int>> RecordsFromStandardInput(const Arguments& args, int& status) {
    const std::string text{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    auto records = luma::cli::ParseRecordText(text);
    if (!records) {
        std::cerr << "luma-cli: --records -: standard input holds something other than record numbers "
                     "and ranges such as 1 5 10-12\n";
        status = luma::cli::kExitUsage;
        return std::nullopt;
    }
    if (records->empty()) {
        std::cerr << "luma-cli: --records -: no record numbers on standard input; " << args.output
                  << " is not written\n";
        status = luma::cli::kExitProblems;
        return std::nullopt;
    }
    return records;
}

std::optional<std::vector<int>> RecordsOf(const Arguments& args, int& status) {
    if (args.records == "-") {
        return RecordsFromStandardInput(args, status);
    }
    auto records = luma::cli::ParseRecordList(args.records);
    if (!records) {
        std::cerr << "luma-cli: --records: '" << args.records
                  << "' is not a list of record numbers such as 1,5,10-12\n";
        status = luma::cli::kExitUsage;
    }
    return records;
}

int RunMarkCommand(luma::cli::MarkAction action, const Arguments& args) {
    int status = luma::cli::kExitOk;
    const auto records = RecordsOf(args, status);
    if (!records) {
        return status;
    }
    const luma::cli::MarkRequest request{action, args.path, *LabelOf(args), *records, args.output};
    return luma::cli::RunMark(request, std::cout, std::cerr);
}

int RunFindCommand(const Arguments& args) {
    if (!args.fieldTag.empty() && args.fieldTag.size() != 3) {
        std::cerr << "luma-cli: --field: '" << args.fieldTag << "' is not a tag of three characters such as 245\n";
        return luma::cli::kExitUsage;
    }
    return luma::cli::RunFind(args.path, {args.text, args.fieldTag, args.matchCase}, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Reads ISO 2709 bibliographic record files (MARC 21, UNIMARC, RUSMARC).",
                 "luma-cli"};
    app.set_version_flag("--version", "luma-cli " LUMA_VERSION);
    app.require_subcommand(1);
    app.footer(
        "Exit codes: 0 success; 1 check found problems; 2 the file cannot be read; "
        "3 unexpected failure; 64 wrong command line. find: 1 no record matched. mark and unmark: "
        "1 a listed record is not in the file, or --records - read no number; extract: 1 no record "
        "carries the label; for these, nothing is written then. mark, unmark and extract: 2 the file "
        "cannot be read, the command is refused or the output cannot be written.");

    Arguments args;
    CLI::App* count = app.add_subcommand("count", "Print the number of records");
    AddFileArgument(*count, args);
    AddLabelOption(*count, args,
                   "Also print how many fields have this tag and text, e.g. 901 '##$aText'");
    CLI::App* dump = app.add_subcommand("dump", "Print every record's fields");
    AddFileArgument(*dump, args);
    dump->add_flag("--json", args.json, "One JSON object per record and line");
    CLI::App* check = app.add_subcommand("check", "List damage found in the file");
    AddFileArgument(*check, args);
    CLI::App* find = app.add_subcommand("find", "Print the numbers of the records whose fields contain TEXT");
    AddFileArgument(*find, args);
    find->add_option("TEXT", args.text, "Text as the record view shows it, e.g. '$aПушкин'")->required();
    find->add_option("--field", args.fieldTag, "Search only fields with this tag, e.g. 245");
    find->add_flag("--case", args.matchCase, "Match case (by default Ё finds ё, A finds a)");
    CLI::App* extract = app.add_subcommand(
        "extract", "Save to --output only the records that carry the label, as the file holds them");
    AddFileArgument(*extract, args);
    AddLabelOption(*extract, args, "The label field, e.g. 901 '##$aОтобрано'");
    extract->get_option("--label")->required();
    extract->add_option("--output", args.output, "File to write")->required();
    CLI::App* mark = AddMarkCommand(app, args, "mark",
                                    "Add the label field to the listed records, save to --output");
    CLI::App* unmark = AddMarkCommand(
        app, args, "unmark", "Remove the label field from the listed records, save to --output");

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

    try {
        if (count->parsed()) {
            return luma::cli::RunCount(args.path, LabelOf(args), std::cout, std::cerr);
        }
        if (dump->parsed()) {
            return luma::cli::RunDump(args.path, args.json, std::cout, std::cerr);
        }
        if (find->parsed()) {
            return RunFindCommand(args);
        }
        if (extract->parsed()) {
            return luma::cli::RunExtract(args.path, *LabelOf(args), args.output, std::cout, std::cerr);
        }
        if (mark->parsed()) {
            return RunMarkCommand(luma::cli::MarkAction::Mark, args);
        }
        if (unmark->parsed()) {
            return RunMarkCommand(luma::cli::MarkAction::Unmark, args);
        }
        return luma::cli::RunCheck(args.path, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "luma-cli: " << error.what() << '\n';
        return luma::cli::kExitInternal;
    }
}
