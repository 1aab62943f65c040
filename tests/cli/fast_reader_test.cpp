// The fast paths of the batch must change no answer: the simdjson reader
// against the nlohmann reader alone, the short JSON numbers against
// std::to_chars, and the block reader against lines cut anywhere.

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>

#include "answer/json_text.h"
#include "cli/batch_line.h"
#include "cli/batch_request.h"
#include "cli/batch_stream.h"

namespace karbelon::cli {
namespace {

using namespace std::string_literals;

void expectSameRequest(const BatchRequestView& fast, const BatchRequest& slow) {
    EXPECT_EQ(fast.error, slow.error);
    EXPECT_EQ(fast.texts.spell, slow.inputs.spell);
    EXPECT_EQ(fast.texts.hp, slow.inputs.hp);
    EXPECT_EQ(fast.texts.mp, slow.inputs.mp);
    EXPECT_EQ(fast.texts.defence, slow.inputs.defence);
}

// Lines near the edge of what the fast reader takes in place.
const std::string readerLines[] = {
    R"({"spell":"카르벨론","hp":"650000","mp":"900000","defence":"-100"})",
    R"(  { "defence" : "0" , "mp":"1","hp" :"2", "spell":"" }  )",
    R"({"spell":"a","hp":"1","mp":"2","defence":"0"} x)",
    R"({"spell":"a","hp":"1","mp":"2","defence":"0"}{})",
    R"({"spell":"a","hp":"1","mp":"2","defence":"0"},)",
    R"({"spell":"a","hp":"1","mp":"2","defence":"0",})",
    R"({"spell":"a","hp":"1","mp":"2" "defence":"0"})",
    R"({"spell":"a","hp":"1","mp":"2","defence" "0"})",
    R"({"spell":"a","hp":"1","mp":"2","defence":"0")",
    R"({"spell":"a","hp":"1","mp":"2"})",
    R"({"spell":"a","hp":"1","mp":"2","defence":"0","spell":"b"})",
    R"({"spell":"a","hp":"1","mp":"2":"3","defence":"4"},"defence":"4"})",
    R"({"spell":"지옥겁화","hp":"650,0`efence00","mp":"899,000":"899,000","defence":"-99.5"},"defence":"-99.5"})",
    R"({"spell":"a","hp":"1","mp":"2","defence":"0"}})",
    R"({"spell":"a","hp":"1","mp":"2","defence":"0"} )",
    R"({"spell":"a","hp":"1","mp":"2","defence":0})",
    R"({"spell":"a","hp":"1","mp":"2","defence":null})",
    R"({"spell":"a","hp":"1","mp":"2","defence":{"x":"y"}})",
    R"({"spellx":"a","hp":"1","mp":"2","defence":"0"})",
    R"({"spel":"a","hp":"1","mp":"2","defence":"0"})",
    R"({"sp\u0065ll":"a","hp":"1","mp":"2","defence":"0"})",
    R"({"spell":"a\"b","hp":"1","mp":"2","defence":"0"})",
    R"({"spell":"\u0000","hp":"1","mp":"2","defence":"0"})",
    R"({"spell":"\ud800","hp":"1","mp":"2","defence":"0"})",
    R"({"spell":"\ud83d\ude00","hp":"1","mp":"2","defence":"0"})",
    R"({"spell":"a\\","hp":"1","mp":"2","defence":"0"})",
    "{\"spell\":\"a\tb\",\"hp\":\"1\",\"mp\":\"2\",\"defence\":\"0\"}",
    "{\"spell\":\"a\x1f\",\"hp\":\"1\",\"mp\":\"2\",\"defence\":\"0\"}",
    "{\"spell\":\"a\x7f\",\"hp\":\"1\",\"mp\":\"2\",\"defence\":\"0\"}",
    "{\"spell\":\"a\0\",\"hp\":\"1\",\"mp\":\"2\",\"defence\":\"0\"}"s,
    "{\"spell\":\"\xff\",\"hp\":\"1\",\"mp\":\"2\",\"defence\":\"0\"}",
    "\xef\xbb\xbf{\"spell\":\"a\",\"hp\":\"1\",\"mp\":\"2\",\"defence\":\"0\"}",
    R"(["a","1","2","0"])",
    R"("a")",
    "",
    " ",
    "{",
    "}",
    R"({})",
};

TEST(BatchRequestReader, ReadsEveryLineAsTheNlohmannReaderDoes) {
    BatchRequestReader reader;
    for (const std::string& line : readerLines) {
        SCOPED_TRACE(line);
        const BatchRequest slow = parseBatchRequest(line);
        expectSameRequest(reader.read(std::string_view(line)), slow);
        // In place, followed by other bytes rather than blanks.
        std::string block = line + "\n" + std::string(batchLinePadding, '"');
        expectSameRequest(
            reader.read(PaddedLine{std::string_view(block).substr(0, line.size()), block.size()}),
            slow);
    }
}

TEST(AppendJsonNumber, WritesWhatToCharsWrites) {
    std::vector<double> values = {1,
                                  9,
                                  10,
                                  100000,
                                  1000000,
                                  1349100,
                                  1.5,
                                  -2.25,
                                  93.75,
                                  84318.75,
                                  0.5,
                                  0.0001,
                                  1e15,
                                  1e16,
                                  123456789012345.6,
                                  9007199254740991,
                                  9007199254740992,
                                  -1e21,
                                  1e22,
                                  0.1 + 0.2,
                                  74.4975,
                                  100 - 5.05 * 5.05,
                                  -300,
                                  4.2e-320};
    std::mt19937_64 random(17);  // NOLINT(cert-msc32-c,cert-msc51-cpp): repeatable on purpose
    std::uniform_int_distribution<int> digits(0, 9999999);
    for (int i = 0; i < 20000; ++i) {
        const double whole = digits(random);
        values.push_back(whole);
        values.push_back(whole * 1000);
        values.push_back(whole / 100);
        values.push_back(-whole / 8);
        values.push_back(whole * 1.5 - whole * (whole / 1e7));
    }
    for (const double value : values) {
        std::array<char, 32> buffer{};
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
        std::string written;
        answer::appendJsonNumber(written, value);
        ASSERT_EQ(written, std::string(buffer.data(), end.ptr)) << value;
    }
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
        expected += answerBatchLine(*line, {}).line + "\n";
    }
    input += "broken";  // a last line without a break
    expected += answerBatchLine("broken", {}).line + "\n";

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

}  // namespace
}  // namespace karbelon::cli
