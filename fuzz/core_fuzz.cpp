// Fuzzes the whole calculation: four arbitrary texts, optionally under
// arbitrary separators, through calculateDamage and buildReport. Every
// outcome is re-derived from the public checks, not from the arithmetic.
//
// Input: fields split at '\n' -- spell, HP, MP, defence; a fifth and sixth
// field, when present, replace the decimal and thousands separators.

#include <array>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/damage_calculation.h"
#include "core/messages.h"
#include "core/number_text.h"
#include "core/report.h"
#include "core/spell_table.h"
#include "fuzz_check.h"

namespace karbelon::fuzz {
namespace {

constexpr double defenceLimit = 200;
// No multiplier exceeds 2.1 and the rate quadruples at most; the report
// doubles that once more. Below this mana no figure can leave the range.
constexpr double safeManaMagnitude = std::numeric_limits<double>::max() / 32;

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        fields.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return fields;
        }
        start = end + 1;
    }
}

bool isDefault(const NumberConventions& conventions) {
    return conventions.decimalSeparator == "." && conventions.thousandsSeparator == ",";
}

// Under "." and ",": an accepted text holds only blanks, one sign, digits,
// well-formed groups and one point, and strtod reads the same double from it
// once the blanks and commas are gone.
void checkAgainstStrtod(std::string_view text) {
    const std::optional<double> value = toNumber(text);
    require(value.has_value() == isNumber(text), "isNumber agrees with toNumber");
    if (!value) {
        return;
    }
    std::string_view core = text;
    while (!core.empty() && core.front() == ' ') {
        core.remove_prefix(1);
    }
    while (!core.empty() && core.back() == ' ') {
        core.remove_suffix(1);
    }
    const std::string_view integerPart = core.substr(0, core.find('.'));
    std::size_t groupLength = 0;
    bool grouped = false;
    std::string plain;
    for (const char c : integerPart) {
        if (c == ',') {
            require(groupLength >= 1 && (grouped ? groupLength == 3 : groupLength <= 3),
                    "groups before a separator are well formed");
            grouped = true;
            groupLength = 0;
        } else if (c >= '0' && c <= '9') {
            ++groupLength;
        }
        if (c != ',') {
            plain.push_back(c);
        }
    }
    require(!grouped || groupLength == 3, "the last group has three digits");
    plain.append(core.substr(integerPart.size()));

    char* end = nullptr;
    errno = 0;
    const double expected = std::strtod(plain.c_str(), &end);
    require(end == plain.c_str() + plain.size(), "strtod reads the whole number text");
    require(expected == *value && std::signbit(expected) == std::signbit(*value),
            "toNumber gives the correctly rounded double");
}

// Blanks, a sign, digits and at most one point, with a digit: always a number.
bool isPlainDecimal(std::string_view text) {
    std::size_t pos = text.find_first_not_of(' ');
    if (pos == std::string_view::npos) {
        return false;
    }
    if (text[pos] == '+' || text[pos] == '-') {
        ++pos;
    }
    const std::size_t bodyEnd = text.find_last_not_of(' ') + 1;
    if (pos >= bodyEnd) {
        return false;
    }
    const std::string_view body = text.substr(pos, bodyEnd - pos);
    return body.find_first_not_of("0123456789.") == std::string_view::npos &&
           body.find('.') == body.rfind('.') &&
           body.find_first_of("0123456789") != std::string_view::npos;
}

void checkNumberText(std::string_view text, const NumberConventions& conventions) {
    require(isNumber(text, conventions) == toNumber(text, conventions).has_value(),
            "isNumber holds exactly when toNumber has a value");
    if (isDefault(conventions)) {
        checkAgainstStrtod(text);
        if (isPlainDecimal(text)) {
            require(isNumber(text), "a plain decimal is a number");
        }
    }
}

struct Expected {
    OutcomeKind kind;
    std::string_view message;
};

// Steps 1 to 7 again, through the public conversions only.
Expected expectedOutcome(const DamageInputs& inputs, const NumberConventions& conventions) {
    if (inputs.hp.empty()) {
        return {OutcomeKind::Message, messages::healthMissing};
    }
    if (inputs.mp.empty()) {
        return {OutcomeKind::Message, messages::manaMissing};
    }
    if (inputs.defence.empty()) {
        return {OutcomeKind::DefenceReset, {}};
    }
    if (!isNumber(inputs.hp, conventions)) {
        return {OutcomeKind::Message, messages::healthNotNumber};
    }
    if (!isNumber(inputs.mp, conventions)) {
        return {OutcomeKind::Message, messages::manaNotNumber};
    }
    if (!isNumber(inputs.defence, conventions)) {
        return {OutcomeKind::Message, messages::defenceNotNumber};
    }
    const double defence = toNumber(inputs.defence, conventions).value();
    require(!std::isnan(defence), "no number text converts to NaN");
    if (defence < -defenceLimit || defence > defenceLimit) {
        return {OutcomeKind::Message, messages::defenceOutOfRange};
    }
    return {OutcomeKind::Figures, {}};
}

