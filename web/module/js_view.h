#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "window/main_window.h"
#include "window/text_fit.h"

namespace karbelon::web {

// Form1's view, answered by a view object on the JavaScript side.
class JsForm1View final : public window::Form1View {
  public:
    explicit JsForm1View(std::uint32_t handle) : handle_(handle) {}

    [[nodiscard]] std::string controlText(window::ControlId id) const override;
    void setControlText(window::ControlId id, std::string_view text) override;
    void appendSpellItem(std::string_view name) override;
    void showErrorMessage(std::string_view text, std::string_view caption) override;
    void unload() override;
    void openAuthorPage(std::string_view address) override;

  private:
    std::uint32_t handle_;
};

// The text-size measure, answered with the browser's fonts.
class JsTextFitMeasure final : public window::TextFitMeasure {
  public:
    explicit JsTextFitMeasure(std::uint32_t handle) : handle_(handle) {}

    [[nodiscard]] bool reportFits(const std::string& report, int size) const override;
    [[nodiscard]] bool captionFits(const window::ControlSpec& control, int size) const override;

  private:
    std::uint32_t handle_;
};

}  // namespace karbelon::web
