#pragma once

#include <QFont>
#include <QGroupBox>
#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "core/number_conventions.h"
#include "window/control_table.h"
#include "window/text_fit.h"

namespace karbelon::window::qt {

// Text sizes here are tenths of a point: a point is a pixel and a third at
// 96 DPI, too coarse a step when a single pixel of line height decides.
inline constexpr int textSizeSteps = 10;
// Below 6 points Hangul stops being legible; the window never goes smaller.
inline constexpr int smallestTextSize = 6 * textSizeSteps;

// The size of a font in tenths of a point, also when it was given in pixels.
int textSizeOf(const QFont& font, const QWidget& widget);
// The font at the given size in tenths of a point, all else kept.
QFont atTextSize(QFont font, int size);

// Which widget was made for a control of the table.
using ControlLookup = std::function<QWidget*(window::ControlId)>;

// Measures Form1's controls at a candidate size with Qt's own metrics:
// text layouts, so that fallback fonts (Hangul) count with their real
// heights and advances, and the style's own frame, margin and title rects.
class QtTextFitMeasure final : public window::TextFitMeasure {
  public:
    explicit QtTextFitMeasure(ControlLookup control);
    QtTextFitMeasure(const QtTextFitMeasure&) = delete;
    QtTextFitMeasure& operator=(const QtTextFitMeasure&) = delete;
    QtTextFitMeasure(QtTextFitMeasure&&) = delete;
    QtTextFitMeasure& operator=(QtTextFitMeasure&&) = delete;
    ~QtTextFitMeasure() override;

    [[nodiscard]] bool reportFits(const std::string& report, int size) const override;
    [[nodiscard]] bool captionFits(const window::ControlSpec& control, int size) const override;

  private:
    [[nodiscard]] bool frameFits(const QWidget& widget, const QFont& font) const;

    ControlLookup control_;
    // A hidden copy of the frame that takes each candidate font, because
    // styles work out a group box's title from the widget's own font.
    std::unique_ptr<QGroupBox> frameProbe_;
};

// Keeps the window's text at the size the shared rule chooses, from the
// desktop's font, and chooses again when the desktop's fonts or the screen's
// scale change. Only the size is set on the window, so the face and its
// fallbacks stay the desktop's.
class TextSizeKeeper final : public QObject {
    Q_OBJECT

  public:
    TextSizeKeeper(QWidget& window, ControlLookup control, NumberConventions conventions);

    // Chooses the size now and gives it to the window.
    void apply();

  signals:
    // After each choice, with the size in tenths of a point.
    void chosen(int size);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Chooses once the events now queued have been handled.
    void applySoon();
    void followScreen();

    QWidget& window_;
    QtTextFitMeasure measure_;
    NumberConventions conventions_;
    QTimer choiceTimer_;
    QMetaObject::Connection screenDpiChanged_;
};

}  // namespace karbelon::window::qt
