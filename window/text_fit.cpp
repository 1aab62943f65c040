#include "text_fit.h"

#include <algorithm>

#include "core/damage_calculation.h"
#include "core/report.h"
#include "request_boxes.h"

namespace karbelon::window {

std::string sampleReport(const NumberConventions& conventions) {
    // The presets always calculate (a test holds them to it).
    return buildReport(calculateDamage(startRequest(), conventions).figures, conventions);
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
