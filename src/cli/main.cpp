// luma-cli: reads ISO 2709 record files the way LUMA does, for scripts and for checking files.

#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "commands.h"

namespace {

struct Arguments {
    std::string path;
    std::vector<std::string> label;  // tag and text, or empty
    bool json = false;
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

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Reads ISO 2709 bibliographic record files (MARC 21, UNIMARC, RUSMARC).",
                 "luma-cli"};
    app.set_version_flag("--version", "luma-cli " LUMA_VERSION);
    app.require_subcommand(1);
    app.footer(
        "Exit codes: 0 success; 1 check found problems; 2 the file cannot be read; "
        "3 unexpected failure; 64 wrong command line.");

    Arguments args;
    CLI::App* count = app.add_subcommand("count", "Print the number of records");
    AddFileArgument(*count, args);
    count->add_option("--label", args.label,
                      "Also print how many fields have this tag and text, e.g. 901 '##$aText'")
        ->expected(2)
        ->type_name("TAG TEXT");
    CLI::App* dump = app.add_subcommand("dump", "Print every record's fields");
    AddFileArgument(*dump, args);
    dump->add_flag("--json", args.json, "One JSON object per record and line");
    CLI::App* check = app.add_subcommand("check", "List damage found in the file");
    AddFileArgument(*check, args);

    try {
        app.parse(argc, argv);
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
        return luma::cli::RunCheck(args.path, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "luma-cli: " << error.what() << '\n';
        return luma::cli::kExitInternal;
    }
}
