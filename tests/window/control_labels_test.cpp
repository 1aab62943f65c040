#include "window/control_labels.h"

#include <gtest/gtest.h>

#include <iterator>

namespace karbelon::window {
namespace {

TEST(ControlLabels, EachLabelNamesTheBoxBesideItOnItsRow) {
    struct Case {
        ControlId control;
        std::optional<ControlId> label;  // of a box
        std::optional<ControlId> box;    // that a label names
        std::string name;
    };
    using enum ControlId;
    const Case cases[] = {
        {Frame1, std::nullopt, std::nullopt, ""},
        {Label2, std::nullopt, Combo1, ""},
        {Combo1, Label2, std::nullopt, "마법"},
        {Label1, std::nullopt, Text1, ""},
        {Text1, Label1, std::nullopt, "체력"},
        {Label3, std::nullopt, Text2, ""},
        // Label1 is on Text2's row too, but Text1 and Label3 stand between.
        {Text2, Label3, std::nullopt, "마력"},
        {Label4, std::nullopt, Text3, ""},
        {Text3, Label4, std::nullopt, "방어"},
        // The result box has no label, yet a name.
        {Text4, std::nullopt, std::nullopt, "결과"},
        {Command1, std::nullopt, std::nullopt, ""},
        {Command2, std::nullopt, std::nullopt, ""},
        {Label5, std::nullopt, std::nullopt, ""},
        {Label6, std::nullopt, std::nullopt, ""},
    };
    ASSERT_EQ(std::size(cases), controlCount) << "a control of the table has no case";
    for (const Case& c : cases) {
        SCOPED_TRACE(controlSpec(c.control).name);
        EXPECT_EQ(labelOf(c.control), c.label);
        EXPECT_EQ(boxLabelledBy(c.control), c.box);
        EXPECT_EQ(accessibleName(c.control), c.name);
    }
}

}  // namespace
}  // namespace karbelon::window
