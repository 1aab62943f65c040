#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/messages.h"
#include "fake_form1_view.h"
#include "window/main_window.h"

namespace karbelon::window {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using FakeView = test_support::FakeForm1View;

const std::string startReport =
    "실제데미지 : 337,275\r\n"
    "파력무참진 적용시 : 674,550\r\n"
    "보호 적용시 : 168,637\r\n"
    "쿨타임 : 10초\r\n"
    "데미지 감소율 : 75%";

using Step = std::function<void(FakeView&, Form1&)>;

Step type(ControlId id, std::string text) {
    return [id, text = std::move(text)](FakeView& view, Form1&) { view.texts[id] = text; };
}
const Step calculate = [](FakeView&, Form1& form) { form.command1Click(); };

struct Scenario {
    const char* name;
    std::vector<Step> steps;  // after load
    std::string text3;        // defence box afterwards
    std::string text4;        // result box afterwards
    std::vector<std::string> messageTexts;
};

class Form1Scenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(Form1Scenario, LeavesTheBoxesAndMessagesExpected) {
    const Scenario& scenario = GetParam();
    FakeView view;
    Form1 form(view, NumberConventions{});
    form.load();
    for (const Step& step : scenario.steps) {
        step(view, form);
    }
    EXPECT_EQ(view.texts[ControlId::Text3], scenario.text3);
    EXPECT_EQ(view.texts[ControlId::Text4], scenario.text4);
    for (const std::string& caption : view.messageCaptions) {
        EXPECT_EQ(caption, "Karbelon");
    }
    EXPECT_EQ(view.messages, scenario.messageTexts);
    EXPECT_EQ(view.unloads, 0);
}

const std::string zeroDefenceReport =
    "실제데미지 : 1,349,100\r\n"
    "파력무참진 적용시 : 2,698,200\r\n"
    "보호 적용시 : 674,550\r\n"
    "쿨타임 : 10초\r\n"
    "데미지 감소율 : 0%";

INSTANTIATE_TEST_SUITE_P(
    Part, Form1Scenario,
    ::testing::Values(
        Scenario{"NothingBeforeAClick", {}, "-100", "", {}},
        Scenario{"CalculateAtStart", {calculate}, "-100", startReport, {}},
        Scenario{"TwiceGivesFiveLinesNotTen", {calculate, calculate}, "-100", startReport, {}},
        Scenario{"HealthEmptiedKeepsTheOldReport",
                 {calculate, type(ControlId::Text1, ""), calculate},
                 "-100",
                 startReport,
                 {std::string(messages::healthMissing)}},
        Scenario{"ManaNotANumber",
                 {type(ControlId::Text2, "9OO"), calculate},
                 "-100",
                 "",
                 {std::string(messages::manaNotNumber)}},
        Scenario{"DefenceOutOfRangeAfterAReport",
                 {calculate, type(ControlId::Text3, "201"), calculate},
                 "201",
                 startReport,
                 {std::string(messages::defenceOutOfRange)}},
        Scenario{"DefenceEmptiedIsResetAndNothingElse",
                 {calculate, type(ControlId::Text3, ""), calculate},
                 "0",
                 startReport,
                 {}},
        Scenario{"ClickAfterTheResetUsesDefenceZero",
                 {type(ControlId::Text3, ""), calculate, calculate},
                 "0",
                 zeroDefenceReport,
                 {}},
        Scenario{"UnknownTypedSpell",
                 {type(ControlId::Combo1, "삼매"), calculate},
                 "-100",
                 "실제데미지 : \r\n파력무참진 적용시 : \r\n보호 적용시 : \r\n쿨타임 : 0초\r\n"
                 "데미지 감소율 : 75%",
                 {}},
        Scenario{"EditsAfterAReportCountOnTheNextClick",
                 {calculate, type(ControlId::Combo1, "지옥겁화"), type(ControlId::Text3, "0"),
                  calculate},
                 "0",
                 "실제데미지 : 1,822,170\r\n파력무참진 적용시 : 3,644,340\r\n"
                 "보호 적용시 : 911,085\r\n쿨타임 : 7.5초\r\n데미지 감소율 : 0%",
                 {}}),
    [](const ::testing::TestParamInfo<Scenario>& row) { return std::string(row.param.name); });

TEST(Form1, LoadFillsTheListInTableOrderAndWritesNoText) {
    FakeView view;
    Form1 form(view, NumberConventions{});
    form.load();
    EXPECT_THAT(view.spellItems, ElementsAre("카르벨론", "지옥염화", "지옥진화", "지옥멸화",
                                             "지옥겁화", "삼매진화", "삼매멸화", "삼매겁화"));
    EXPECT_THAT(view.writes, IsEmpty());
}

TEST(Form1, ReadsAndWritesNumbersWithItsConventions) {
    FakeView view;
    Form1 form(view, NumberConventions{",", "."});
    view.texts[ControlId::Text2] = "900.000,0";
    form.command1Click();
    EXPECT_EQ(view.texts[ControlId::Text4],
              "실제데미지 : 337.275\r\n파력무참진 적용시 : 674.550\r\n"
              "보호 적용시 : 168.637\r\n쿨타임 : 10초\r\n데미지 감소율 : 75%");
}

TEST(Form1, CloseUnloadsAndTouchesNothingElse) {
    FakeView view;
    Form1 form(view, NumberConventions{});
    form.command2Click();
    EXPECT_EQ(view.unloads, 1);
    EXPECT_THAT(view.writes, IsEmpty());
    EXPECT_THAT(view.messages, IsEmpty());
}

TEST(Form1, WebLabelOpensTheShownAddressWithSlashAndShowsNothing) {
    FakeView view;
    Form1 form(view, NumberConventions{});
    form.label6Click();
    EXPECT_THAT(view.openedPages, ElementsAre(std::string(authorAddress) + "/"));
    EXPECT_EQ(view.openedPages.front(), authorPageAddress());
    EXPECT_THAT(view.messages, IsEmpty());
    EXPECT_THAT(view.writes, IsEmpty());
}

}  // namespace
}  // namespace karbelon::window
