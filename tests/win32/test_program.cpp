#include "test_program.h"

#include "form1_driver.h"

namespace karbelon::uitest {

std::string utf8(std::wstring_view text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

void printUsage(const char* usage, const std::vector<const char*>& names) {
    std::printf("usage: %s\nscenarios:", usage);
    for (const char* name : names) {
        std::printf(" %s", name);
    }
    std::printf("\n");
}

int runScenario(const char* name, const std::function<std::vector<std::string>()>& run) {
    std::vector<std::string> failures;
    try {
        failures = run();
    } catch (const DriverError& error) {
        std::printf("%s: %s\n", name, error.what());
        return 1;
    }
    for (const std::string& failure : failures) {
        std::printf("%s: %s\n", name, failure.c_str());
    }
    if (!failures.empty()) {
        return 1;
    }
    std::printf("%s: passed\n", name);
    return 0;
}

}  // namespace karbelon::uitest
