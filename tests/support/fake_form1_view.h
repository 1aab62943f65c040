#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "window/main_window.h"

namespace karbelon::test_support {

// Records what Form1 asks of its view; the boxes start with the preset texts.
class FakeForm1View final : public window::Form1View {
  public:
    FakeForm1View() {
        for (const window::ControlSpec& row : window::controlTable) {
            texts[row.id] = std::string(row.text);
        }
    }

    [[nodiscard]] std::string controlText(window::ControlId id) const override {
        return texts.at(id);
    }
    void setControlText(window::ControlId id, std::string_view text) override {
        texts[id] = std::string(text);
        writes.emplace_back(id);
    }
    void appendSpellItem(std::string_view name) override { spellItems.emplace_back(name); }
    void showErrorMessage(std::string_view text, std::string_view caption) override {
        messages.emplace_back(text);
        messageCaptions.emplace_back(caption);
    }
    void unload() override { ++unloads; }
    void openAuthorPage(std::string_view address) override { openedPages.emplace_back(address); }

    std::map<window::ControlId, std::string> texts;
    std::vector<window::ControlId> writes;
    std::vector<std::string> spellItems;
    std::vector<std::string> messages;  // texts, in the order shown
    std::vector<std::string> messageCaptions;
    int unloads = 0;
    std::vector<std::string> openedPages;
};

}  // namespace karbelon::test_support
