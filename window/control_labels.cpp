#include "control_labels.h"

#include <algorithm>

#include "control_rows.h"

namespace karbelon::window {

namespace {

bool isInputBox(const ControlSpec& row) {
    return row.kind == ControlKind::ComboBox || row.kind == ControlKind::TextBox ||
           row.kind == ControlKind::MultiLineTextBox;
}

// Whether some other box on the label's row stands between it and the box.
bool boxBetween(const ControlSpec& label, const ControlSpec& box) {
    return std::any_of(controlTable.begin(), controlTable.end(), [&](const ControlSpec& row) {
        return isInputBox(row) && row.id != box.id && onRowOf(label, row) &&
               row.bounds.left > label.bounds.left && row.bounds.left < box.bounds.left;
    });
}

}  // namespace

std::optional<ControlId> labelOf(ControlId box) {
    const ControlSpec& boxRow = controlSpec(box);
    if (!isInputBox(boxRow)) {
        return std::nullopt;
    }
    const ControlSpec* nearest = nullptr;
    for (const ControlSpec& row : controlTable) {
        const bool candidate = row.kind == ControlKind::Label && onRowOf(row, boxRow) &&
                               row.bounds.left < boxRow.bounds.left;
        if (candidate && (nearest == nullptr || row.bounds.left > nearest->bounds.left)) {
            nearest = &row;
        }
    }
    if (nearest == nullptr || boxBetween(*nearest, boxRow)) {
        return std::nullopt;
    }
    return nearest->id;
}

std::optional<ControlId> boxLabelledBy(ControlId label) {
    for (const ControlSpec& row : controlTable) {
        if (labelOf(row.id) == label) {
            return row.id;
        }
    }
    return std::nullopt;
}

std::string accessibleName(ControlId box) {
    const std::optional<ControlId> label = labelOf(box);
    if (!label) {
        return controlSpec(box).feeds == RequestField::Report ? std::string(resultBoxName)
                                                              : std::string();
    }
    std::string_view caption = controlSpec(*label).text;
    while (!caption.empty() && (caption.back() == ' ' || caption.back() == ':')) {
        caption.remove_suffix(1);
    }
    return std::string(caption);
}

}  // namespace karbelon::window
