#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace karbelon::window {

enum class ControlId {
    Frame1,
    Label2,
    Combo1,
    Label1,
    Text1,
    Label3,
    Text2,
    Label4,
    Text3,
    Text4,
    Command1,
    Command2,
    Label5,
    Label6,
};

enum class ControlKind { Frame, Label, ComboBox, TextBox, MultiLineTextBox, Button };

enum class Container { Form1, Frame1 };

// What a control's text is to a calculation: one of the four texts of a
// request, or the box the report is written into.
enum class RequestField { None, Spell, Health, Mana, Defence, Report };

// Position and size in twips, relative to the container's client origin.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;

    constexpr bool operator==(const TwipsRect&) const = default;
};

struct ControlSpec {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    Container container;
    TwipsRect bounds;
    int tabIndex;
    std::string_view text;  // caption, or the preset text of a box
    RequestField feeds;
};

inline constexpr std::string_view windowCaption = "카르벨론 데미지 계산기 by 모래여울";
inline constexpr std::string_view messageBoxCaption = "Karbelon";
inline constexpr int clientWidthTwips = 5970;
inline constexpr int clientHeightTwips = 4770;

// Shown by Label6; a click opens it with "/" appended. A reserved example
// domain, so that no real site is ever opened.
inline constexpr std::string_view authorAddress = "http://orvane.example";

// Every control of Form1, in creation order (containers before contents),
// with its place in twips relative to its container.
// clang-format off
inline constexpr auto controlTable = std::to_array<ControlSpec>({
    // id                 name        kind                           container           left   top  width height tab text             feeds
    {ControlId::Frame1,   "Frame1",   ControlKind::Frame,            Container::Form1,  { 240,  120, 5415, 1935},  0, "기본입력사항",   RequestField::None},
    {ControlId::Label2,   "Label2",   ControlKind::Label,            Container::Frame1, { 240,  390,  735,  255},  4, "마법 : ",        RequestField::None},
    {ControlId::Combo1,   "Combo1",   ControlKind::ComboBox,         Container::Frame1, { 840,  360, 1335,  300},  1, "카르벨론",       RequestField::Spell},
    {ControlId::Label1,   "Label1",   ControlKind::Label,            Container::Frame1, { 240,  885,  735,  255},  3, "체력 : ",        RequestField::None},
    {ControlId::Text1,    "Text1",    ControlKind::TextBox,          Container::Frame1, { 840,  840, 1335,  270},  2, "650000",         RequestField::Health},
    {ControlId::Label3,   "Label3",   ControlKind::Label,            Container::Frame1, {2760,  885,  735,  255},  6, "마력 : ",        RequestField::None},
    {ControlId::Text2,    "Text2",    ControlKind::TextBox,          Container::Frame1, {3360,  840, 1335,  270},  5, "900000",         RequestField::Mana},
    {ControlId::Label4,   "Label4",   ControlKind::Label,            Container::Frame1, { 240, 1365,  735,  255},  8, "방어 : ",        RequestField::None},
    {ControlId::Text3,    "Text3",    ControlKind::TextBox,          Container::Frame1, { 840, 1320, 1335,  270},  7, "-100",           RequestField::Defence},
    {ControlId::Text4,    "Text4",    ControlKind::MultiLineTextBox, Container::Form1,  { 240, 2280, 5415, 1095},  9, "",               RequestField::Report},
    {ControlId::Command1, "Command1", ControlKind::Button,           Container::Form1,  {1080, 3600, 1455,  375}, 10, "계산하기",       RequestField::None},
    {ControlId::Command2, "Command2", ControlKind::Button,           Container::Form1,  {3360, 3600, 1455,  375}, 11, "닫기",           RequestField::None},
    {ControlId::Label5,   "Label5",   ControlKind::Label,            Container::Form1,  {3600, 4200, 1455,  255}, 12, "Made by Orvane", RequestField::None},
    {ControlId::Label6,   "Label6",   ControlKind::Label,            Container::Form1,  {3600, 4440, 2175,  255}, 13, authorAddress,    RequestField::None},
});
// clang-format on

inline constexpr std::size_t controlCount = controlTable.size();

// An id is its row's index (controlSpec, the Win32 window ids), so the rows
// must stay in the enum's order.
consteval bool rowsFollowTheIds() {
    for (std::size_t row = 0; row < controlCount; ++row) {
        if (controlTable[row].id != static_cast<ControlId>(row)) {
            return false;
        }
    }
    return true;
}
static_assert(rowsFollowTheIds(), "controlTable's rows must follow the order of ControlId");

// The row of one control.
constexpr const ControlSpec& controlSpec(ControlId id) {
    return controlTable[static_cast<std::size_t>(id)];
}

constexpr bool takesFocus(ControlKind kind) {
    return kind != ControlKind::Frame && kind != ControlKind::Label;
}

// Every control in tab-index order: the order in which views create them, so
// that the platform's own Tab key walks the table's order.
constexpr std::array<ControlId, controlCount> tabOrder() {
    std::array<ControlId, controlCount> order{};
    std::transform(controlTable.begin(), controlTable.end(), order.begin(),
                   [](const ControlSpec& row) { return row.id; });
    std::sort(order.begin(), order.end(), [](ControlId a, ControlId b) {
        return controlSpec(a).tabIndex < controlSpec(b).tabIndex;
    });
    return order;
}

inline constexpr std::size_t focusableCount = static_cast<std::size_t>(
    std::count_if(controlTable.begin(), controlTable.end(),
                  [](const ControlSpec& row) { return takesFocus(row.kind); }));

// The controls that take keyboard focus, in tab-index order.
constexpr std::array<ControlId, focusableCount> focusOrder() {
    std::array<ControlId, focusableCount> order{};
    const auto all = tabOrder();
    std::copy_if(all.begin(), all.end(), order.begin(),
                 [](ControlId id) { return takesFocus(controlSpec(id).kind); });
    return order;
}

// Where a control lies in Form1's client area, in twips: the frame's
// contents are moved by the frame's own offset.
constexpr TwipsRect clientRect(const ControlSpec& row) {
    TwipsRect rect = row.bounds;
    if (row.container == Container::Frame1) {
        rect.left += controlSpec(ControlId::Frame1).bounds.left;
        rect.top += controlSpec(ControlId::Frame1).bounds.top;
    }
    return rect;
}

// The control that holds a request field (or the report); each field has
// exactly one.
constexpr ControlId controlFeeding(RequestField field) {
    for (const ControlSpec& row : controlTable) {
        if (row.feeds == field) {
            return row.id;
        }
    }
    return ControlId::Frame1;  // unreachable: checked below
}

consteval bool everyFieldHasOneControl() {
    using enum RequestField;
    for (const RequestField field : {Spell, Health, Mana, Defence, Report}) {
        const auto holders =
            std::count_if(controlTable.begin(), controlTable.end(),
                          [field](const ControlSpec& row) { return row.feeds == field; });
        if (holders != 1) {
            return false;
        }
    }
    return true;
}
static_assert(everyFieldHasOneControl(), "each request field and the report need one control");

inline constexpr int twipsPerInch = 1440;
// The dots per inch at which the table's twips become CSS pixels: 15 twips a pixel.
inline constexpr int standardDotsPerInch = 96;
inline constexpr int twipsPerStandardPixel = twipsPerInch / standardDotsPerInch;

// Twips to device pixels at the given dots per inch, rounded to nearest.
int twipsToPixels(int twips, int dotsPerInch);

}  // namespace karbelon::window
