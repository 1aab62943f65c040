#include "control_table_json.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "answer/json_text.h"
#include "window/control_labels.h"
#include "window/control_rows.h"
#include "window/control_table.h"
#include "window/request_boxes.h"

namespace karbelon::web {

namespace {

using answer::appendJsonString;
using window::Container;
using window::ControlKind;
using window::ControlSpec;

std::string_view kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Frame:
            return "Frame";
        case ControlKind::Label:
            return "Label";
        case ControlKind::ComboBox:
            return "ComboBox";
        case ControlKind::TextBox:
            return "TextBox";
        case ControlKind::MultiLineTextBox:
            return "MultiLineTextBox";
        case ControlKind::Button:
            return "Button";
    }
    return "";
}

std::string_view containerName(Container container) {
    return container == Container::Frame1 ? "Frame1" : "Form1";
}

// A member after the first: its comma and its name.
void appendKey(std::string& out, std::string_view name) {
    out += ",\"";
    out += name;
    out += "\":";
}

void appendMember(std::string& out, std::string_view name, int value) {
    appendKey(out, name);
    out += std::to_string(value);
}

void appendStringMember(std::string& out, std::string_view name, std::string_view value) {
    appendKey(out, name);
    appendJsonString(out, value);
}

void appendControl(std::string& out, const ControlSpec& row) {
    out += R"({"name":)";
    appendJsonString(out, row.name);
    appendStringMember(out, "kind", kindName(row.kind));
    appendStringMember(out, "container", containerName(row.container));
    appendMember(out, "left", row.bounds.left);
    appendMember(out, "top", row.bounds.top);
    appendMember(out, "width", row.bounds.width);
    appendMember(out, "height", row.bounds.height);
    const window::TwipsRect client = window::clientRect(row);
    appendMember(out, "clientLeft", client.left);
    appendMember(out, "clientTop", client.top);
    appendMember(out, "tabIndex", row.tabIndex);
    appendStringMember(out, "text", row.text);
    if (row.feeds != window::RequestField::None) {
        appendStringMember(out, "feeds", window::requestFieldName(row.feeds));
    }
    if (const auto box = window::boxLabelledBy(row.id)) {
        appendStringMember(out, "labelFor", window::controlSpec(*box).name);
    }
    const std::string accessibleName = window::accessibleName(row.id);
    if (!accessibleName.empty()) {
        appendStringMember(out, "accessibleName", accessibleName);
    }
    out += '}';
}

// The names of the given controls as a JSON array member.
template <std::size_t count>
void appendNames(std::string& out, std::string_view name,
                 const std::array<window::ControlId, count>& ids) {
    appendKey(out, name);
    out += '[';
    for (std::size_t index = 0; index < count; ++index) {
        if (index > 0) {
            out += ',';
        }
        appendJsonString(out, window::controlSpec(ids[index]).name);
    }
    out += ']';
}

}  // namespace

std::string controlTableJson() {
    std::string json = R"({"caption":)";
    appendJsonString(json, window::windowCaption);
    appendStringMember(json, "messageBoxCaption", window::messageBoxCaption);
    appendMember(json, "clientWidth", window::clientWidthTwips);
    appendMember(json, "clientHeight", window::clientHeightTwips);
    appendMember(json, "twipsPerPixel", window::twipsPerStandardPixel);
    appendStringMember(json, "authorAddress", window::authorAddress);
    json += R"(,"controls":[)";
    bool first = true;
    for (const ControlSpec& row : window::controlTable) {
        if (!first) {
            json += ',';
        }
        first = false;
        appendControl(json, row);
    }
    json += ']';
    appendNames(json, "tabOrder", window::tabOrder());
    appendNames(json, "focusOrder", window::focusOrder());
    appendNames(json, "readingOrder", window::readingOrder());
    json += '}';
    return json;
}

}  // namespace karbelon::web
