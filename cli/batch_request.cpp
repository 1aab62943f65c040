#include "batch_request.h"

#include <simdjson.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <nlohmann/json.hpp>
#include <utility>

#include "cli/utf8_text.h"

namespace karbelon::cli {

namespace {

using Json = nlohmann::json;

struct Field {
    std::string_view name;
    std::string DamageInputs::*text;
    std::string_view DamageInputTexts::*view;
};

constexpr std::array<Field, 4> fields{{
    {"spell", &DamageInputs::spell, &DamageInputTexts::spell},
    {"hp", &DamageInputs::hp, &DamageInputTexts::hp},
    {"mp", &DamageInputs::mp, &DamageInputTexts::mp},
    {"defence", &DamageInputs::defence, &DamageInputTexts::defence},
}};
constexpr unsigned allFieldsSeen = (1U << fields.size()) - 1;

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
    explicit RequestReader(BatchRequest& request) : request_(request) {}

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
        request_.inputs.*(fields[currentField_].text) = std::move(value);
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
        request_.error = std::move(error);
        return false;
    }

    bool wrongValue() {
        if (!insideObject_) {
            return fail(std::string(objectExpected));
        }
        return fail("field " + quotedName(fields[currentField_].name) + " must be a string");
    }

    BatchRequest& request_;
    bool insideObject_ = false;
    unsigned seenFields_ = 0;
    std::size_t currentField_ = 0;
};

static_assert(batchLinePadding >= simdjson::SIMDJSON_PADDING);

// Past this size a line takes the nlohmann path: simdjson's buffers grow to a
// few times the longest line read and stay that large.
constexpr std::size_t fastReadLimit = std::size_t{1} << 20U;

// The index in fields of a member name written without escapes, or fields.size().
std::size_t plainFieldIndex(simdjson::ondemand::raw_json_string key) {
    // The name is followed at least by its closing quote, a colon and a value.
    const char* const raw = key.raw();
    // The four names start with four different letters.
    std::size_t index = 0;
    while (index < fields.size() && fields[index].name.front() != raw[0]) {
        ++index;
    }
    if (index < fields.size()) {
        const std::string_view name = fields[index].name;
        if (std::memcmp(raw, name.data(), name.size()) != 0 || raw[name.size()] != '"') {
            index = fields.size();
        }
    }
    return index;
}

// A string value whose bytes are its text, that is without escapes. Points
// into the line.
bool readPlainString(simdjson::ondemand::value& value, std::string_view& text) {
    simdjson::ondemand::json_type type{};
    if (value.type().get(type) != simdjson::SUCCESS ||
        type != simdjson::ondemand::json_type::string) {
        return false;
    }
    const std::string_view token = value.raw_json_token();
    // The token runs from the opening quote to the next structural character.
    const std::size_t closingQuote = token.find_last_of('"');
    if (closingQuote == 0 || closingQuote == std::string_view::npos) {
        return false;
    }
    text = token.substr(1, closingQuote - 1);
    // simdjson has already refused raw controls inside strings (UNESCAPED_CHARS).
    return std::memchr(text.data(), '\\', text.size()) == nullptr;
}

