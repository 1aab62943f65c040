#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "window/main_window.h"

namespace karbelon::hardening {

// Records what Form1 asks of its view; the boxes start with the preset texts.
class FakeView final : public window::Form1View {
  public:
    FakeView() {
        for (const window::ControlSpec& row : window::controlTable) {
            texts[row.id] = std::string(row.text);
        }
    }

    [[nodiscard]] std::string controlText(window::ControlId id) const override {
        return texts.at(id);
    }
    void setControlText(window::ControlId id, std::string_view text) override {
        texts[id] = std::string(text);
    }
    void appendSpellItem(std::string_view /*name*/) override {}
    void showErrorMessage(std::string_view text, std::string_view /*caption*/) override {
        messages.emplace_back(text);
    }
    void unload() override {}
    void openAuthorPage(std::string_view address) override { openedPages.emplace_back(address); }

    std::map<window::ControlId, std::string> texts;
    std::vector<std::string> messages;
    std::vector<std::string> openedPages;
};

}  // namespace karbelon::hardening
