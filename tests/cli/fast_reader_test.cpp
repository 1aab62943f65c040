// The fast reader of the batch must change no answer: the simdjson reader
// against the nlohmann reader alone.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "cli/batch_request.h"

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

}  // namespace
}  // namespace karbelon::cli
