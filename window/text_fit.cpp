#include "text_fit.h"

#include <algorithm>

#include "core/damage_calculation.h"
#include "core/report.h"

namespace karbelon::window {

std::string sampleReport(const NumberConventions& conventions) {
    const DamageInputs presets{
        std::string(controlSpec(ControlId::Combo1).text),
        std::string(controlSpec(ControlId::Text1).text),
        std::string(controlSpec(ControlId::Text2).text),
        std::string(controlSpec(ControlId::Text3).text),
    };
    const CalculationOutcome outcome = calculateDamage(presets, conventions);
    // The presets always calculate; the guard keeps a future table edit from
    // silently measuring an empty text.
    if (outcome.kind != OutcomeKind::Figures) {
        return buildReport(DamageFigures{}, conventions);
    }
    return buildReport(outcome.figures, conventions);
}

int chooseTextSize(const TextFitMeasure& measure, const NumberConventions& conventions,
                   int systemSize, int smallestSize) {
    if (systemSize <= smallestSize) {
        return systemSize;
    }
    const std::string report = sampleReport(conventions);
    const auto ids = captionedControls();
    for (int size = systemSize; size > smallestSize; --size) {
        const bool captionsFit = std::all_of(ids.begin(), ids.end(), [&](ControlId id) {
            return measure.captionFits(controlSpec(id), size);
        });
        if (captionsFit && measure.reportFits(report, size)) {
            return size;
        }
    }
    return smallestSize;
}

}  // namespace karbelon::window
