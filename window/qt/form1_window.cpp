#include "form1_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <limits>
#include <utility>

#include "clickable_label.h"
#include "result_box.h"
#include "text_fit_qt.h"
#include "window/control_labels.h"

namespace karbelon::window::qt {

namespace {

// Qt's logical pixels are 96 DPI ones; high-DPI screens scale them.
constexpr int logicalDpi = 96;

int px(int twips) {
    return window::twipsToPixels(twips, logicalDpi);
}

QRect pixelRect(const window::TwipsRect& twips) {
    return {px(twips.left), px(twips.top), px(twips.width), px(twips.height)};
}

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* makeLabel(const ControlSpec& row, QWidget* parent) {
    auto* label = row.id == ControlId::Label6 ? new ClickableLabel(parent) : new QLabel(parent);
    // Captions are shown as written: no rich text, no mnemonics.
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(row.text));
    return label;
}

QComboBox* makeSpellBox(const ControlSpec& row, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    // Enter must never add the typed text to the list, and typed text must
    // stay as typed rather than be completed from the list.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    box->setEditText(toQString(row.text));
    return box;
}

QLineEdit* makeTextBox(const ControlSpec& row, QWidget* parent) {
    auto* box = new QLineEdit(toQString(row.text), parent);
    box->setMaxLength(std::numeric_limits<int>::max());  // Qt's default stops at 32767
    return box;
}

QPlainTextEdit* makeResultBox(const ControlSpec& row, QWidget* parent) {
    auto* box = new ResultBox(toQString(row.text), parent);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    return box;
}

QPushButton* makeButton(const ControlSpec& row, QWidget* parent) {
    auto* button = new QPushButton(toQString(row.text), parent);
    // Enter and Escape in a box must press neither button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// The multi-line box's text with "\r\n" between its paragraphs.
std::string resultBoxText(const QPlainTextEdit& box) {
    QString text = box.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text.toStdString();
}

}  // namespace

Form1Window::Form1Window(NumberConventions conventions, UrlOpener openUrl)
    : openUrl_(std::move(openUrl)), form_(*this, conventions) {
    setWindowTitle(toQString(window::windowCaption));
    resize(px(window::clientWidthTwips), px(window::clientHeightTwips));
    createControls();
    // The twips layout was drawn for a small dialog font: the window takes
    // the desktop's font at the largest size its controls can show whole.
    auto* textSize = new TextSizeKeeper(
        *this, [this](ControlId id) { return control(id); }, std::move(conventions));
    textSize->apply();
    connectEvents();
    form_.load();
    control(focusOrder().front())->setFocus();
    centreOnScreen();
}

void Form1Window::createControls() {
    for (const ControlSpec& row : window::controlTable) {
        QWidget* parent = row.container == window::Container::Frame1 ? control(ControlId::Frame1)
                                                                     : static_cast<QWidget*>(this);
        QWidget* widget = nullptr;
        switch (row.kind) {
            case ControlKind::Frame:
                widget = new QGroupBox(toQString(row.text), parent);
                break;
            case ControlKind::Label:
                widget = makeLabel(row, parent);
                break;
            case ControlKind::ComboBox:
                widget = makeSpellBox(row, parent);
                break;
            case ControlKind::TextBox:
                widget = makeTextBox(row, parent);
                break;
            case ControlKind::MultiLineTextBox:
                widget = makeResultBox(row, parent);
                break;
            case ControlKind::Button:
                widget = makeButton(row, parent);
                break;
        }
        widget->setObjectName(toQString(row.name));
        // Fixed places: with no layout, resizing the window moves nothing.
        widget->setGeometry(pixelRect(row.bounds));
        controls_[static_cast<std::size_t>(row.id)] = widget;
    }

    // Screen readers call each box by the name the other views give it; the
    // buddy ties the label to its box as well.
    for (const ControlSpec& row : window::controlTable) {
        if (const auto box = window::boxLabelledBy(row.id)) {
            static_cast<QLabel*>(control(row.id))->setBuddy(control(*box));
        }
        const std::string name = window::accessibleName(row.id);
        if (name.empty()) {
            continue;
        }
        control(row.id)->setAccessibleName(toQString(name));
        // On Linux Qt reads an editable combo by its text; its edit part
        // carries the name, as on Windows.
        if (row.kind == ControlKind::ComboBox) {
            static_cast<QComboBox*>(control(row.id))
                ->lineEdit()
                ->setAccessibleName(toQString(name));
        }
    }

    const auto order = window::focusOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(control(order[i - 1]), control(order[i]));
    }
}

void Form1Window::connectEvents() {
    connect(static_cast<QPushButton*>(control(ControlId::Command1)), &QPushButton::clicked, this,
            [this] { form_.command1Click(); });
    connect(static_cast<QPushButton*>(control(ControlId::Command2)), &QPushButton::clicked, this,
            [this] { form_.command2Click(); });
    connect(static_cast<ClickableLabel*>(control(ControlId::Label6)), &ClickableLabel::clicked,
            this, [this] { form_.label6Click(); });
}

void Form1Window::centreOnScreen() {
    // Window managers rarely centre a new window, and without one nothing
    // would; so the window asks for the centre itself.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
}

QWidget* Form1Window::control(ControlId id) const {
    return controls_[static_cast<std::size_t>(id)];
}

// The presenter reads and writes only the spell box and the text boxes.
std::string Form1Window::controlText(ControlId id) const {
    QWidget* widget = control(id);
    switch (window::controlSpec(id).kind) {
        case ControlKind::ComboBox:
            return static_cast<QComboBox*>(widget)->currentText().toStdString();
        case ControlKind::MultiLineTextBox:
            return resultBoxText(*static_cast<QPlainTextEdit*>(widget));
        default:
            return static_cast<QLineEdit*>(widget)->text().toStdString();
    }
}

void Form1Window::setControlText(ControlId id, std::string_view text) {
    QWidget* widget = control(id);
    const QString value = toQString(text);
    switch (window::controlSpec(id).kind) {
        case ControlKind::ComboBox:
            static_cast<QComboBox*>(widget)->setEditText(value);
            break;
        case ControlKind::MultiLineTextBox:
            // Qt reads "\r\n" as one paragraph break.
            static_cast<QPlainTextEdit*>(widget)->setPlainText(value);
            break;
        default:
            static_cast<QLineEdit*>(widget)->setText(value);
            break;
    }
}

void Form1Window::appendSpellItem(std::string_view name) {
    auto* box = static_cast<QComboBox*>(control(ControlId::Combo1));
    // QComboBox selects the first item added to an empty list, which would
    // replace the box's text; undo that so nothing is selected.
    const QString text = box->currentText();
    box->addItem(toQString(name));
    if (box->currentIndex() != -1) {
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
}

void Form1Window::showErrorMessage(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::Critical, toQString(caption), toQString(text), QMessageBox::Ok,
                    this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void Form1Window::unload() {
    close();
}

void Form1Window::openAuthorPage(std::string_view address) {
    openUrl_(QUrl(toQString(address)));
}

}  // namespace karbelon::window::qt
