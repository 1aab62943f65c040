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

PixelRect clientPixelRect(const ControlSpec& spec, int dotsPerInch) {
    int left = spec.bounds.left;
    int top = spec.bounds.top;
    if (spec.container == Container::Frame1) {
        const TwipsRect& frame = controlSpec(ControlId::Frame1).bounds;
        left += frame.left;
        top += frame.top;
    }
    return edgesToPixels(left, top, spec.bounds.width, spec.bounds.height, dotsPerInch);
}

PixelRect clientPixelArea(int dotsPerInch) {
    return edgesToPixels(0, 0, clientWidthTwips, clientHeightTwips, dotsPerInch);
}

}  // namespace karbelon::window::win32
