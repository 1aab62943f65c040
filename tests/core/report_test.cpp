#include "core/report.h"

#include <gtest/gtest.h>

#include <string>

#include "core/damage_calculation.h"

namespace karbelon {
namespace {

TEST(BuildReport, WritesFiveLinesRoundingDownAfterDoublingAndHalving) {
    struct Case {
        DamageFigures figures;
        const char* report;
    };
    const Case cases[] = {
        {{1349100, 75, 337275, 10},
         "실제데미지 : 337,275\r\n파력무참진 적용시 : 674,550\r\n보호 적용시 : 168,637\r\n"
         "쿨타임 : 10초\r\n데미지 감소율 : 75%"},
        {{1822170, 75, 455542.5, 7.5},
         "실제데미지 : 455,542\r\n파력무참진 적용시 : 911,085\r\n보호 적용시 : 227,771\r\n"
         "쿨타임 : 7.5초\r\n데미지 감소율 : 75%"},
        {{1349100, 100, 0, 10},
         "실제데미지 : \r\n파력무참진 적용시 : \r\n보호 적용시 : \r\n쿨타임 : 10초\r\n"
         "데미지 감소율 : 100%"},
        {{0, 75, 0, 0},
         "실제데미지 : \r\n파력무참진 적용시 : \r\n보호 적용시 : \r\n쿨타임 : 0초\r\n"
         "데미지 감소율 : 75%"},
        {{-900, 75, -225, 10},
         "실제데미지 : -225\r\n파력무참진 적용시 : -450\r\n보호 적용시 : -113\r\n"
         "쿨타임 : 10초\r\n데미지 감소율 : 75%"},
        {{1, -300, 4, 9.375},
         "실제데미지 : 4\r\n파력무참진 적용시 : 8\r\n보호 적용시 : 2\r\n쿨타임 : 9.375초\r\n"
         "데미지 감소율 : -300%"},
        {{0.75, 25, 0.75, 8.125},
         "실제데미지 : \r\n파력무참진 적용시 : 1\r\n보호 적용시 : \r\n쿨타임 : 8.125초\r\n"
         "데미지 감소율 : 25%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(buildReport(c.figures), c.report);
    }
}

TEST(BuildReport, EndToEndFromTheInputTexts) {
    struct Case {
        const char* defence;
        double rate;
        const char* rateLine;
    };
    const Case cases[] = {
        {"-99", 100 - 5.05 * 5.05, "데미지 감소율 : 74.4975%"},
        // A rate of exactly sixteen digits ending in 5: the tie goes to the even digit.
        {"-56.77891121263775", 48.71929931640625, "데미지 감소율 : 48.7192993164062%"},
    };
    for (const Case& c : cases) {
        const CalculationOutcome outcome =
            calculateDamage({"카르벨론", "650000", "900000", c.defence});
        ASSERT_EQ(outcome.kind, OutcomeKind::Figures);
        EXPECT_EQ(outcome.figures.rate, c.rate);
        const std::string report = buildReport(outcome.figures);
        EXPECT_EQ(report.substr(report.rfind("\r\n") + 2), c.rateLine);
    }
}

TEST(BuildReport, UsesTheGivenSeparators) {
    const std::string report = buildReport({0, 74.5, 1234567.5, 7.5}, {",", "."});
    EXPECT_EQ(report.substr(0, report.find("\r\n")), "실제데미지 : 1.234.567");
    EXPECT_NE(report.find("쿨타임 : 7,5초"), std::string::npos);
    EXPECT_NE(report.find("데미지 감소율 : 74,5%"), std::string::npos);
}

}  // namespace
}  // namespace karbelon
