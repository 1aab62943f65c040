#include "js_view.h"

#include "web/module/host_imports.h"
#include "web/module/text_exchange.h"

namespace karbelon::web {

namespace {

std::uint32_t sizeOf(std::string_view text) {
    return static_cast<std::uint32_t>(text.size());
}

std::string_view nameOf(window::ControlId id) {
    return window::controlSpec(id).name;
}

}  // namespace

std::string JsForm1View::controlText(window::ControlId id) const {
    const std::string_view name = nameOf(id);
    const std::uint32_t length = hostViewControlText(handle_, name.data(), sizeOf(name));
    return {exchangeData(), length};
}

void JsForm1View::setControlText(window::ControlId id, std::string_view text) {
    const std::string_view name = nameOf(id);
    hostViewSetControlText(handle_, name.data(), sizeOf(name), text.data(), sizeOf(text));
}

void JsForm1View::appendSpellItem(std::string_view name) {
    hostViewAppendSpellItem(handle_, name.data(), sizeOf(name));
}

void JsForm1View::showErrorMessage(std::string_view text, std::string_view caption) {
    hostViewShowErrorMessage(handle_, text.data(), sizeOf(text), caption.data(), sizeOf(caption));
}

void JsForm1View::unload() {
    hostViewUnload(handle_);
}

void JsForm1View::openAuthorPage(std::string_view address) {
    hostViewOpenAuthorPage(handle_, address.data(), sizeOf(address));
}

bool JsTextFitMeasure::reportFits(const std::string& report, int size) const {
    return hostMeasureReportFits(handle_, report.data(), sizeOf(report), size) != 0;
}

bool JsTextFitMeasure::captionFits(const window::ControlSpec& control, int size) const {
    return hostMeasureCaptionFits(handle_, control.name.data(), sizeOf(control.name), size) != 0;
}

}  // namespace karbelon::web
