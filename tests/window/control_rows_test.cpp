#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "window/control_rows.h"
#include "window/request_boxes.h"

namespace karbelon::window {
namespace {

using ::testing::ElementsAre;

// A reader takes the frame's three rows label first, then the rows below it;
// the web label, 15 twips into the credit line, still starts a row of its own.
TEST(ControlRows, ReadingOrderTakesRowsFromTheTopAndEachRowFromTheLeft) {
    using enum ControlId;
    EXPECT_THAT(readingOrder(),
                ElementsAre(Frame1, Text4, Command1, Command2, Label5, Label6, Label2, Combo1,
                            Label1, Text1, Label3, Text2, Label4, Text3));
}

TEST(RequestBoxes, EachFieldComesFromItsOwnBox) {
    // Every box answers with its own name, so a swapped pair shows at once.
    const DamageInputs inputs =
        requestFrom([](ControlId id) { return std::string(controlSpec(id).name); });
    EXPECT_EQ(inputs.spell, "Combo1");
    EXPECT_EQ(inputs.hp, "Text1");
    EXPECT_EQ(inputs.mp, "Text2");
    EXPECT_EQ(inputs.defence, "Text3");
    EXPECT_EQ(controlFeeding(RequestField::Report), ControlId::Text4);
}

TEST(RequestBoxes, TheStartRequestIsThePresetTexts) {
    const DamageInputs start = startRequest();
    EXPECT_EQ(start.spell, "카르벨론");
    EXPECT_EQ(start.hp, "650000");
    EXPECT_EQ(start.mp, "900000");
    EXPECT_EQ(start.defence, "-100");
}

}  // namespace
}  // namespace karbelon::window
