#include "window/win32/layout.h"

#include <gtest/gtest.h>

#include <set>

#include "window/win32/control_ids.h"

namespace karbelon::window::win32 {
namespace {

TEST(TwipsToPixels, ScalesWithTheDpi) {
    struct Case {
        int twips;
        int dpi;
        int pixels;
    };
    const Case cases[] = {
        {5970, 96, 398},  {4770, 96, 318},  {15, 96, 1},    {7, 96, 0},       {8, 96, 1},
        {5970, 120, 498}, {4770, 120, 398}, {12, 120, 1},   {1335, 120, 111}, {5970, 144, 597},
        {4770, 144, 477}, {1335, 144, 134}, {255, 144, 26}, {5970, 192, 796}, {4770, 192, 636},
        {1335, 192, 178}, {-100, 96, -7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
    }
}

TEST(ClientPixelArea, IsTheFormsClientSize) {
    struct Case {
        int dpi;
        int width;
        int height;
    };
    for (const Case& c :
         {Case{96, 398, 318}, Case{120, 498, 398}, Case{144, 597, 477}, Case{192, 796, 636}}) {
        const PixelRect area = clientPixelArea(c.dpi);
        EXPECT_EQ(area.width, c.width) << c.dpi;
        EXPECT_EQ(area.height, c.height) << c.dpi;
    }
}

TEST(ClientPixelRect, FrameContentsAreOffsetByTheFrame) {
    struct Case {
        ControlId id;
        int dpi;
        PixelRect rect;
    };
    const Case cases[] = {
        {ControlId::Frame1, 96, {16, 8, 361, 129}},
        {ControlId::Combo1, 96, {72, 32, 89, 20}},
        {ControlId::Label3, 96, {200, 67, 49, 17}},
        {ControlId::Text4, 96, {16, 152, 361, 73}},
        {ControlId::Label6, 96, {240, 296, 145, 17}},
        // 144 DPI: a pixel is 10 twips; edges round half up.
        {ControlId::Combo1, 144, {108, 48, 134, 30}},
        {ControlId::Text1, 144, {108, 96, 134, 27}},
        {ControlId::Command2, 192, {448, 480, 194, 50}},
    };
    for (const Case& c : cases) {
        const PixelRect rect = clientPixelRect(controlSpec(c.id), c.dpi);
        EXPECT_EQ(rect.left, c.rect.left) << controlSpec(c.id).name << " at " << c.dpi;
        EXPECT_EQ(rect.top, c.rect.top) << controlSpec(c.id).name << " at " << c.dpi;
        EXPECT_EQ(rect.width, c.rect.width) << controlSpec(c.id).name << " at " << c.dpi;
        EXPECT_EQ(rect.height, c.rect.height) << controlSpec(c.id).name << " at " << c.dpi;
    }
}

TEST(ClientPixelRect, TouchingBoxesStillTouchAtEveryDpi) {
    // Label5 ends 15 twips below Label6's top; the overlap stays one pixel
    // wide at 96 DPI and never turns into a gap.
    for (const int dpi : {96, 120, 144, 192}) {
        const PixelRect label5 = clientPixelRect(controlSpec(ControlId::Label5), dpi);
        const PixelRect label6 = clientPixelRect(controlSpec(ControlId::Label6), dpi);
        EXPECT_GE(label5.top + label5.height, label6.top) << dpi;
    }
}

TEST(CaptionRoom, KeepsButtonEdgesAndTheFrameIndentClear) {
    struct Case {
        ControlId id;
        int dpi;
        int width;
        int height;
    };
    const Case cases[] = {
        // A label draws on all of itself.
        {ControlId::Label5, 96, 97, 17},
        {ControlId::Label6, 144, 218, 26},
        // A button's 97x25 less 3 pixels a side, scaled and rounded with the DPI.
        {ControlId::Command1, 96, 91, 19},
        {ControlId::Command1, 120, 113, 23},
        {ControlId::Command2, 144, 136, 28},
        // The frame's caption: 8 pixels in from either end, any height.
        {ControlId::Frame1, 96, 345, 129},
        {ControlId::Frame1, 144, 518, 194},
    };
    for (const Case& c : cases) {
        const PixelSize room = captionRoom(controlSpec(c.id), c.dpi);
        EXPECT_EQ(room.width, c.width) << controlSpec(c.id).name << " at " << c.dpi;
        EXPECT_EQ(room.height, c.height) << controlSpec(c.id).name << " at " << c.dpi;
    }
}

TEST(ControlWindowIds, StartAt100AndRoundTrip) {
    std::set<int> ids;
    for (const ControlSpec& row : controlTable) {
        const int id = controlWindowId(row.id);
        EXPECT_GE(id, 100) << row.name;
        EXPECT_EQ(controlFromWindowId(id), row.id) << row.name;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), controlCount);
    for (const int foreign : {0, 1, 2, 99, 100 + static_cast<int>(controlCount)}) {
        EXPECT_FALSE(controlFromWindowId(foreign).has_value()) << foreign;
    }
}

}  // namespace
}  // namespace karbelon::window::win32
