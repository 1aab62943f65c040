#include "cli/batch_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "cli/batch_stream.h"
#include "core/messages.h"

namespace karbelon::cli {
namespace {

using Json = nlohmann::json;
using namespace std::string_literals;

const NumberConventions plain{};

std::string request(std::string_view spell, std::string_view hp, std::string_view mp,
                    std::string_view defence) {
    return Json{{"spell", spell}, {"hp", hp}, {"mp", mp}, {"defence", defence}}.dump();
}

struct BatchAnswer {
    std::string line;
    bool valid;
};

BatchAnswer answerLine(std::string_view line) {
    BatchAnswer answer;
    answer.valid = appendBatchAnswer(answer.line, line, plain);
    return answer;
}

// Every answer is one JSON object on one line, whatever the input.
Json parsedAnswer(const BatchAnswer& answer) {
    EXPECT_EQ(answer.line.find('\n'), std::string::npos);
    return Json::parse(answer.line);
}

TEST(AppendBatchAnswer, AnswersValidRequestsWithTheCoreOutcome) {
    const Json figures = parsedAnswer(answerLine(request("카르벨론", "650000", "900000", "-100")));
    EXPECT_EQ(figures, Json::parse(R"({"outcome":"figures","base":1349100,"rate":75,"actual":337275,
        "cooldown":10,"report":"실제데미지 : 337,275\r\n파력무참진 적용시 : 674,550\r\n보호 적용시 : 168,637\r\n쿨타임 : 10초\r\n데미지 감소율 : 75%"})"));

    struct Case {
        std::string line;
        Json expected;
    };
    const Case cases[] = {
        {request("카르벨론", "", "1", "0"),
         {{"outcome", "message"}, {"message", messages::healthMissing}}},
        {request("카르벨론", "x", "1", ""), {{"outcome", "defence-reset"}}},
        // Texts reach the core untouched: an escaped NUL, or a blank in front.
        {request("카르벨론", "1", "900000\0"s, "0"),
         {{"outcome", "message"}, {"message", messages::manaNotNumber}}},
        {request(" 카르벨론", "1", "900000", "0"),
         {{"outcome", "figures"},
          {"base", 0},
          {"rate", 0},
          {"actual", 0},
          {"cooldown", 0},
          {"report",
           "실제데미지 : \r\n파력무참진 적용시 : \r\n보호 적용시 : \r\n쿨타임 : 0초\r\n데미지 "
           "감소율 : 0%"}}},
        // Members in any order, blanks and a trailing "\r" around them.
        {R"( {"defence":"200.5","mp":"1","hp":"1","spell":"x"} )"s + "\r",
         {{"outcome", "message"}, {"message", messages::defenceOutOfRange}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const BatchAnswer answer = answerLine(c.line);
        EXPECT_TRUE(answer.valid);
        EXPECT_EQ(parsedAnswer(answer), c.expected);
    }
}

TEST(AppendBatchAnswer, NamesWhatIsWrongWithAnInvalidLine) {
    struct Case {
        std::string line;
        std::string_view errorPart;
    };
    const Case cases[] = {
        {"", "empty line"},
        {"   ", "invalid JSON"},
        {"not json", "invalid JSON at byte 2: syntax error"},
        {R"({"spell":"a","hp":"1","mp":"2","defence":"0"} trailing)", "invalid JSON at byte"},
        {R"({"spell":"a","hp":"1","mp":"2","defence":"0")", "unexpected end of input"},
        {R"(["a","b","c","d"])", "expected a JSON object"},
        {R"("카르벨론")", "expected a JSON object"},
        {R"({"spell":"a","hp":"1","mp":"2"})", R"(missing field "defence")"},
        {R"({})", R"(missing field "spell")"},
        {R"({"spell":"a","hp":650000,"mp":"2","defence":"0"})", R"(field "hp" must be a string)"},
        {R"({"spell":null,"hp":"1","mp":"2","defence":"0"})", R"(field "spell" must be a string)"},
        {R"({"spell":["a"],"hp":"1","mp":"2","defence":"0"})", R"(field "spell" must be a string)"},
        {R"({"spell":"a","hp":"1","mp":"2","defence":"0","crit":"1"})", R"(unknown field "crit")"},
        {R"({"spell":"a","spell":"b","hp":"1","mp":"2","defence":"0"})",
         R"(field "spell" appears twice)"},
        {"{\"spell\":\"\xff\",\"hp\":\"1\",\"mp\":\"2\",\"defence\":\"0\"}",
         "invalid UTF-8 at byte 11"},
        {"\xc0\x80", "invalid UTF-8 at byte 1"},                       // overlong NUL
        {"{\"spell\":\"\xed\xa0\x80\"}", "invalid UTF-8 at byte 11"},  // encoded surrogate
        {"{\"spell\":\"\xea\xb0", "invalid UTF-8 at byte 11"},         // cut-off character
        {"{\"spell\":\"a\0\",\"hp\":\"1\",\"mp\":\"2\",\"defence\":\"0\"}"s, "U+0000"},
        {"\0"s, "invalid JSON at byte 1"},
        {R"({"spell":"\ud800","hp":"1","mp":"2","defence":"0"})", "surrogate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const BatchAnswer answer = answerLine(c.line);
        EXPECT_FALSE(answer.valid);
        const Json parsed = parsedAnswer(answer);
        EXPECT_EQ(parsed.at("outcome"), "invalid");
        EXPECT_NE(parsed.at("error").get<std::string>().find(c.errorPart), std::string::npos)
            << parsed.at("error");
    }
}

TEST(AppendBatchAnswer, KeepsAHugeUnknownFieldNameOutOfTheAnswer) {
    const std::string line = R"({")" + std::string(100000, 'k') + R"(":"1"})";
    const BatchAnswer answer = answerLine(line);
    EXPECT_FALSE(answer.valid);
    EXPECT_LT(answer.line.size(), 300U);
}

TEST(RunBatch, AnswersEveryLineInOrderWhateverItHolds) {
    const std::string valid = request("카르벨론", "1", "900000", "0");
    std::istringstream in(valid + "\nbroken\r\n\n" + request("카르벨론", "", "1", "0") + "\r\n" +
                          valid);  // the last line has no line break
    std::ostringstream out;
    const BatchSummary summary = runBatch(in, out, false, plain);
    EXPECT_EQ(summary.lines, 5U);
    EXPECT_EQ(summary.invalidLines, 2U);
    EXPECT_FALSE(summary.readFailed);
    EXPECT_FALSE(summary.writeFailed);

    std::istringstream answers(out.str());
    std::vector<std::string> outcomes;
    for (std::string line; std::getline(answers, line);) {
        outcomes.push_back(Json::parse(line).at("outcome").get<std::string>());
    }
    EXPECT_EQ(outcomes,
              (std::vector<std::string>{"figures", "invalid", "invalid", "message", "figures"}));
    EXPECT_EQ(out.str().back(), '\n');
}

// A stream that hands out its text a few bytes at a time, as a pipe may.
class TrickleBuffer : public std::streambuf {
  public:
    TrickleBuffer(std::string text, std::size_t step) : text_(std::move(text)), step_(step) {}

  protected:
    int_type underflow() override {
        if (position_ == text_.size()) {
            return traits_type::eof();
        }
        const std::size_t count = std::min(step_, text_.size() - position_);
        char* const first = text_.data() + position_;
        setg(first, first, first + count);
        position_ += count;
        return traits_type::to_int_type(*first);
    }

  private:
    std::string text_;
    std::size_t step_;
    std::size_t position_ = 0;
};

TEST(RunBatch, AnswersLinesCutAnywhereAsWholeLines) {
    const std::string request =
        R"({"spell":"카르벨론","hp":"650000","mp":"900000","defence":"-100"})";
    const std::string longRequest = R"({"spell":"카르벨론","hp":")" + std::string(300000, '0') +
                                    R"(650000","mp":"900000","defence":"-100"})";
    std::string input;
    std::string expected;
    for (const std::string* line : {&request, &longRequest, &request}) {
        input += *line + "\r\n";
        expected += answerLine(*line).line + "\n";
    }
    input += "broken";  // a last line without a break
    expected += answerLine("broken").line + "\n";

    for (const std::size_t step : {std::size_t{1}, std::size_t{7}, std::size_t{65536}}) {
        SCOPED_TRACE(step);
        TrickleBuffer buffer(input, step);
        std::istream in(&buffer);
        std::ostringstream out;
        const BatchSummary summary = runBatch(in, out, false, {});
        EXPECT_EQ(summary.lines, 4U);
        EXPECT_EQ(summary.invalidLines, 1U);
        EXPECT_EQ(out.str(), expected);
    }
}

TEST(RunBatch, WritesNothingForNoInput) {
    std::istringstream in;
    std::ostringstream out;
    const BatchSummary summary = runBatch(in, out, true, plain);
    EXPECT_EQ(summary.lines, 0U);
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace karbelon::cli
