#pragma once

#include <QMargins>
#include <QPlainTextEdit>
#include <QString>

namespace karbelon::window::qt {

// The multi-line box of the report. Its text keeps 2 px from the sides but
// none from the top and bottom, as a classic edit box does: the five report
// lines need every pixel of its height.
class ResultBox final : public QPlainTextEdit {
  public:
    static constexpr QMargins textPadding{2, 0, 2, 0};

    ResultBox(const QString& text, QWidget* parent);
};

}  // namespace karbelon::window::qt
