#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <optional>

#include "window/control_table.h"
#include "window/qt/form1_window.h"

namespace karbelon::window::qt::testing {

// What a message box showed before the user pressed its button.
struct SeenMessage {
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    qsizetype buttonCount = 0;
};

// The window as a user meets it: find a control, type, press, click, read.
class Form1Page {
  public:
    explicit Form1Page(Form1Window& window) : window_(window) {}

    [[nodiscard]] Form1Window& window() const { return window_; }
    [[nodiscard]] QWidget* control(window::ControlId id) const;
    [[nodiscard]] QComboBox* spellBox() const;
    [[nodiscard]] QLineEdit* textBox(window::ControlId id) const;
    [[nodiscard]] QPlainTextEdit* resultBox() const;
    [[nodiscard]] QPushButton* button(window::ControlId id) const;
    [[nodiscard]] QLabel* label(window::ControlId id) const;

    // Shows the window and waits until it has the keyboard.
    void open() const;

    // Selects the whole text of a box and types over it (empty: erases it).
    void typeOver(window::ControlId box, const QString& text) const;
    void press(window::ControlId id, Qt::Key key) const;
    // Opens the spell list and clicks the named entry.
    void chooseSpell(const QString& name) const;

    void clickCalculate() const;
    void clickClose() const;
    void clickWebLabel() const;
    // Clicks calculate and, if a message box comes up, notes what it shows
    // and presses its OK button.
    [[nodiscard]] std::optional<SeenMessage> clickCalculateAndDismissMessage() const;

    [[nodiscard]] QString text(window::ControlId id) const;
    [[nodiscard]] QStringList reportLines() const;
    // What the user cannot read whole: the first report line that is
    // wrapped or reaches past the result box's viewport, or the first
    // caption wider or taller than the room its control gives it; empty
    // when everything shows whole.
    [[nodiscard]] QString reportLineCutOff() const;
    [[nodiscard]] QString captionCutOff() const;
    // The table name of the control holding the keyboard focus.
    [[nodiscard]] QString focusedControl() const;
    // Presses Tab on the focused control and says where the focus went.
    QString tab() const;

  private:
    Form1Window& window_;
};

}  // namespace karbelon::window::qt::testing
