#include "control_labels.h"

namespace karbelon::window {

namespace {

bool isInputBox(const ControlSpec& row) {
    return row.kind == ControlKind::ComboBox || row.kind == ControlKind::TextBox ||
           row.kind == ControlKind::MultiLineTextBox;
}

// Whether the label's middle lies within the box's height.
bool onSameRow(const TwipsRect& label, const TwipsRect& box) {
    const int middle = label.top + label.height / 2;
    return middle >= box.top && middle < box.top + box.height;
}

}  // namespace

std::optional<ControlId> labelOf(ControlId box) {
    const ControlSpec& boxRow = controlSpec(box);
    if (!isInputBox(boxRow)) {
        return std::nullopt;
    }
    std::optional<ControlId> nearest;
    int nearestLeft = 0;
    for (const ControlSpec& row : controlTable) {
        const bool candidate =
            row.kind == ControlKind::Label && row.container == boxRow.container &&
            onSameRow(row.bounds, boxRow.bounds) && row.bounds.left < boxRow.bounds.left;
        if (candidate && (!nearest || row.bounds.left > nearestLeft)) {
            nearest = row.id;
            nearestLeft = row.bounds.left;
        }
    }
    return nearest;
}

std::string accessibleName(ControlId box) {
    const std::optional<ControlId> label = labelOf(box);
    if (!label) {
        return {};
    }
    std::string_view caption = controlSpec(*label).text;
    while (!caption.empty() && (caption.back() == ' ' || caption.back() == ':')) {
        caption.remove_suffix(1);
    }
    return std::string(caption);
}

}  // namespace karbelon::window
