#include "form1_page.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <limits>

namespace karbelon::window::qt::testing {

namespace {

// The line a caption takes as drawn, Hangul fallback font included.
QSizeF captionLine(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(std::numeric_limits<int>::max());
    layout.endLayout();
    return {line.naturalTextWidth(), line.height()};
}

// The room a captioned control gives its caption: a button's inside its
// bevel, a frame's above its first control.
QRect captionRoom(QWidget* widget, ControlKind kind) {
    if (kind == ControlKind::Button) {
        QStyleOptionButton option;
        option.initFrom(widget);
        return widget->style()->subElementRect(QStyle::SE_PushButtonContents, &option, widget);
    }
    if (kind == ControlKind::Frame) {
        int top = widget->height();
        for (const QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            top = std::min(top, child->y());
        }
        return {0, 0, widget->width(), top};
    }
    return widget->contentsRect();
}

QString captionOf(QWidget* widget, ControlKind kind) {
    if (kind == ControlKind::Frame) {
        return qobject_cast<QGroupBox*>(widget)->title();
    }
    if (kind == ControlKind::Button) {
        return qobject_cast<QPushButton*>(widget)->text();
    }
    return qobject_cast<QLabel*>(widget)->text();
}

}  // namespace

QWidget* Form1Page::control(ControlId id) const {
    return window_.control(id);
}

QComboBox* Form1Page::spellBox() const {
    return qobject_cast<QComboBox*>(control(ControlId::Combo1));
}

QLineEdit* Form1Page::textBox(ControlId id) const {
    return qobject_cast<QLineEdit*>(control(id));
}

QPlainTextEdit* Form1Page::resultBox() const {
    return qobject_cast<QPlainTextEdit*>(control(ControlId::Text4));
}

QPushButton* Form1Page::button(ControlId id) const {
    return qobject_cast<QPushButton*>(control(id));
}

QLabel* Form1Page::label(ControlId id) const {
    return qobject_cast<QLabel*>(control(id));
}

void Form1Page::open() const {
    window_.show();
    window_.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window_));
}

void Form1Page::typeOver(ControlId box, const QString& text) const {
    QWidget* target = control(box);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(target, c.toLatin1());
        } else {
            // Hangul arrives from the input method as committed text.
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(target, &commit);
        }
    }
}

void Form1Page::press(ControlId id, Qt::Key key) const {
    QWidget* target = control(id);
    target->setFocus();
    QTest::keyClick(target, key);
}

void Form1Page::chooseSpell(const QString& name) const {
    QComboBox* box = spellBox();
    box->showPopup();
    QAbstractItemView* list = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QModelIndex entry = box->model()->index(box->findText(name), 0);
    QVERIFY(entry.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
}

void Form1Page::clickCalculate() const {
    QTest::mouseClick(button(ControlId::Command1), Qt::LeftButton);
}

void Form1Page::clickClose() const {
    QTest::mouseClick(button(ControlId::Command2), Qt::LeftButton);
}

void Form1Page::clickWebLabel() const {
    QTest::mouseClick(label(ControlId::Label6), Qt::LeftButton);
}

std::optional<SeenMessage> Form1Page::clickCalculateAndDismissMessage() const {
    std::optional<SeenMessage> seen;
    // The box runs its own event loop inside the click; the watcher looks
    // for it from there.
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || seen) {
            return;
        }
        seen = SeenMessage{box->text(), box->windowTitle(), box->icon(), box->standardButtons(),
                           box->buttons().size()};
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    watcher.start();
    clickCalculate();
    watcher.stop();
    return seen;
}

QString Form1Page::text(ControlId id) const {
    return QString::fromStdString(window_.controlText(id));
}

QStringList Form1Page::reportLines() const {
    QStringList lines;
    for (QTextBlock block = resultBox()->document()->begin(); block.isValid();
         block = block.next()) {
        lines << block.text();
    }
    return lines;
}

QString Form1Page::reportLineCutOff() const {
    QPlainTextEdit* box = resultBox();
    const int viewportHeight = box->viewport()->height();
    int number = 1;
    for (QTextBlock block = box->document()->begin(); block.isValid();
         block = block.next(), ++number) {
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock);
        const QRect rect = box->cursorRect(cursor);
        if (block.layout()->lineCount() != 1 || rect.top() < 0 || rect.bottom() >= viewportHeight) {
            return QStringLiteral("line %1 (%2 lines) spans %3..%4 of %5 px")
                .arg(number)
                .arg(block.layout()->lineCount())
                .arg(rect.top())
                .arg(rect.bottom())
                .arg(viewportHeight);
        }
    }
    return {};
}

QString Form1Page::captionCutOff() const {
    for (const window::ControlSpec& row : window::controlTable) {
        if (row.kind != ControlKind::Frame && row.kind != ControlKind::Label &&
            row.kind != ControlKind::Button) {
            continue;
        }
        QWidget* widget = control(row.id);
        const QString caption = captionOf(widget, row.kind);
        const QSizeF line = captionLine(caption, widget->font());
        const QRect room = captionRoom(widget, row.kind);
        if (line.width() > room.width() || line.height() > room.height()) {
            return QStringLiteral("%1 needs %2x%3 px in %4x%5")
                .arg(widget->objectName())
                .arg(line.width())
                .arg(line.height())
                .arg(room.width())
                .arg(room.height());
        }
    }
    return {};
}

QString Form1Page::focusedControl() const {
    for (QWidget* widget = QApplication::focusWidget(); widget != nullptr;
         widget = widget->parentWidget()) {
        for (const window::ControlSpec& row : window::controlTable) {
            if (widget == control(row.id)) {
                return widget->objectName();
            }
        }
    }
    return {};
}

QString Form1Page::tab() const {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return focusedControl();
}

}  // namespace karbelon::window::qt::testing
