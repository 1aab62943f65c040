#pragma once

#include <string>
#include <string_view>

#include "control_table.h"
#include "core/damage_calculation.h"
#include "core/number_conventions.h"

namespace karbelon::window {

// What the window's behaviour needs from a toolkit. Each view implements
// this thinly; all decisions live in Form1.
class Form1View {
  public:
    Form1View() = default;
    Form1View(const Form1View&) = delete;
    Form1View& operator=(const Form1View&) = delete;
    Form1View(Form1View&&) = delete;
    Form1View& operator=(Form1View&&) = delete;
    virtual ~Form1View() = default;

    // UTF-8 text of a box (Combo1, Text1..Text4), exactly as the control holds it.
    [[nodiscard]] virtual std::string controlText(ControlId id) const = 0;
    // Replaces the whole text of a control.
    virtual void setControlText(ControlId id, std::string_view text) = 0;
    // Adds an item at the end of Combo1's list without changing its text.
    virtual void appendSpellItem(std::string_view name) = 0;
    // Modal error box with a single OK button; returns once dismissed.
    virtual void showErrorMessage(std::string_view text, std::string_view caption) = 0;
    // Closes the window; with it the program ends.
    virtual void unload() = 0;
    // Opens the given address in the user's browser and returns at once;
    // a failure shows nothing.
    virtual void openAuthorPage(std::string_view address) = 0;
};

// The main window's event logic: load, calculate, close and the web label.
class Form1 {
  public:
    Form1(Form1View& view, NumberConventions conventions);

    void load();
    void command1Click();
    void command2Click();
    void label6Click();

  private:
    Form1View& view_;
    NumberConventions conventions_;
};

// The request that the view's boxes hold now.
DamageInputs requestFromView(const Form1View& view);

// The address a click on Label6 opens: the shown address with "/" appended.
std::string authorPageAddress();

}  // namespace karbelon::window
