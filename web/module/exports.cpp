// The functions karbelon.js calls. Every text crosses as UTF-8 with its
// length; answers are left in resultText() for karbelon.js to read.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "answer/all_spells.h"
#include "answer/outcome_json.h"
#include "core/damage_calculation.h"
#include "core/report.h"
#include "web/module/control_table_json.h"
#include "web/module/js_view.h"
#include "web/module/text_exchange.h"
#include "web/module/utf16_text.h"
#include "window/main_window.h"
#include "window/text_fit.h"

#define KARBELON_EXPORT(name) __attribute__((export_name(name)))

namespace karbelon::web {

std::string& exchangeBuffer() {
    static std::string buffer;
    return buffer;
}

std::string& resultText() {
    static std::string text;
    return text;
}

namespace {

// A presenter with the view it drives.
struct Form1Instance {
    explicit Form1Instance(std::uint32_t viewHandle, NumberConventions conventions)
        : view(viewHandle), form(view, std::move(conventions)) {}

    JsForm1View view;
    window::Form1 form;
};

}  // namespace

}  // namespace karbelon::web

using karbelon::web::exchangeBuffer;
using karbelon::web::Form1Instance;
using karbelon::web::readTexts;
using karbelon::web::resultText;

extern "C" {

// Makes the exchange buffer hold at least size bytes and returns where it starts.
KARBELON_EXPORT("karbelon_buffer") char* karbelonBuffer(std::uint32_t size) {
    std::string& buffer = exchangeBuffer();
    // A huge text's buffer is not kept for the small calls that follow.
    constexpr std::size_t keptCapacity = std::size_t{1} << 20U;
    if (size <= keptCapacity && buffer.capacity() > keptCapacity) {
        std::string().swap(buffer);
    }
    buffer.resize(size);
    return buffer.data();
}

KARBELON_EXPORT("karbelon_result_data") const char* karbelonResultData() {
    return resultText().data();
}

KARBELON_EXPORT("karbelon_result_size") std::uint32_t karbelonResultSize() {
    return static_cast<std::uint32_t>(resultText().size());
}

// The answer to one request as karbelon.js reads it straight from memory:
// the figures as the doubles themselves, then the outcome kind and the
// report or message text. Saves writing and parsing JSON on every press.
struct CalculationRecord {
    double base;
    double rate;
    double actual;
    double cooldown;
    std::uint32_t kind;  // the order of karbelon::OutcomeKind
    const char* textData;
    std::uint32_t textSize;
    // The same text as UTF-16 units when asked for and well-formed, else
    // textUnitCount is notConverted.
    const std::uint16_t* textUnits;
    std::uint32_t textUnitCount;
};

constexpr std::uint32_t notConverted = 0xFFFFFFFFU;

// Texts: spell, hp, mp, defence, decimal separator, thousands separator.
KARBELON_EXPORT("karbelon_calculate")
const CalculationRecord* karbelonCalculate(const char* block, std::uint32_t wantUtf16) {
    static CalculationRecord record{};
    static std::vector<std::uint16_t> units;
    const auto texts = readTexts<6>(block);
    const karbelon::NumberConventions conventions =
        karbelon::web::conventionsOf(texts[4], texts[5]);
    // The texts are read where they lie, and the report is written into the
    // answer's text as it stands: a press allocates nothing once warm.
    const karbelon::DamageInputTexts inputs{texts[0], texts[1], texts[2], texts[3]};
    const karbelon::CalculationOutcome outcome =
        karbelon::calculateDamageFromTexts(inputs, conventions);
    std::string& text = resultText();
    text.clear();
    if (outcome.kind == karbelon::OutcomeKind::Figures) {
        karbelon::appendReport(text, outcome.figures, conventions);
    } else {
        text = outcome.message;
    }
    record = {outcome.figures.base,
              outcome.figures.rate,
              outcome.figures.actual,
              outcome.figures.cooldown,
              static_cast<std::uint32_t>(outcome.kind),
              text.data(),
              static_cast<std::uint32_t>(text.size()),
              nullptr,
              notConverted};
    if (wantUtf16 != 0 && karbelon::web::toUtf16(text, units)) {
        record.textUnits = units.data();
        record.textUnitCount = static_cast<std::uint32_t>(units.size());
    }
    return &record;
}

// Texts: hp, mp, defence, decimal separator, thousands separator.
KARBELON_EXPORT("karbelon_compare_spells") void karbelonCompareSpells(const char* block) {
    const auto texts = readTexts<5>(block);
    const karbelon::NumberConventions conventions =
        karbelon::web::conventionsOf(texts[3], texts[4]);
    const karbelon::answer::AllSpellsOutcome all =
        karbelon::answer::calculateAllSpells(texts[0], texts[1], texts[2], conventions);
    std::string& json = resultText();
    json.clear();
    if (all.outcome.kind != karbelon::OutcomeKind::Figures) {
        karbelon::answer::appendOutcomeJson(json, all.outcome, conventions);
    } else {
        json = karbelon::answer::spellTableJson(all.rows, conventions);
    }
}

KARBELON_EXPORT("karbelon_control_table") void karbelonControlTable() {
    resultText() = karbelon::web::controlTableJson();
}

// Texts: decimal separator, thousands separator.
KARBELON_EXPORT("karbelon_form1_create")
Form1Instance* karbelonForm1Create(std::uint32_t viewHandle, const char* block) {
    const auto texts = readTexts<2>(block);
    return std::make_unique<Form1Instance>(viewHandle,
                                           karbelon::web::conventionsOf(texts[0], texts[1]))
        .release();
}

KARBELON_EXPORT("karbelon_form1_destroy") void karbelonForm1Destroy(Form1Instance* instance) {
    std::unique_ptr<Form1Instance> owned(instance);
}

KARBELON_EXPORT("karbelon_form1_load") void karbelonForm1Load(Form1Instance* instance) {
    instance->form.load();
}

KARBELON_EXPORT("karbelon_form1_command1_click")
void karbelonForm1Command1Click(Form1Instance* instance) {
    instance->form.command1Click();
}

KARBELON_EXPORT("karbelon_form1_command2_click")
void karbelonForm1Command2Click(Form1Instance* instance) {
    instance->form.command2Click();
}

KARBELON_EXPORT("karbelon_form1_label6_click")
void karbelonForm1Label6Click(Form1Instance* instance) {
    instance->form.label6Click();
}

// Texts: decimal separator, thousands separator.
KARBELON_EXPORT("karbelon_choose_text_size")
std::int32_t karbelonChooseTextSize(std::uint32_t measureHandle, std::int32_t systemSize,
                                    std::int32_t smallestSize, const char* block) {
    const auto texts = readTexts<2>(block);
    const karbelon::web::JsTextFitMeasure measure(measureHandle);
    return karbelon::window::chooseTextSize(
        measure, karbelon::web::conventionsOf(texts[0], texts[1]), systemSize, smallestSize);
}
}
