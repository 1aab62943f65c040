#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "answer/json_text.h"
#include "cli/batch_line.h"
#include "huge_cases.h"

namespace karbelon::hardening {
namespace {

using Json = nlohmann::json;

// Not nlohmann's writer: it takes seconds per 10 MB field in an unoptimised
// sanitizer build.
std::string requestLine(const DamageInputs& inputs) {
    std::string line = R"({"spell":)";
    answer::appendJsonString(line, inputs.spell);
    line += R"(,"hp":)";
    answer::appendJsonString(line, inputs.hp);
    line += R"(,"mp":)";
    answer::appendJsonString(line, inputs.mp);
    line += R"(,"defence":)";
    answer::appendJsonString(line, inputs.defence);
    line += '}';
    return line;
}

class BatchLineHugeInput : public ::testing::TestWithParam<HugeCase> {};

// The same vast texts as in the window, as one batch line each: one answer
// line with the same outcome.
TEST_P(BatchLineHugeInput, AnswersWithTheRightOutcome) {
    const HugeCase& hugeCase = GetParam();
    const std::string line = requestLine(startInputsWith(hugeCase.box, hugeText(hugeCase)));

    std::string answer;
    EXPECT_TRUE(cli::appendBatchAnswer(answer, line, NumberConventions{}));
    ASSERT_EQ(answer.find('\n'), std::string::npos);
    const Json parsed = Json::parse(answer);
    if (hugeCase.kind == OutcomeKind::Message) {
        EXPECT_EQ(parsed, (Json{{"outcome", "message"}, {"message", hugeCase.answer}}));
    } else {
        EXPECT_EQ(parsed.at("outcome"), "figures");
        EXPECT_EQ(parsed.at("report"), hugeCase.answer);
    }
}

INSTANTIATE_TEST_SUITE_P(TenMegabytes, BatchLineHugeInput, ::testing::ValuesIn(hugeCases()),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace karbelon::hardening
