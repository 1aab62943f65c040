// The functions karbelon.js calls. Every text crosses as UTF-8 with its
// length; answers are left in resultText() as the JSON that karbelon-cli
// writes, for karbelon.js to parse.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "answer/outcome_json.h"
#include "answer/spell_comparison.h"
#include "core/damage_calculation.h"
#include "web/module/control_table_json.h"
#include "web/module/js_view.h"
#include "web/module/text_exchange.h"
#include "window/main_window.h"
#include "window/text_fit.h"

#define KARBELON_EXPORT(name) __attribute__((export_name(name)))

namespace karbelon::web {

namespace {

struct ExchangeBytes {
    std::unique_ptr<char[]> bytes;
    std::size_t capacity = 0;
};

ExchangeBytes& exchange() {
    static ExchangeBytes buffer;
    return buffer;
}

}  // namespace

// A presenter with the view it drives.
struct Form1Instance {
    explicit Form1Instance(std::uint32_t viewHandle, NumberConventions conventions)
        : view(viewHandle), form(view, std::move(conventions)) {}

    JsForm1View view;
    window::Form1 form;
};

char* exchangeBuffer(std::size_t size) {
    ExchangeBytes& buffer = exchange();
    // Reused as it is, never cleared: karbelon.js overwrites what it uses.
    // It only grows: the module's memory never shrinks, whatever is freed.
    if (size > buffer.capacity) {
        constexpr std::size_t smallestCapacity = 4096;
        buffer.bytes.reset();  // first, so that the old and the new need not fit together
        buffer.capacity = std::max(size, smallestCapacity);
        buffer.bytes = std::make_unique_for_overwrite<char[]>(buffer.capacity);
    }
    return buffer.bytes.get();
}

const char* exchangeData() {
    return exchange().bytes.get();
}

std::string& resultText() {
    static std::string text;
    return text;
}

}  // namespace karbelon::web

using karbelon::web::Form1Instance;
using karbelon::web::readTexts;
using karbelon::web::resultText;

extern "C" {

// Makes the exchange buffer hold at least size bytes and returns where it starts.
KARBELON_EXPORT("karbelon_buffer") char* karbelonBuffer(std::uint32_t size) {
    return karbelon::web::exchangeBuffer(size);
}

KARBELON_EXPORT("karbelon_result_data") const char* karbelonResultData() {
    return resultText().data();
}

KARBELON_EXPORT("karbelon_result_size") std::uint32_t karbelonResultSize() {
    return static_cast<std::uint32_t>(resultText().size());
}

// Texts: spell, hp, mp, defence, decimal separator, thousands separator.
KARBELON_EXPORT("karbelon_calculate") void karbelonCalculate(const char* block) {
    const auto texts = readTexts<6>(block);
    const karbelon::NumberConventions conventions =
        karbelon::web::conventionsOf(texts[4], texts[5]);
    const karbelon::DamageInputs inputs{std::string(texts[0]), std::string(texts[1]),
                                        std::string(texts[2]), std::string(texts[3])};
    std::string& json = resultText();
    json.clear();
    karbelon::answer::appendOutcomeJson(json, karbelon::calculateDamage(inputs, conventions),
                                        conventions);
}

KARBELON_EXPORT("karbelon_compare_spells") void karbelonCompareSpells(const char* block) {
    const auto texts = readTexts<5>(block);
    const karbelon::NumberConventions conventions =
        karbelon::web::conventionsOf(texts[3], texts[4]);
    resultText() = karbelon::answer::spellComparisonJson(
        karbelon::answer::compareAllSpells(texts[0], texts[1], texts[2], conventions), conventions);
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
