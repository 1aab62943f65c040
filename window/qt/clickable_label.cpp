#include "clickable_label.h"

#include <QMouseEvent>

namespace karbelon::window::qt {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    // Releasing outside the label abandons the click, as with a button.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace karbelon::window::qt
