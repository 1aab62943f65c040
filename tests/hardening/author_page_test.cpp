// The web label launches a command line on Windows. Nothing the user types
// may reach it: the presenter hands the view only the fixed address, and
// the command is built from "windir" and that address alone.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "fake_form1_view.h"
#include "window/browser_command.h"
#include "window/control_table.h"
#include "window/main_window.h"

namespace karbelon::hardening {
namespace {

using ::testing::ElementsAre;
using window::ControlId;

// Texts that would change a command line if they ever reached one.
constexpr std::string_view markers[] = {
    "MARKER",
    "\" & calc.exe & \"",
    "http://evil.example/",
    "%windir%\\system32\\cmd.exe /c",
};

TEST(AuthorPage, OpensOnlyTheFixedAddressWhateverTheBoxesHold) {
    const std::string fixedAddress = std::string(window::authorAddress) + "/";
    for (const std::string_view marker : markers) {
        SCOPED_TRACE(marker);
        test_support::FakeForm1View view;
        window::Form1 form(view, NumberConventions{});
        form.load();
        for (const ControlId box : {ControlId::Combo1, ControlId::Text1, ControlId::Text2,
                                    ControlId::Text3, ControlId::Text4}) {
            view.texts[box] = marker;
        }
        form.command1Click();  // the boxes are read at least once
        form.label6Click();

        ASSERT_THAT(view.openedPages, ElementsAre(fixedAddress));
        const auto command = window::browserCommand("C:\\Windows", view.openedPages.front());
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->commandLine, "C:\\Windows\\explorer.exe \"" + fixedAddress + "\"");
    }
}

TEST(AuthorPage, AnOddWindirStaysInThePathAndTheAddressStaysQuoted) {
    const std::string quotedAddress = " \"" + window::authorPageAddress() + "\"";
    for (const std::string_view windir :
         {R"(C:\Win"dows)", R"(C:\Windows" "http://evil.example/)", R"(C:\Windows & calc.exe)"}) {
        SCOPED_TRACE(windir);
        const auto command = window::browserCommand(windir, window::authorPageAddress());
        ASSERT_TRUE(command.has_value());
        // The program to start is named on its own, so the command line's
        // quoting cannot pick another one.
        EXPECT_EQ(command->application, std::string(windir) + "\\explorer.exe");
        EXPECT_EQ(command->commandLine, command->application + quotedAddress);
    }
}

}  // namespace
}  // namespace karbelon::hardening
