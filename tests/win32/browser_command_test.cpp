#include "window/browser_command.h"

#include <gtest/gtest.h>

#include "window/main_window.h"

namespace karbelon::window {
namespace {

TEST(BrowserCommand, ExplorerUnderWindirWithTheQuotedAddress) {
    struct Case {
        const char* windir;
        const char* application;
        const char* commandLine;
    };
    const Case cases[] = {
        {R"(C:\Windows)", R"(C:\Windows\explorer.exe)",
         R"(C:\Windows\explorer.exe "http://orvane.example/")"},
        // Taken as it is: no trimming, no slash handling of its own.
        {R"(D:\Win Dows\)", R"(D:\Win Dows\\explorer.exe)",
         R"(D:\Win Dows\\explorer.exe "http://orvane.example/")"},
        {"윈도우", R"(윈도우\explorer.exe)", R"(윈도우\explorer.exe "http://orvane.example/")"},
    };
    for (const Case& c : cases) {
        const auto command = browserCommand(c.windir, authorPageAddress());
        ASSERT_TRUE(command.has_value()) << c.windir;
        EXPECT_EQ(command->application, c.application);
        EXPECT_EQ(command->commandLine, c.commandLine);
    }
}

TEST(BrowserCommand, OpensTheShownAddressWithASlash) {
    EXPECT_EQ(authorPageAddress(), std::string(authorAddress) + "/");
    const auto command = browserCommand("C:\\Windows", authorPageAddress());
    ASSERT_TRUE(command.has_value());
    EXPECT_TRUE(command->commandLine.ends_with(" \"" + std::string(authorAddress) + "/\""));
}

TEST(BrowserCommand, NothingIsLaunchedWithoutWindir) {
    EXPECT_FALSE(browserCommand("", authorPageAddress()).has_value());
}

}  // namespace
}  // namespace karbelon::window
