#pragma once

// What the Windows test programs share around their scenarios: choosing one
// by name, running it and printing its outcome in the form CTest matches.

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace karbelon::uitest {

// The log is UTF-8; the programs' texts are UTF-16.
std::string utf8(std::wstring_view text);

template <typename Context>
struct Scenario {
    const char* name;
    std::function<void(Context&)> run;
};

// Prints "usage: USAGE" and the scenario names.
void printUsage(const char* usage, const std::vector<const char*>& names);

// The scenario called WANTED; without one, prints the usage and returns nullptr.
template <typename Context, std::size_t count>
const Scenario<Context>* findScenario(const Scenario<Context> (&scenarios)[count],
                                      std::string_view wanted, const char* usage) {
    const auto* scenario =
        std::find_if(std::begin(scenarios), std::end(scenarios),
                     [&](const Scenario<Context>& s) { return wanted == s.name; });
    if (scenario == std::end(scenarios)) {
        std::vector<const char*> names;
        for (const Scenario<Context>& s : scenarios) {
            names.push_back(s.name);
        }
        printUsage(usage, names);
        return nullptr;
    }
    return scenario;
}

// Runs a scenario (RUN returns the failures it found) and prints the outcome:
// the driver error, each failure, or "passed". Returns the exit code.
int runScenario(const char* name, const std::function<std::vector<std::string>()>& run);

// Exit code of a program called without a scenario it knows.
constexpr int usageExitCode = 2;

}  // namespace karbelon::uitest
