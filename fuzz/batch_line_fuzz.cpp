// Fuzzes the batch line handler of karbelon-cli: any bytes as one input line
// must give exactly one well-formed JSON line; a line is a valid request
// exactly when it is valid UTF-8 and a JSON object of the four string
// members, each once, and then it is answered exactly as the core answers it.

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "cli/batch_line.h"
#include "core/damage_calculation.h"
#include "core/report.h"
#include "fuzz_check.h"

namespace karbelon::fuzz {
namespace {

using Json = nlohmann::json;

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF),
// written here again so that the handler's own check is not its judge.
bool isValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t length = 0;
        unsigned lowest = 0;
        unsigned codePoint = 0;
        if (lead < 0x80U) {
            ++pos;
            continue;
        }
        if (lead >= 0xC2U && lead <= 0xDFU) {
            length = 2;
            lowest = 0x80U;
            codePoint = lead & 0x1FU;
        } else if (lead >= 0xE0U && lead <= 0xEFU) {
            length = 3;
            lowest = 0x800U;
            codePoint = lead & 0x0FU;
        } else if (lead >= 0xF0U && lead <= 0xF4U) {
            length = 4;
            lowest = 0x10000U;
            codePoint = lead & 0x07U;
        } else {
            return false;
        }
        if (pos + length > text.size()) {
            return false;
        }
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[pos + i]);
            if ((next & 0xC0U) != 0x80U) {
                return false;
            }
            codePoint = (codePoint << 6U) | (next & 0x3FU);
        }
        if (codePoint < lowest || codePoint > 0x10FFFFU ||
            (codePoint >= 0xD800U && codePoint <= 0xDFFFU)) {
            return false;
        }
        pos += length;
    }
    return true;
}

// The request as nlohmann's DOM parser sees it, when it is one. The DOM keeps
// only the last of duplicate members, so the top-level names are counted.
std::optional<DamageInputs> readRequest(std::string_view line) {
    std::size_t topLevelNames = 0;
    const auto countNames = [&topLevelNames](int depth, Json::parse_event_t event,
                                             const Json& /*parsed*/) {
        if (event == Json::parse_event_t::key && depth == 1) {
            ++topLevelNames;
        }
        return true;
    };
    const Json json = Json::parse(line, countNames, false);
    if (!json.is_object() || json.size() != 4 || topLevelNames != 4) {
        return std::nullopt;
    }
    DamageInputs inputs;
    for (const auto& [name, text] :
         {std::pair{"spell", &inputs.spell}, std::pair{"hp", &inputs.hp},
          std::pair{"mp", &inputs.mp}, std::pair{"defence", &inputs.defence}}) {
        const auto member = json.find(name);
        if (member == json.end() || !member->is_string()) {
            return std::nullopt;
        }
        *text = member->get<std::string>();
    }
    return inputs;
}

void checkMatchesCore(const Json& answer, const DamageInputs& inputs) {
    const NumberConventions conventions;
    const CalculationOutcome outcome = calculateDamage(inputs, conventions);
    const std::string kind = answer.at("outcome").get<std::string>();
    switch (outcome.kind) {
        case OutcomeKind::Message:
            require(kind == "message" && answer.at("message") == outcome.message,
                    "a message outcome carries the core's text");
            break;
        case OutcomeKind::DefenceReset:
            require(kind == "defence-reset" && answer.size() == 1, "a reset carries nothing");
            break;
        case OutcomeKind::Figures: {
            const DamageFigures& figures = outcome.figures;
            require(kind == "figures", "figures are answered as figures");
            require(answer.at("base").get<double>() == figures.base &&
                        answer.at("rate").get<double>() == figures.rate &&
                        answer.at("actual").get<double>() == figures.actual &&
                        answer.at("cooldown").get<double>() == figures.cooldown,
                    "the figures read back as the same doubles");
            require(answer.at("report") == buildReport(figures, conventions),
                    "the report is the window's report");
            break;
        }
    }
}

}  // namespace
}  // namespace karbelon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace karbelon;
    using fuzz::require;
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): libFuzzer hands over bytes
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    std::string answer;
    const bool valid = cli::appendBatchAnswer(answer, line, NumberConventions{});

    require(!answer.empty(), "every line is answered");
    require(answer.find_first_of("\r\n") == std::string::npos, "the answer is exactly one line");
    require(fuzz::isValidUtf8(answer), "the answer is valid UTF-8");
    const fuzz::Json json = fuzz::Json::parse(answer, nullptr, false);
    require(json.is_object(), "the answer is one JSON object");
    const auto outcome = json.find("outcome");
    require(outcome != json.end() && outcome->is_string(), "the answer names its outcome");

    const std::optional<DamageInputs> inputs =
        fuzz::isValidUtf8(line) ? fuzz::readRequest(line) : std::nullopt;
    require(valid == inputs.has_value(),
            "a line is valid exactly when it is UTF-8 and an object of the four strings");
    if (!valid) {
        require(*outcome == "invalid" && json.size() == 2 && json.at("error").is_string() &&
                    !json.at("error").get<std::string>().empty(),
                "an invalid line is answered with a non-empty error");
        return 0;
    }
    require(*outcome != "invalid", "a valid request is not answered as invalid");
    fuzz::checkMatchesCore(json, *inputs);
    return 0;
}
