#include "request_boxes.h"

namespace karbelon::window {

std::string* fieldText(DamageInputs& inputs, RequestField field) {
    switch (field) {
        case RequestField::Spell:
            return &inputs.spell;
        case RequestField::Health:
            return &inputs.hp;
        case RequestField::Mana:
            return &inputs.mp;
        case RequestField::Defence:
            return &inputs.defence;
        case RequestField::None:
        case RequestField::Report:
            break;
    }
    return nullptr;
}

std::string_view requestFieldName(RequestField field) {
    switch (field) {
        case RequestField::Spell:
            return "spell";
        case RequestField::Health:
            return "hp";
        case RequestField::Mana:
            return "mp";
        case RequestField::Defence:
            return "defence";
        case RequestField::Report:
            return "report";
        case RequestField::None:
            break;
    }
    return {};
}

DamageInputs startRequest() {
    return requestFrom([](ControlId id) { return std::string(controlSpec(id).text); });
}

}  // namespace karbelon::window
