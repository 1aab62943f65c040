// karbelon-cli: the calculator in a terminal, for every spell at once, and
// in batch over JSON Lines.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch_stream.h"
#include "cli/exit_status.h"
#include "cli/locale_conventions.h"
#include "cli/request_modes.h"
#include "cli/utf8_text.h"
#include "window/request_boxes.h"

namespace {

using namespace karbelon::cli;
using karbelon::DamageInputs;
using karbelon::NumberConventions;

constexpr std::string_view programName = "karbelon-cli";

constexpr std::string_view shortUsage =
    "Usage: karbelon-cli [--spell TEXT] [--hp TEXT] [--mp TEXT] [--defence TEXT] [--json]\n"
    "       karbelon-cli --all-spells [--hp TEXT] [--mp TEXT] [--defence TEXT] [--json]\n"
    "       karbelon-cli --batch < requests.jsonl\n"
    "Run with --help for more information.\n";

constexpr std::string_view exitStatusFooter =
    "Exit status: 0 figures (all spells: in every row; batch: every line valid),\n"
    "1 a message (all spells: in some row; batch: some line invalid), 2 usage error,\n"
    "3 defence was empty, 4 standard input or output failed.\n"
    "Separators of numbers follow the locale (LC_ALL, LC_NUMERIC, LANG).";

int usageError(std::string_view problem) {
    std::cerr << programName << ": " << withValidUtf8(problem) << '\n' << shortUsage;
    return exit_status::usage;
}

int outputFailure(std::string_view stream) {
    std::cerr << programName << ": cannot " << stream << '\n';
    return exit_status::inputOutput;
}

// CLI11 reads "--hp=" as "--hp" still waiting for its value; for our text
// options it means the empty text, as "--hp \"\"" does.
std::vector<std::string> withEmptyTextsSplit(int argc, char** argv) {
    constexpr std::array<std::string_view, 4> emptyForms{
        "--spell=", "--hp=", "--mp=", "--defence="};
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(argc) + emptyForms.size());
    for (int i = 0; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (i > 0 &&
            std::find(emptyForms.begin(), emptyForms.end(), argument) != emptyForms.end()) {
            arguments.emplace_back(argument.substr(0, argument.size() - 1));
            arguments.emplace_back();
        } else {
            arguments.emplace_back(argument);
        }
    }
    return arguments;
}

int runBatchMode(const NumberConventions& conventions) {
    std::cin.tie(nullptr);
    // A person typing requests sees each answer at once; a pipe gets blocks.
    const bool interactive = isatty(STDOUT_FILENO) != 0;
    const BatchSummary summary = runBatch(std::cin, std::cout, interactive, conventions);
    if (summary.readFailed) {
        return outputFailure("read standard input");
    }
    if (summary.writeFailed) {
        return outputFailure("write standard output");
    }
    return summary.invalidLines == 0 ? exit_status::figures : exit_status::message;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);

    // The window's preset texts, until an option says otherwise.
    DamageInputs inputs = karbelon::window::startRequest();
    bool json = false;
    bool allSpells = false;
    bool batch = false;

    CLI::App app{"Fire spell damage calculator: one request, every spell, or JSON Lines in batch.",
                 std::string(programName)};
    app.footer(std::string(exitStatusFooter));
    app.set_version_flag("--version", std::string(programName) + " " + KARBELON_VERSION);
    // Texts are taken exactly as given: "" is an empty text, blanks stay.
    const std::array<CLI::Option*, 4> textOptions{
        app.add_option("--spell", inputs.spell, "spell name, matched exactly")
            ->capture_default_str(),
        app.add_option("--hp", inputs.hp, "health")->capture_default_str(),
        app.add_option("--mp", inputs.mp, "mana")->capture_default_str(),
        app.add_option("--defence", inputs.defence, "target's defence, -200 to 200")
            ->capture_default_str(),
    };
    app.add_flag("--json", json, "write JSON instead of text");
    CLI::Option* const allSpellsFlag =
        app.add_flag("--all-spells", allSpells, "one row per spell of the table");
    CLI::Option* const batchFlag = app.add_flag(
        "--batch", batch,
        R"(read {"spell","hp","mp","defence"} JSON Lines from standard input, answer each line)");
    allSpellsFlag->excludes(textOptions[0]);
    for (CLI::Option* const option : textOptions) {
        batchFlag->excludes(option);
    }
    batchFlag->excludes(allSpellsFlag);

    try {
        const std::vector<std::string> arguments = withEmptyTextsSplit(argc, argv);
        std::vector<const char*> pointers;
        pointers.reserve(arguments.size());
        for (const std::string& argument : arguments) {
            pointers.push_back(argument.c_str());
        }
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::CallForHelp& request) {
        return app.exit(request);
    } catch (const CLI::CallForVersion& request) {
        return app.exit(request);
    } catch (const CLI::ParseError& error) {
        return usageError(error.what());
    }

    for (CLI::Option* const option : textOptions) {
        const std::string& text = option->as<std::string>();
        if (const auto invalidAt = findInvalidUtf8(text)) {
            return usageError("the text of " + option->get_name() + " is not valid UTF-8 (byte " +
                              std::to_string(*invalidAt + 1) + ")");
        }
    }

    const NumberConventions conventions = conventionsFromLocale();
    const OutputForm form = json ? OutputForm::Json : OutputForm::Text;
    int status = exit_status::figures;
    if (batch) {
        status = runBatchMode(conventions);
    } else if (allSpells) {
        status = runAllSpells(inputs, form, conventions, std::cout, std::cerr);
    } else {
        status = runSingleRequest(inputs, form, conventions, std::cout, std::cerr);
    }
    if (status != exit_status::inputOutput && !std::cout.flush()) {
        return outputFailure("write standard output");
    }
    return status;
}
