#include "window/control_labels.h"

#include <gtest/gtest.h>

namespace karbelon::window {
namespace {

TEST(ControlLabels, EachBoxIsNamedAfterTheLabelBeforeItOnItsRow) {
    struct Case {
        ControlId box;
        std::optional<ControlId> label;
        std::string name;
    };
    const Case cases[] = {
        {ControlId::Combo1, ControlId::Label2, "마법"},
        {ControlId::Text1, ControlId::Label1, "체력"},
        // Label1 is on Text2's row too, but further left than Label3.
        {ControlId::Text2, ControlId::Label3, "마력"},
        {ControlId::Text3, ControlId::Label4, "방어"},
        // The result box has no label; buttons and labels are no boxes.
        {ControlId::Text4, std::nullopt, ""},
        {ControlId::Command1, std::nullopt, ""},
        {ControlId::Label2, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(labelOf(c.box), c.label) << controlSpec(c.box).name;
        EXPECT_EQ(accessibleName(c.box), c.name) << controlSpec(c.box).name;
    }
}

}  // namespace
}  // namespace karbelon::window
