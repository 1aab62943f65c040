#pragma once

#include <string>
#include <string_view>

#include "control_table.h"
#include "core/damage_calculation.h"

namespace karbelon::window {

// Which box feeds which text of a request, as the control table says: the
// window, the text-size sample, the CLI's defaults and the page all build
// their requests through these.

// The request's text for a field; null for the report and for no field.
std::string* fieldText(DamageInputs& inputs, RequestField field);

// The name a field goes by in requests outside the window (JSON members,
// the CLI's options, the page): "spell", "hp", "mp", "defence"; "report"
// for the result box, empty for no field.
std::string_view requestFieldName(RequestField field);

// A request of every box's text, as textOf(ControlId) gives it.
template <typename TextOf>
DamageInputs requestFrom(const TextOf& textOf) {
    DamageInputs inputs;
    for (const ControlSpec& row : controlTable) {
        if (std::string* const text = fieldText(inputs, row.feeds)) {
            *text = textOf(row.id);
        }
    }
    return inputs;
}

// The request the window's preset texts make.
DamageInputs startRequest();

}  // namespace karbelon::window
