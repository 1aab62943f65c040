#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/messages.h"
#include "fake_form1_view.h"
#include "huge_cases.h"
#include "window/main_window.h"

namespace karbelon::hardening {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using window::ControlId;

ControlId controlOf(Box box) {
    switch (box) {
        case Box::Spell:
            return ControlId::Combo1;
        case Box::Hp:
            return ControlId::Text1;
        case Box::Mp:
            return ControlId::Text2;
        case Box::Defence:
            return ControlId::Text3;
    }
    return ControlId::Combo1;
}

// Types the text into its box, clicks calculate once and checks what the
// window shows; the typed text itself must stay as it was.
void expectAnswer(Box box, const std::string& text, OutcomeKind kind, std::string_view answer) {
    test_support::FakeForm1View view;
    window::Form1 form(view, NumberConventions{});
    form.load();
    const std::string previousReport = "(previous report)";
    view.texts[ControlId::Text4] = previousReport;
    view.texts[controlOf(box)] = text;

    form.command1Click();

    if (kind == OutcomeKind::Message) {
        EXPECT_THAT(view.messages, ElementsAre(answer));
        EXPECT_EQ(view.texts.at(ControlId::Text4), previousReport);
    } else {
        EXPECT_THAT(view.messages, IsEmpty());
        EXPECT_EQ(view.texts.at(ControlId::Text4), answer);
    }
    EXPECT_TRUE(view.texts.at(controlOf(box)) == text) << "the typed text changed";
}

class PresenterHugeInput : public ::testing::TestWithParam<HugeCase> {};

TEST_P(PresenterHugeInput, AnswersWithTheRightOutcome) {
    const HugeCase& hugeCase = GetParam();
    expectAnswer(hugeCase.box, hugeText(hugeCase), hugeCase.kind, hugeCase.answer);
}

INSTANTIATE_TEST_SUITE_P(TenMegabytes, PresenterHugeInput, ::testing::ValuesIn(hugeCases()),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(PresenterHostileInput, NulBytesAndBrokenUtf8AreJustNotNumbersOrSpells) {
    using namespace std::string_literals;
    struct Case {
        Box box;
        OutcomeKind kind;
        std::string text;
        std::string_view answer;
    };
    const Case cases[] = {
        {Box::Hp, OutcomeKind::Message, "650"s + '\0' + "000", messages::healthNotNumber},
        {Box::Mp, OutcomeKind::Message, "\0"s, messages::manaNotNumber},  // not empty
        {Box::Defence, OutcomeKind::Message, "-100\0"s, messages::defenceNotNumber},
        {Box::Spell, OutcomeKind::Figures, "카르벨론\0"s, noSpellReport},
        {Box::Hp, OutcomeKind::Message, "\377650000", messages::healthNotNumber},
        {Box::Mp, OutcomeKind::Message, "900000\xc0", messages::manaNotNumber},
        {Box::Defence, OutcomeKind::Message, "-100\xed\xa0\x80", messages::defenceNotNumber},
        {Box::Spell, OutcomeKind::Figures, "\xec\xb9", noSpellReport},  // a cut-off 카
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        expectAnswer(c.box, c.text, c.kind, c.answer);
    }
}

}  // namespace
}  // namespace karbelon::hardening
