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
    const TwipsRect rect = clientRect(row);
    return edgesToPixels(rect.left, rect.top, rect.width, rect.height, dotsPerInch);
}

PixelRect clientPixelArea(int dotsPerInch) {
    return edgesToPixels(0, 0, clientWidthTwips, clientHeightTwips, dotsPerInch);
}

PixelSize captionRoom(const ControlSpec& row, int dotsPerInch) {
    // Insets in pixels at 96 DPI: a button's 2-pixel edge and 1-pixel focus
    // rectangle on every side; a frame's caption starts and ends 8 pixels in.
    constexpr int buttonInset = 3;
    constexpr int frameIndent = 8;
    const PixelRect rect = clientPixelRect(row, dotsPerInch);
    const auto scaled = [dotsPerInch](int pixels) { return (pixels * dotsPerInch + 48) / 96; };
    switch (row.kind) {
        case ControlKind::Button:
            return {rect.width - 2 * scaled(buttonInset), rect.height - 2 * scaled(buttonInset)};
        case ControlKind::Frame:
            return {rect.width - 2 * scaled(frameIndent), rect.height};
        default:
            return {rect.width, rect.height};
    }
}

}  // namespace karbelon::window::win32
