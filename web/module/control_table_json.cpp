#include "control_table_json.h"

#include <string_view>

#include "answer/json_text.h"
#include "window/control_table.h"

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

void appendMember(std::string& out, std::string_view name, int value) {
    out += ",\"";
    out += name;
    out += "\":";
    out += std::to_string(value);
}

void appendControl(std::string& out, const ControlSpec& row) {
    out += R"({"name":)";
    appendJsonString(out, row.name);
    out += R"(,"kind":)";
    appendJsonString(out, kindName(row.kind));
    out += R"(,"container":)";
    appendJsonString(out, containerName(row.container));
    appendMember(out, "left", row.bounds.left);
    appendMember(out, "top", row.bounds.top);
    appendMember(out, "width", row.bounds.width);
    appendMember(out, "height", row.bounds.height);
    appendMember(out, "tabIndex", row.tabIndex);
    out += R"(,"text":)";
    appendJsonString(out, row.text);
    out += '}';
}

}  // namespace

std::string controlTableJson() {
    std::string json = R"({"caption":)";
    appendJsonString(json, window::windowCaption);
    json += R"(,"messageBoxCaption":)";
    appendJsonString(json, window::messageBoxCaption);
    appendMember(json, "clientWidth", window::clientWidthTwips);
    appendMember(json, "clientHeight", window::clientHeightTwips);
    json += R"(,"authorAddress":)";
    appendJsonString(json, window::authorAddress);
    json += R"(,"controls":[)";
    bool first = true;
    for (const ControlSpec& row : window::controlTable) {
        if (!first) {
            json += ',';
        }
        first = false;
        appendControl(json, row);
    }
    json += "]}";
    return json;
}

}  // namespace karbelon::web
