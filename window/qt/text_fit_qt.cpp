#include "text_fit_qt.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTextLayout>
#include <algorithm>
#include <limits>
#include <utility>

#include "result_box.h"

namespace karbelon::window::qt {

namespace {

constexpr int pointsPerInch = 72;

// Exposes the style option that QGroupBox builds for its own painting.
class FrameProbe final : public QGroupBox {
  public:
    using QGroupBox::initStyleOption;
};

// Width and height of a text laid out on one line as widgets draw it:
// glyphs the font lacks come from fallback fonts, whose ascent and descent
// then make the line taller.
QSizeF oneLineSize(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(std::numeric_limits<qreal>::max() / 4);  // one line, never wrapped
    layout.endLayout();
    return {line.naturalTextWidth(), line.height()};
}

bool fitsIn(const QSizeF& text, const QRect& room) {
    return text.width() <= room.width() && text.height() <= room.height();
}

// The top of the highest control inside a frame: its title must end above.
int firstChildTop(const QWidget& frame) {
    int top = frame.height();
    for (const QObject* child : frame.children()) {
        if (const auto* widget = qobject_cast<const QWidget*>(child)) {
            top = std::min(top, widget->geometry().top());
        }
    }
    return top;
}

bool labelFits(const QWidget& widget, const QFont& font) {
    const auto& label = static_cast<const QLabel&>(widget);
    const int margin = label.margin();
    const QRect room = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    return fitsIn(oneLineSize(label.text(), font), room);
}

bool buttonFits(const QWidget& widget, const QFont& font) {
    const auto& button = static_cast<const QPushButton&>(widget);
    QStyleOptionButton option;
    option.initFrom(&button);
    option.fontMetrics = QFontMetrics(font);
    option.text = button.text();
    if (button.autoDefault()) {
        option.features |= QStyleOptionButton::AutoDefaultButton;
    }
    // The caption is drawn inside the bevel, in the style's contents rect.
    const QRect room =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    return fitsIn(oneLineSize(button.text(), font), room);
}

}  // namespace

int textSizeOf(const QFont& font, const QWidget& widget) {
    if (font.pointSizeF() > 0) {
        return qRound(font.pointSizeF() * textSizeSteps);
    }
    return font.pixelSize() * pointsPerInch * textSizeSteps / std::max(1, widget.logicalDpiY());
}

QFont atTextSize(QFont font, int size) {
    font.setPointSizeF(static_cast<qreal>(size) / textSizeSteps);
    return font;
}

QtTextFitMeasure::QtTextFitMeasure(ControlLookup control)
    : control_(std::move(control)), frameProbe_(std::make_unique<FrameProbe>()) {}

QtTextFitMeasure::~QtTextFitMeasure() = default;

bool QtTextFitMeasure::reportFits(const std::string& report, int size) const {
    const auto* box = qobject_cast<const QPlainTextEdit*>(control_(ControlId::Text4));
    if (box == nullptr) {
        return false;
    }
    const QFont font = atTextSize(box->font(), size);
    // The box lays its paragraphs out one under the other from the document
    // margin down, each line at its full height with leading, wrapped to the
    // viewport's width less the margins. With no scroll bars the viewport is
    // the frame's contents less the padding, known before the window is
    // first shown (the viewport's own geometry is not).
    const QRect viewport = box->contentsRect().marginsRemoved(ResultBox::textPadding);
    const qreal margin = box->document()->documentMargin();
    const QTextOption option = box->document()->defaultTextOption();
    QString text = QString::fromStdString(report);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    qreal bottom = margin;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        int lines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(viewport.width() - 2 * margin);
            line.setPosition(QPointF(margin, bottom));
            bottom += line.height();
            ++lines;
        }
        layout.endLayout();
        if (lines > 1) {
            return false;  // a wrapped line pushes the last one out
        }
    }
    return bottom <= viewport.height();
}

bool QtTextFitMeasure::captionFits(const window::ControlSpec& control, int size) const {
    const QWidget* widget = control_(control.id);
    if (widget == nullptr) {
        return false;
    }
    const QFont font = atTextSize(widget->font(), size);
    switch (control.kind) {
        case ControlKind::Label:
            return labelFits(*widget, font);
        case ControlKind::Button:
            return buttonFits(*widget, font);
        case ControlKind::Frame:
            return frameFits(*widget, font);
        case ControlKind::ComboBox:
        case ControlKind::TextBox:
        case ControlKind::MultiLineTextBox:
            break;
    }
    return true;  // boxes have no caption
}

bool QtTextFitMeasure::frameFits(const QWidget& widget, const QFont& font) const {
    const auto& frame = static_cast<const QGroupBox&>(widget);
    auto& probe = static_cast<FrameProbe&>(*frameProbe_);
    probe.setStyle(frame.style());
    probe.setTitle(frame.title());
    probe.setAlignment(static_cast<int>(frame.alignment()));
    probe.setFlat(frame.isFlat());
    probe.resize(frame.size());
    probe.setFont(font);
    QStyleOptionGroupBox option;
    probe.initStyleOption(&option);
    const QRect title = probe.style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                      QStyle::SC_GroupBoxLabel, &probe);
    // The style sizes the title with the main font; a Hangul fallback may
    // need a taller line.
    const QSizeF text = oneLineSize(frame.title(), font);
    const qreal height = std::max<qreal>(title.height(), text.height());
    return title.left() >= 0 && title.right() < frame.width() && text.width() <= title.width() &&
           title.top() + height <= firstChildTop(frame);
}

TextSizeKeeper::TextSizeKeeper(QWidget& window, ControlLookup control,
                               NumberConventions conventions)
    : QObject(&window),
      window_(window),
      measure_(std::move(control)),
      conventions_(std::move(conventions)) {
    // Several change events come at once (every widget gets one): a
    // zero-time single shot waits until they have all been handled.
    choiceTimer_.setSingleShot(true);
    choiceTimer_.setInterval(0);
    connect(&choiceTimer_, &QTimer::timeout, this, &TextSizeKeeper::apply);
    window_.installEventFilter(this);
}

void TextSizeKeeper::apply() {
    choiceTimer_.stop();
    window_.ensurePolished();
    const int systemSize = textSizeOf(QApplication::font(&window_), window_);
    const int size = window::chooseTextSize(measure_, conventions_, systemSize, smallestTextSize);
    // Only the size is set: the family, and with it the fallbacks, stay
    // whatever the desktop's font is, also after it changes.
    QFont sized;
    sized.setPointSizeF(static_cast<qreal>(size) / textSizeSteps);
    window_.setFont(sized);
    emit chosen(size);
}

void TextSizeKeeper::applySoon() {
    choiceTimer_.start();
}

void TextSizeKeeper::followScreen() {
    disconnect(screenDpiChanged_);
    if (const QScreen* screen = window_.screen()) {
        screenDpiChanged_ =
            connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this] { applySoon(); });
    }
}

bool TextSizeKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        switch (event->type()) {
            case QEvent::Show:
            case QEvent::ScreenChangeInternal:
                followScreen();
                applySoon();
                break;
            case QEvent::ApplicationFontChange:
            case QEvent::StyleChange:
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
            case QEvent::DevicePixelRatioChange:
#endif
                applySoon();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace karbelon::window::qt