bool isJsonSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether the line is one flat object of plain strings (no escapes, no raw
// controls) and nothing else. simdjson's on-demand reader checks only what it
// reads, so a line such as {"a":"1":"2",...}},... can pass it; the fast road
// takes only lines of this exact shape, and the validating reader judges
// every other one.
bool isFlatObjectOfPlainStrings(std::string_view line) {
    std::size_t pos = 0;
    const auto skipSpace = [&line, &pos] {
        while (pos < line.size() && isJsonSpace(line[pos])) {
            ++pos;
        }
    };
    const auto take = [&line, &pos](char expected) {
        if (pos < line.size() && line[pos] == expected) {
            ++pos;
            return true;
        }
        return false;
    };
    const auto plainString = [&line, &pos, &take] {
        if (!take('"')) {
            return false;
        }
        constexpr unsigned char firstNonControl = 0x20;
        while (pos < line.size()) {
            const auto c = static_cast<unsigned char>(line[pos++]);
            if (c == '"') {
                return true;
            }
            if (c == '\\' || c < firstNonControl) {
                return false;
            }
        }
        return false;
    };
    skipSpace();
    if (!take('{')) {
        return false;
    }
    do {
        skipSpace();
        if (!plainString()) {
            return false;
        }
        skipSpace();
        if (!take(':')) {
            return false;
        }
        skipSpace();
        if (!plainString()) {
            return false;
        }
        skipSpace();
    } while (take(','));
    if (!take('}')) {
        return false;
    }
    skipSpace();
    return pos == line.size();
}

// The common request, read in place; false sends the line to the nlohmann
// path, which then gives the answer (valid or not) exactly as it always has.
bool readPlainRequest(simdjson::ondemand::parser& parser, PaddedLine line,
                      DamageInputTexts& texts) {
    namespace ondemand = simdjson::ondemand;
    ondemand::document document;
    ondemand::object object;
    if (parser.iterate(line.text.data(), line.text.size(), line.readableBytes).get(document) !=
            simdjson::SUCCESS ||
        document.get_object().get(object) != simdjson::SUCCESS) {
        return false;
    }
    unsigned seenFields = 0;
    for (auto member : object) {
        ondemand::field field;
        if (std::move(member).get(field) != simdjson::SUCCESS) {
            return false;
        }
        const std::size_t index = plainFieldIndex(field.key());
        const unsigned bit = 1U << index;
        if (index == fields.size() || (seenFields & bit) != 0 ||
            !readPlainString(field.value(), texts.*(fields[index].view))) {
            return false;
        }
        seenFields |= bit;
    }
    // Nothing may follow the object: its end must be the end of the line.
    return seenFields == allFieldsSeen &&
           document.current_location().error() == simdjson::OUT_OF_BOUNDS;
}

}  // namespace

struct BatchRequestReader::State {
    simdjson::ondemand::parser parser;
    std::string paddedCopy;
    BatchRequest slowRequest;  // storage behind the views of a line read by nlohmann
};

BatchRequestReader::BatchRequestReader() : state_(std::make_unique<State>()) {}

BatchRequestReader::~BatchRequestReader() = default;

BatchRequestView BatchRequestReader::read(PaddedLine line) {
    BatchRequestView view;
    if (!line.text.empty() && line.text.size() <= fastReadLimit &&
        line.readableBytes >= line.text.size() + batchLinePadding &&
        isFlatObjectOfPlainStrings(line.text) &&
        readPlainRequest(state_->parser, line, view.texts)) {
        return view;
    }
    BatchRequest& request = state_->slowRequest;
    request = parseBatchRequest(line.text);
    view.texts = {request.inputs.spell, request.inputs.hp, request.inputs.mp,
                  request.inputs.defence};
    view.error = request.error;
    return view;
}

BatchRequestView BatchRequestReader::read(std::string_view line) {
    std::string& copy = state_->paddedCopy;
    copy.assign(line);
    copy.resize(line.size() + batchLinePadding, ' ');
    return read(PaddedLine{std::string_view(copy).substr(0, line.size()), copy.size()});
}

BatchRequest parseBatchRequest(std::string_view line) {
    BatchRequest request;
    if (line.empty()) {
        request.error = "empty line; " + std::string(objectExpected);
        return request;
    }
    // Checked up front so that the answer can name the byte, inside strings or not.
    if (const auto invalidAt = findInvalidUtf8(line)) {
        request.error = "invalid UTF-8 at byte " + std::to_string(*invalidAt + 1);
        return request;
    }
    RequestReader reader(request);
    if (Json::sax_parse(line, &reader)) {
        reader.checkComplete();
    }
    return request;
}

}  // namespace karbelon::cli
