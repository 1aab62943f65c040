#pragma once

#include <QUrl>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "desktop_browser.h"
#include "window/control_table.h"
#include "window/main_window.h"

namespace karbelon::window::qt {

// Hands an address to the desktop; must return at once and stay silent.
using UrlOpener = std::function<void(const QUrl&)>;

// Form1 on Qt Widgets: builds the controls from the control table, forwards
// the four events to the Form1 presenter and does what it asks. Holds no
// logic of its own.
class Form1Window final : public QWidget, public window::Form1View {
    Q_OBJECT

  public:
    explicit Form1Window(NumberConventions conventions, UrlOpener openUrl = openInDesktopBrowser);

    // The widget made for a control of the table.
    [[nodiscard]] QWidget* control(window::ControlId id) const;

    // Form1View. The multi-line box speaks "\r\n" line breaks both ways, as
    // the report is written, although Qt keeps paragraphs internally.
    [[nodiscard]] std::string controlText(window::ControlId id) const override;
    void setControlText(window::ControlId id, std::string_view text) override;
    void appendSpellItem(std::string_view name) override;
    void showErrorMessage(std::string_view text, std::string_view caption) override;
    void unload() override;
    void openAuthorPage(std::string_view address) override;

  private:
    void createControls();
    void connectEvents();
    void centreOnScreen();

    std::array<QWidget*, window::controlCount> controls_{};
    UrlOpener openUrl_;
    window::Form1 form_;
};

}  // namespace karbelon::window::qt
