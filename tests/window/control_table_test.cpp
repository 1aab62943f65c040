#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <ostream>
#include <set>
#include <string>

#include "window/control_table.h"
#include "window/main_window.h"

namespace karbelon::window {

// Found by argument-dependent lookup, so it lives in the rect's namespace.
void PrintTo(const TwipsRect& rect, std::ostream* out) {
    *out << "{" << rect.left << ", " << rect.top << ", " << rect.width << ", " << rect.height
         << "}";
}

namespace {

using ::testing::ElementsAre;

TEST(ControlTable, EveryIdFindsItsOwnRow) {
    for (const ControlSpec& row : controlTable) {
        EXPECT_EQ(controlSpec(row.id).name, row.name);
    }
}

TEST(ControlTable, NamesAndTabIndicesAreUniqueAndTabIndicesRunFromZero) {
    std::set<std::string_view> names;
    std::set<int> tabs;
    for (const ControlSpec& row : controlTable) {
        names.insert(row.name);
        tabs.insert(row.tabIndex);
    }
    EXPECT_EQ(names.size(), controlCount);
    ASSERT_EQ(tabs.size(), controlCount);
    EXPECT_EQ(*tabs.begin(), 0);
    EXPECT_EQ(*tabs.rbegin(), static_cast<int>(controlCount) - 1);
}

TEST(ControlTable, TabOrderFollowsTheTabIndicesAndFocusSkipsFrameAndLabels) {
    using enum ControlId;
    EXPECT_THAT(tabOrder(), ElementsAre(Frame1, Combo1, Text1, Label1, Label2, Text2, Label3, Text3,
                                        Label4, Text4, Command1, Command2, Label5, Label6));
    EXPECT_THAT(focusOrder(), ElementsAre(Combo1, Text1, Text2, Text3, Text4, Command1, Command2));
}

TEST(ControlTable, ClientRectsMoveTheFramesContentsByTheFrame) {
    struct Case {
        ControlId id;
        TwipsRect rect;
    };
    using enum ControlId;
    const Case cases[] = {
        {Frame1, {240, 120, 5415, 1935}},    {Label2, {480, 510, 735, 255}},
        {Combo1, {1080, 480, 1335, 300}},    {Label1, {480, 1005, 735, 255}},
        {Text1, {1080, 960, 1335, 270}},     {Label3, {3000, 1005, 735, 255}},
        {Text2, {3600, 960, 1335, 270}},     {Label4, {480, 1485, 735, 255}},
        {Text3, {1080, 1440, 1335, 270}},    {Text4, {240, 2280, 5415, 1095}},
        {Command1, {1080, 3600, 1455, 375}}, {Command2, {3360, 3600, 1455, 375}},
        {Label5, {3600, 4200, 1455, 255}},   {Label6, {3600, 4440, 2175, 255}},
    };
    ASSERT_EQ(std::size(cases), controlCount) << "a control of the table has no case";
    for (const Case& c : cases) {
        EXPECT_EQ(clientRect(controlSpec(c.id)), c.rect) << controlSpec(c.id).name;
    }
}

// Each caption sits a little lower than its box so that the texts line up.
struct LabelRow {
    ControlId label;
    ControlId box;
    int dropTwips;
};

class LabelAlignment : public ::testing::TestWithParam<LabelRow> {};

TEST_P(LabelAlignment, StandsLeftOfItsBoxAndSlightlyLower) {
    const ControlSpec& label = controlSpec(GetParam().label);
    const ControlSpec& box = controlSpec(GetParam().box);
    EXPECT_EQ(label.container, box.container);
    EXPECT_EQ(label.bounds.top - box.bounds.top, GetParam().dropTwips);
    EXPECT_LT(label.bounds.left, box.bounds.left);
    EXPECT_EQ(label.kind, ControlKind::Label);
}

INSTANTIATE_TEST_SUITE_P(Rows, LabelAlignment,
                         ::testing::Values(LabelRow{ControlId::Label2, ControlId::Combo1, 30},
                                           LabelRow{ControlId::Label1, ControlId::Text1, 45},
                                           LabelRow{ControlId::Label3, ControlId::Text2, 45},
                                           LabelRow{ControlId::Label4, ControlId::Text3, 45}),
                         [](const ::testing::TestParamInfo<LabelRow>& row) {
                             return std::string(controlSpec(row.param.label).name);
                         });

TEST(ControlTable, EveryControlLiesInsideItsContainer) {
    const TwipsRect frame = controlSpec(ControlId::Frame1).bounds;
    for (const ControlSpec& row : controlTable) {
        const bool inFrame = row.container == Container::Frame1;
        const int width = inFrame ? frame.width : clientWidthTwips;
        const int height = inFrame ? frame.height : clientHeightTwips;
        SCOPED_TRACE(std::string(row.name));
        EXPECT_GE(row.bounds.left, 0);
        EXPECT_GE(row.bounds.top, 0);
        EXPECT_LE(row.bounds.left + row.bounds.width, width);
        EXPECT_LE(row.bounds.top + row.bounds.height, height);
    }
}

TEST(AuthorAddress, StaysOnAReservedDomainAndOpensWithASlash) {
    const std::string address(authorAddress);
    const std::string host = address.substr(address.find("//") + 2);
    EXPECT_TRUE(host.ends_with(".example") || host.ends_with(".test") || host.ends_with(".invalid"))
        << host;
    EXPECT_EQ(authorPageAddress(), address + "/");
}

struct TwipsCase {
    int twips;
    int dpi;
    int pixels;
};

class TwipsToPixels : public ::testing::TestWithParam<TwipsCase> {};

void PrintTo(const TwipsCase& c, std::ostream* out) {
    *out << c.twips << " twips at " << c.dpi << " DPI";
}

TEST_P(TwipsToPixels, RoundsToNearestHalfAwayFromZero) {
    EXPECT_EQ(twipsToPixels(GetParam().twips, GetParam().dpi), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TwipsToPixels,
    ::testing::Values(TwipsCase{clientWidthTwips, 96, 398}, TwipsCase{clientHeightTwips, 96, 318},
                      TwipsCase{clientWidthTwips, 144, 597}, TwipsCase{255, 96, 17},
                      TwipsCase{7, 96, 0}, TwipsCase{8, 96, 1}, TwipsCase{-8, 96, -1},
                      TwipsCase{7, 192, 1},                              // 0.9333
                      TwipsCase{15, 120, 1}, TwipsCase{1335, 120, 111},  // 111.25
                      TwipsCase{1455, 120, 121},                         // 121.25
                      TwipsCase{0, 96, 0}, TwipsCase{2'000'000'000, 96, 133'333'333}));

}  // namespace
}  // namespace karbelon::window
