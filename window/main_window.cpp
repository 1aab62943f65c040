#include "main_window.h"

#include <utility>

#include "core/damage_calculation.h"
#include "core/report.h"
#include "core/spell_table.h"
#include "request_boxes.h"

namespace karbelon::window {

Form1::Form1(Form1View& view, NumberConventions conventions)
    : view_(view), conventions_(std::move(conventions)) {}

void Form1::load() {
    // Only the list is filled; the box keeps its preset text, nothing selected.
    for (const std::string_view name : spellNames()) {
        view_.appendSpellItem(name);
    }
}

void Form1::command1Click() {
    const CalculationOutcome outcome = calculateDamage(requestFromView(view_), conventions_);
    switch (outcome.kind) {
        case OutcomeKind::Message:
            view_.showErrorMessage(outcome.message, messageBoxCaption);
            break;
        case OutcomeKind::DefenceReset:
            view_.setControlText(controlFeeding(RequestField::Defence), "0");
            break;
        case OutcomeKind::Figures:
            view_.setControlText(controlFeeding(RequestField::Report),
                                 buildReport(outcome.figures, conventions_));
            break;
    }
}

void Form1::command2Click() {
    view_.unload();
}

void Form1::label6Click() {
    view_.openAuthorPage(authorPageAddress());
}

DamageInputs requestFromView(const Form1View& view) {
    return requestFrom([&view](ControlId id) { return view.controlText(id); });
}

std::string authorPageAddress() {
    std::string address(authorAddress);
    address += '/';
    return address;
}

}  // namespace karbelon::window
