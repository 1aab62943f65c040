#include "layout.h"

namespace karbelon::window::win32 {

namespace {

PixelRect edgesToPixels(int left, int top, int width, int height, int dotsPerInch) {
    const int pixelLeft = twipsToPixels(left, dotsPerInch);
    const int pixelTop = twipsToPixels(top, dotsPerInch);
    return {pixelLeft, pixelTop, twipsToPixels(left + width, dotsPerInch) - pixelLeft,
            twipsToPixels(top + height, dotsPerInch) - pixelTop};
}

}  // namespace

PixelRect clientPixelRect(const ControlSpec& row, int dotsPerInch) {
    int left = row.bounds.left;
    int top = row.bounds.top;
    if (row.container == Container::Frame1) {
        const TwipsRect& frame = controlSpec(ControlId::Frame1).bounds;
        left += frame.left;
        top += frame.top;
    }
    return edgesToPixels(left, top, row.bounds.width, row.bounds.height, dotsPerInch);
}

PixelRect clientPixelArea(int dotsPerInch) {
    return edgesToPixels(0, 0, clientWidthTwips, clientHeightTwips, dotsPerInch);
}

}  // namespace karbelon::window::win32