std::vector<std::string_view> splitLines(std::string_view report) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = report.find("\r\n", start);
        lines.push_back(report.substr(start, end - start));
        if (end == std::string_view::npos) {
            return lines;
        }
        start = end + 2;
    }
}

// Under the default separators a damage figure reads back exactly.
void checkDamageText(std::string_view text, double wholeValue) {
    if (wholeValue == 0) {
        require(text.empty(), "a zero damage figure is written as nothing");
        return;
    }
    const std::optional<double> back = toNumber(text);
    require(back.has_value() && *back == wholeValue, "a damage figure reads back exactly");
}

// Rounded to 15 significant digits: the text reads back within that rounding.
void checkPlainText(std::string_view text, double value) {
    const std::optional<double> back = toNumber(text);
    require(back.has_value(), "a plain figure is a number text");
    require(std::fabs(*back - value) <= 5.2e-15 * std::fabs(value),
            "a plain figure keeps 15 significant digits");
}

void checkReport(const DamageFigures& figures, const NumberConventions& conventions) {
    static constexpr std::array<std::string_view, 5> labels{
        "실제데미지 : ", "파력무참진 적용시 : ", "보호 적용시 : ", "쿨타임 : ", "데미지 감소율 : ",
    };
    const std::string report = buildReport(figures, conventions);
    const std::vector<std::string_view> lines = splitLines(report);
    require(lines.size() == labels.size(), "the report has exactly five lines");
    for (std::size_t i = 0; i < labels.size(); ++i) {
        require(lines[i].starts_with(labels[i]), "each line starts with its label");
        require(lines[i].find('\n') == std::string_view::npos, "no stray line feed");
    }
    require(lines[3].ends_with("초"), "the cooldown line ends in 초");
    require(lines[4].ends_with("%"), "the rate line ends in %");
    if (!isDefault(conventions)) {
        return;
    }
    const auto figureText = [&](std::size_t line, std::string_view suffix = {}) {
        std::string_view text = lines[line].substr(labels[line].size());
        text.remove_suffix(suffix.size());
        return text;
    };
    checkDamageText(figureText(0), std::floor(figures.actual));
    checkDamageText(figureText(1), std::floor(figures.actual + figures.actual));
    checkDamageText(figureText(2), std::floor(figures.actual / 2));
    checkPlainText(figureText(3, "초"), figures.cooldown);
    checkPlainText(figureText(4, "%"), figures.rate);
}

void checkCalculation(const DamageInputs& inputs, const NumberConventions& conventions) {
    const CalculationOutcome outcome = calculateDamage(inputs, conventions);
    const Expected expected = expectedOutcome(inputs, conventions);

    if (expected.kind != OutcomeKind::Figures) {
        require(outcome.kind == expected.kind && outcome.message == expected.message,
                "the first failing check decides the outcome");
        return;
    }
    const double mana = toNumber(inputs.mp, conventions).value();
    const std::optional<SpellEntry> spell = lookupSpell(inputs.spell);
    if (outcome.kind == OutcomeKind::Message) {
        require(outcome.message == messages::manaTooLarge,
                "after all checks pass only an overflow is a message");
        require(spell.has_value() && std::fabs(mana) > safeManaMagnitude,
                "an overflow needs a known spell and a vast mana");
        return;
    }
    require(outcome.kind == OutcomeKind::Figures, "all checks passed: figures");
    const DamageFigures& figures = outcome.figures;
    require(std::isfinite(figures.base) && std::isfinite(figures.rate) &&
                std::isfinite(figures.actual) && std::isfinite(figures.cooldown),
            "every figure is finite");
    require(figures.rate >= -300 && figures.rate <= 100, "the rate stays within -300..100");
    require(figures.cooldown == (spell ? spell->cooldown : 0), "the spell decides the cooldown");
    if (!spell) {
        require(figures.base == 0 && figures.actual == 0, "an unknown spell does no damage");
    }
    checkReport(figures, conventions);
}

}  // namespace
}  // namespace karbelon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace karbelon;
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): libFuzzer hands over bytes
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> fields = fuzz::splitFields(input);
    const auto field = [&](std::size_t i) {
        return i < fields.size() ? std::string(fields[i]) : std::string();
    };

    NumberConventions conventions;
    if (fields.size() > 4) {
        conventions.decimalSeparator = field(4);
        conventions.thousandsSeparator = field(5);
    }
    const DamageInputs inputs{field(0), field(1), field(2), field(3)};
    for (const std::string& text : {inputs.hp, inputs.mp, inputs.defence}) {
        fuzz::checkNumberText(text, conventions);
    }
    fuzz::checkCalculation(inputs, conventions);
    return 0;
}
