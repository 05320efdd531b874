// luma-cli: reads ISO 2709 record files the way LUMA does, for scripts and for checking files.

#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "commands.h"
#include "mark_command.h"
#include "platform/process.h"
#include "record_list.h"

namespace {

struct Arguments {
    std::string path;
    std::vector<std::string> label;  // tag and text, or empty
    bool json = false;
    std::string records;
    std::string output;
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
    command->add_option("--records", args.records, "Records by number, e.g. 1,5,10-12")
        ->required();
    command->add_option("--output", args.output, "Results file to write")->required();
    return command;
}

int RunMarkCommand(luma::cli::MarkAction action, const Arguments& args) {
    const auto records = luma::cli::ParseRecordList(args.records);
    if (!records) {
        std::cerr << "luma-cli: --records: '" << args.records
                  << "' is not a list of record numbers such as 1,5,10-12\n";
        return luma::cli::kExitUsage;
    }
    const luma::cli::MarkRequest request{action, args.path, *LabelOf(args), *records, args.output};
    return luma::cli::RunMark(request, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Reads ISO 2709 bibliographic record files (MARC 21, UNIMARC, RUSMARC).",
                 "luma-cli"};
    app.set_version_flag("--version", "luma-cli " LUMA_VERSION);
    app.require_subcommand(1);
    app.footer(
        "Exit codes: 0 success; 1 check found problems; 2 the file cannot be read; "
        "3 unexpected failure; 64 wrong command line. mark and unmark: 1 a listed record is not "
        "in the file; 2 the file cannot be read, the command is refused or the output cannot "
        "be written.");

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
