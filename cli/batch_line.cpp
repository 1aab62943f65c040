#include "batch_line.h"

#include <array>
#include <cstddef>
#include <nlohmann/json.hpp>
#include <utility>

#include "answer/outcome_json.h"
#include "cli/utf8_text.h"
#include "core/damage_calculation.h"

namespace karbelon::cli {

namespace {

using Json = nlohmann::json;

struct Field {
    std::string_view name;
    std::string DamageInputs::*text;
};

constexpr std::array<Field, 4> fields{{
    {"spell", &DamageInputs::spell},
    {"hp", &DamageInputs::hp},
    {"mp", &DamageInputs::mp},
    {"defence", &DamageInputs::defence},
}};

constexpr std::string_view objectExpected =
    R"(expected a JSON object with the string fields "spell", "hp", "mp" and "defence")";

std::string quotedName(std::string_view name) {
    // Field names come from the line itself; keep a long one from flooding the answer.
    constexpr std::size_t maxNameBytes = 40;
    const std::string_view shown = utf8Prefix(name, maxNameBytes);
    std::string text = "\"";
    text += shown;
    text += shown.size() < name.size() ? "…\"" : "\"";
    return text;
}

// The parser's own wording without its prefix and without the "last read"
// part, which would echo the (possibly huge) offending token.
std::string describeSyntaxError(std::size_t position, std::string_view what) {
    const std::size_t lastRead = what.find("; last read: ");
    what = what.substr(0, lastRead);
    const std::size_t reasonStart = what.find(": ");
    if (reasonStart != std::string_view::npos) {
        what.remove_prefix(reasonStart + 2);
    }
    return "invalid JSON at byte " + std::to_string(position) + ": " + withValidUtf8(what);
}

// Event handler for nlohmann's SAX parser: fills the request member by member
// and stops at the first thing that cannot belong to a valid request.
class RequestReader {
  public:
    RequestReader(DamageInputs& inputs, std::string& error) : inputs_(inputs), error_(error) {}

    bool null() { return wrongValue(); }
    bool boolean(bool /*value*/) { return wrongValue(); }
    bool number_integer(Json::number_integer_t /*value*/) { return wrongValue(); }
    bool number_unsigned(Json::number_unsigned_t /*value*/) { return wrongValue(); }
    bool number_float(Json::number_float_t /*value*/, const Json::string_t& /*text*/) {
        return wrongValue();
    }
    bool binary(Json::binary_t& /*value*/) { return wrongValue(); }
    bool start_array(std::size_t /*elements*/) { return wrongValue(); }
    bool end_array() { return wrongValue(); }

    bool string(Json::string_t& value) {
        if (!insideObject_) {
            return wrongValue();
        }
        inputs_.*(fields[currentField_].text) = std::move(value);
        return true;
    }

    bool start_object(std::size_t /*elements*/) {
        if (insideObject_) {
            return wrongValue();
        }
        insideObject_ = true;
        return true;
    }

    bool key(Json::string_t& name) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].name == name) {
                const auto bit = 1U << i;
                if ((seenFields_ & bit) != 0) {
                    return fail("field " + quotedName(name) + " appears twice");
                }
                seenFields_ |= bit;
                currentField_ = i;
                return true;
            }
        }
        return fail("unknown field " + quotedName(name) + "; " + std::string(objectExpected));
    }

    // NOLINTNEXTLINE(readability-convert-member-functions-to-static): called by the parser
    bool end_object() { return true; }

    bool parse_error(std::size_t position, const std::string& /*lastToken*/,
                     const nlohmann::detail::exception& error) {
        return fail(describeSyntaxError(position, error.what()));
    }

    // After a successful parse: the first of the four fields that is missing.
    void checkComplete() {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if ((seenFields_ & (1U << i)) == 0) {
                fail("missing field " + quotedName(fields[i].name));
                return;
            }
        }
    }

  private:
    bool fail(std::string error) {
        error_ = std::move(error);
        return false;
    }

    bool wrongValue() {
        if (!insideObject_) {
            return fail(std::string(objectExpected));
        }
        return fail("field " + quotedName(fields[currentField_].name) + " must be a string");
    }

    DamageInputs& inputs_;
    std::string& error_;
    bool insideObject_ = false;
    unsigned seenFields_ = 0;
    std::size_t currentField_ = 0;
};

// Fills inputs from the line, or returns what is wrong with it (never empty
// for a bad line, always valid UTF-8).
std::string readRequest(std::string_view line, DamageInputs& inputs) {
    if (line.empty()) {
        return "empty line; " + std::string(objectExpected);
    }
    // Checked up front so that the answer can name the byte, inside strings or not.
    if (const auto invalidAt = findInvalidUtf8(line)) {
        return "invalid UTF-8 at byte " + std::to_string(*invalidAt + 1);
    }
    std::string error;
    RequestReader reader(inputs, error);
    if (Json::sax_parse(line, &reader)) {
        reader.checkComplete();
    }
    return error;
}

}  // namespace

bool appendBatchAnswer(std::string& out, std::string_view inputLine,
                       const NumberConventions& conventions) {
    DamageInputs inputs;
    const std::string error = readRequest(inputLine, inputs);
    if (!error.empty()) {
        answer::appendInvalidJson(out, error);
        return false;
    }
    answer::appendOutcomeJson(out, calculateDamage(inputs, conventions), conventions);
    return true;
}

}  // namespace karbelon::cli
