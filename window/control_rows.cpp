#include "control_rows.h"

#include <algorithm>
#include <vector>

namespace karbelon::window {

bool onRowOf(const ControlSpec& control, const ControlSpec& anchor) {
    const int middle = control.bounds.top + control.bounds.height / 2;
    return control.container == anchor.container && middle >= anchor.bounds.top &&
           middle < anchor.bounds.top + anchor.bounds.height;
}

std::array<ControlId, controlCount> readingOrder() {
    std::array<ControlId, controlCount> order{};
    std::size_t filled = 0;
    for (const Container container : {Container::Form1, Container::Frame1}) {
        std::vector<const ControlSpec*> rows;
        for (const ControlSpec& row : controlTable) {
            if (row.container == container) {
                rows.push_back(&row);
            }
        }
        std::sort(rows.begin(), rows.end(), [](const ControlSpec* a, const ControlSpec* b) {
            return a->bounds.top != b->bounds.top ? a->bounds.top < b->bounds.top
                                                  : a->bounds.left < b->bounds.left;
        });
        auto rowStart = rows.begin();
        while (rowStart != rows.end()) {
            const ControlSpec& anchor = **rowStart;
            const auto rowEnd = std::find_if(rowStart, rows.end(), [&anchor](const ControlSpec* c) {
                return !onRowOf(*c, anchor);
            });
            std::sort(rowStart, rowEnd, [](const ControlSpec* a, const ControlSpec* b) {
                return a->bounds.left < b->bounds.left;
            });
            for (auto control = rowStart; control != rowEnd; ++control) {
                order.at(filled++) = (*control)->id;
            }
            rowStart = rowEnd;
        }
    }
    return order;
}

}  // namespace karbelon::window
