#include <gtest/gtest.h>

#include <map>
#include <string>

#include "window/text_fit.h"

namespace karbelon::window {
namespace {

// A measure whose controls each fit up to a given size.
class LimitMeasure : public TextFitMeasure {
  public:
    LimitMeasure(int reportLimit, std::map<ControlId, int> captionLimits)
        : reportLimit_(reportLimit), captionLimits_(std::move(captionLimits)) {}

    [[nodiscard]] bool reportFits(const std::string& report, int size) const override {
        lastReport = report;
        return size <= reportLimit_;
    }
    [[nodiscard]] bool captionFits(const ControlSpec& control, int size) const override {
        const auto found = captionLimits_.find(control.id);
        return found == captionLimits_.end() || size <= found->second;
    }

    mutable std::string lastReport;

  private:
    int reportLimit_;
    std::map<ControlId, int> captionLimits_;
};

struct FitCase {
    const char* what;
    std::map<ControlId, int> captionLimits;
    int reportLimit;
    int systemSize;
    int smallestSize;
    int expected;
};

TEST(ChooseTextSize, TakesTheLargestSizeAtWhichEverythingFits) {
    const FitCase cases[] = {
        {"everything fits the system size", {}, 99, 16, 6, 16},
        {"the report decides", {}, 13, 16, 6, 13},
        {"one caption decides", {{ControlId::Label5, 12}}, 99, 16, 6, 12},
        {"the smaller limit wins", {{ControlId::Frame1, 11}}, 14, 16, 6, 11},
        {"nothing fits: the smallest size", {}, 3, 16, 6, 6},
        {"a smaller system size is kept", {}, 2, 5, 6, 5},
    };
    for (const FitCase& c : cases) {
        const LimitMeasure measure(c.reportLimit, c.captionLimits);
        EXPECT_EQ(chooseTextSize(measure, {}, c.systemSize, c.smallestSize), c.expected) << c.what;
    }
}

TEST(ChooseTextSize, MeasuresTheFiveLineReportOfThePresetTexts) {
    const LimitMeasure measure(0, {});
    (void)chooseTextSize(measure, {}, 10, 6);
    EXPECT_EQ(measure.lastReport,
              "실제데미지 : 337,275\r\n파력무참진 적용시 : 674,550\r\n보호 적용시 : "
              "168,637\r\n쿨타임 : 10초\r\n데미지 감소율 : 75%");
}

TEST(CaptionedControls, AreTheFrameLabelsAndButtons) {
    for (const ControlId id : captionedControls()) {
        const ControlKind kind = controlSpec(id).kind;
        EXPECT_TRUE(kind == ControlKind::Frame || kind == ControlKind::Label ||
                    kind == ControlKind::Button)
            << controlSpec(id).name;
    }
}

}  // namespace
}  // namespace karbelon::window
