#include "result_box.h"

namespace karbelon::window::qt {

ResultBox::ResultBox(const QString& text, QWidget* parent) : QPlainTextEdit(text, parent) {
    // Qt's document margin pads all four sides alike, so the sides are
    // padded outside the viewport instead, painted in the box's colour.
    document()->setDocumentMargin(0);
    setViewportMargins(textPadding);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

}  // namespace karbelon::window::qt
