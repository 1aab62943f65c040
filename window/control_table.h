#pragma once

#include <array>
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

// Position and size in twips, relative to the container's client origin.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlSpec {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    Container container;
    TwipsRect bounds;
    int tabIndex;
    std::string_view text;  // caption, or the preset text of a box
};

inline constexpr std::string_view windowCaption = "카르벨론 데미지 계산기 by 모래여울";
inline constexpr std::string_view messageBoxCaption = "Karbelon";
inline constexpr int clientWidthTwips = 5970;
inline constexpr int clientHeightTwips = 4770;

// Shown by Label6; a click opens it with "/" appended. A reserved example
// domain, so that no real site is ever opened.
inline constexpr std::string_view authorAddress = "http://orvane.example";

inline constexpr std::size_t controlCount = 14;

// Every control of Form1, in creation order (containers before contents).
inline constexpr std::array<ControlSpec, controlCount> controlTable{{
    {ControlId::Frame1,
     "Frame1",
     ControlKind::Frame,
     Container::Form1,
     {240, 120, 5415, 1935},
     0,
     "기본입력사항"},
    {ControlId::Label2,
     "Label2",
     ControlKind::Label,
     Container::Frame1,
     {240, 390, 735, 255},
     4,
     "마법 : "},
    {ControlId::Combo1,
     "Combo1",
     ControlKind::ComboBox,
     Container::Frame1,
     {840, 360, 1335, 300},
     1,
     "카르벨론"},
    {ControlId::Label1,
     "Label1",
     ControlKind::Label,
     Container::Frame1,
     {240, 885, 735, 255},
     3,
     "체력 : "},
    {ControlId::Text1,
     "Text1",
     ControlKind::TextBox,
     Container::Frame1,
     {840, 840, 1335, 270},
     2,
     "650000"},
    {ControlId::Label3,
     "Label3",
     ControlKind::Label,
     Container::Frame1,
     {2760, 885, 735, 255},
     6,
     "마력 : "},
    {ControlId::Text2,
     "Text2",
     ControlKind::TextBox,
     Container::Frame1,
     {3360, 840, 1335, 270},
     5,
     "900000"},
    {ControlId::Label4,
     "Label4",
     ControlKind::Label,
     Container::Frame1,
     {240, 1365, 735, 255},
     8,
     "방어 : "},
    {ControlId::Text3,
     "Text3",
     ControlKind::TextBox,
     Container::Frame1,
     {840, 1320, 1335, 270},
     7,
     "-100"},
    {ControlId::Text4,
     "Text4",
     ControlKind::MultiLineTextBox,
     Container::Form1,
     {240, 2280, 5415, 1095},
     9,
     ""},
    {ControlId::Command1,
     "Command1",
     ControlKind::Button,
     Container::Form1,
     {1080, 3600, 1455, 375},
     10,
     "계산하기"},
    {ControlId::Command2,
     "Command2",
     ControlKind::Button,
     Container::Form1,
     {3360, 3600, 1455, 375},
     11,
     "닫기"},
    {ControlId::Label5,
     "Label5",
     ControlKind::Label,
     Container::Form1,
     {3600, 4200, 1455, 255},
     12,
     "Made by Orvane"},
    {ControlId::Label6,
     "Label6",
     ControlKind::Label,
     Container::Form1,
     {3600, 4440, 2175, 255},
     13,
     authorAddress},
}};

// The row of one control.
const ControlSpec& controlSpec(ControlId id);

// The controls that take keyboard focus, in tab-index order.
std::array<ControlId, 7> focusOrder();

// Twips to device pixels at the given dots per inch (1440 twips an inch),
// rounded to nearest: 15 twips a pixel at 96 DPI.
int twipsToPixels(int twips, int dotsPerInch);

}  // namespace karbelon::window
