#pragma once

#include <QLabel>

namespace karbelon::window::qt {

// A plain label that reports a left-button click, since QLabel has no click
// signal of its own.
class ClickableLabel final : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace karbelon::window::qt
