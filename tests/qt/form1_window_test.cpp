#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "core/messages.h"
#include "core/report.h"
#include "form1_page.h"
#include "window/control_labels.h"
#include "window/qt/application.h"
#include "window/qt/locale_conventions.h"
#include "window/qt/text_fit_qt.h"
#include "window/text_fit.h"

using karbelon::NumberConventions;
using karbelon::window::ControlId;
using karbelon::window::ControlKind;
using karbelon::window::qt::Form1Window;
using karbelon::window::qt::QtTextFitMeasure;
using karbelon::window::qt::smallestTextSize;
using karbelon::window::qt::textSizeOf;
using karbelon::window::qt::textSizeSteps;
using karbelon::window::qt::testing::Form1Page;
using karbelon::window::qt::testing::SeenMessage;

Q_DECLARE_METATYPE(ControlId)

namespace {

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QStringList startReport{
    QStringLiteral("실제데미지 : 337,275"), QStringLiteral("파력무참진 적용시 : 674,550"),
    QStringLiteral("보호 적용시 : 168,637"), QStringLiteral("쿨타임 : 10초"),
    QStringLiteral("데미지 감소율 : 75%")};

const char* kindClass(ControlKind kind) {
    switch (kind) {
        case ControlKind::Frame:
            return "QGroupBox";
        case ControlKind::Label:
            return "QLabel";
        case ControlKind::ComboBox:
            return "QComboBox";
        case ControlKind::TextBox:
            return "QLineEdit";
        case ControlKind::MultiLineTextBox:
            return "QPlainTextEdit";
        case ControlKind::Button:
            return "QPushButton";
    }
    return "";
}

// The first control that is not at its table place and size, or "".
QString misplacedControl(const Form1Page& page) {
    const auto px = [](int twips) { return karbelon::window::twipsToPixels(twips, 96); };
    for (const auto& row : karbelon::window::controlTable) {
        const auto& b = row.bounds;
        if (page.control(row.id)->geometry() !=
            QRect(px(b.left), px(b.top), px(b.width), px(b.height))) {
            return q(row.name);
        }
    }
    return {};
}

// Gives the window a text size directly, as the fitting would.
void setWindowTextSize(QWidget& window, int size) {
    QFont sized;
    sized.setPointSizeF(static_cast<qreal>(size) / textSizeSteps);
    window.setFont(sized);
}

QFont withPointSize(QFont font, qreal points) {
    font.setPointSizeF(points);
    return font;
}

QFont withPixelSize(QFont font, int pixels) {
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

class Form1WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Layout
    void clientAreaIs398By318Pixels();
    void everyControlSitsAtItsTwipsPlaceInItsContainer();
    void resizingMovesNoControl();
    void opensCentredAndSizable();
    void startShowsThePresetTexts();
    void spellListIsFilledInTableOrderWithNothingSelected();
    void tabVisitsTheBoxesThenTheButtonsFromTheSpellBox();
    void labelsNameTheirBoxesForScreenReaders();
    void everyCaptionFitsItsControl();

    // Text size
    void textSizeIsTheLargestAtWhichAllShowsWhole_data();
    void textSizeIsTheLargestAtWhichAllShowsWhole();
    void fitMeasureAgreesWithTheResultBox();

    // Calculate
    void calculateAtStartShowsTheFiveLineReport();
    void reportLinesAllStayVisible();
    void calculatingTwiceLeavesFiveLines();
    void choosingASpellChangesNothingUntilCalculate();
    void emptyHealthShowsAnErrorBoxAndKeepsTheOldReport();
    void emptyDefenceTurnsIntoZeroThenTheNextClickCalculates();
    void unknownTypedSpellLeavesTheDamageLinesEmpty();
    void boxesTakeTextsBeyondQtsDefaultLimit();
    void enterAndEscapePressNoButton_data();
    void enterAndEscapePressNoButton();
    void enterInTheSpellBoxAddsNothingAndTypingIsNotCompleted();

    // Web label, close, application
    void webLabelOpensTheAuthorsPage();
    void closeButtonEndsTheProgram();
    void titleBarCloseEndsTheProgramWithoutAsking();
    void conventionsComeFromTheLocale_data();
    void conventionsComeFromTheLocale();
    void reportUsesTheWindowsConventions();
    void applicationCarriesNameVersionAndIcon();

    // Closes moc's slots section.
  private:  // NOLINT(readability-redundant-access-specifiers)
    void openWith(NumberConventions conventions);

    std::vector<QUrl> openedUrls_;
    std::unique_ptr<Form1Window> window_;
    std::unique_ptr<Form1Page> page_;
};

void Form1WindowTest::openWith(NumberConventions conventions) {
    page_.reset();
    window_ = std::make_unique<Form1Window>(
        std::move(conventions), [this](const QUrl& url) { openedUrls_.push_back(url); });
    page_ = std::make_unique<Form1Page>(*window_);
    page_->open();
}

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): a Qt Test slot
void Form1WindowTest::initTestCase() {
    // KARBELON_TEST_FONT_POINTS runs the whole suite under a desktop font of
    // that size, as a user who chose large text has.
    bool given = false;
    const double points = qEnvironmentVariable("KARBELON_TEST_FONT_POINTS").toDouble(&given);
    if (given && points > 0) {
        QApplication::setFont(withPointSize(QApplication::font(), points));
    }
}

void Form1WindowTest::init() {
    openedUrls_.clear();
    openWith(NumberConventions{});
}

void Form1WindowTest::cleanup() {
    page_.reset();
    window_.reset();
}

void Form1WindowTest::clientAreaIs398By318Pixels() {
    QCOMPARE(window_->size(), QSize(398, 318));
}

void Form1WindowTest::everyControlSitsAtItsTwipsPlaceInItsContainer() {
    QWidget* frame = page_->control(ControlId::Frame1);
    QCOMPARE(frame->geometry(), QRect(16, 8, 361, 129));
    QCOMPARE(qobject_cast<QGroupBox*>(frame)->title(), QStringLiteral("기본입력사항"));
    for (const auto& row : karbelon::window::controlTable) {
        QWidget* widget = page_->control(row.id);
        const auto& b = row.bounds;
        const auto px = [](int twips) { return karbelon::window::twipsToPixels(twips, 96); };
        const QRect expected(px(b.left), px(b.top), px(b.width), px(b.height));
        QVERIFY2(widget->geometry() == expected, row.name.data());
        QVERIFY2(widget->inherits(kindClass(row.kind)), row.name.data());
        QWidget* parent = row.container == karbelon::window::Container::Frame1
                              ? frame
                              : static_cast<QWidget*>(window_.get());
        QVERIFY2(widget->parentWidget() == parent, row.name.data());
        QVERIFY2(widget->isVisible(), row.name.data());
    }
}

void Form1WindowTest::resizingMovesNoControl() {
    std::vector<QRect> before;
    before.reserve(karbelon::window::controlTable.size());
    for (const auto& row : karbelon::window::controlTable) {
        before.push_back(page_->control(row.id)->geometry());
    }
    window_->resize(700, 500);
    QTest::qWait(20);
    QCOMPARE(window_->size(), QSize(700, 500));
    for (std::size_t i = 0; i < before.size(); ++i) {
        QCOMPARE(page_->control(karbelon::window::controlTable[i].id)->geometry(), before[i]);
    }
}

void Form1WindowTest::opensCentredAndSizable() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint offset = window_->geometry().center() - screen.center();
    // A scaled screen's logical size can be fractional (800 px at 1.5 is
    // 533.3): a pixel off on each axis is still the centre.
    QVERIFY2(std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1, "window not centred");
    QCOMPARE(window_->windowType(), Qt::Window);
    QVERIFY(!window_->windowFlags().testFlag(Qt::CustomizeWindowHint));  // all standard boxes
    QVERIFY(window_->minimumSize() != window_->maximumSize());
    QCOMPARE(window_->windowTitle(), QStringLiteral("카르벨론 데미지 계산기 by 모래여울"));
}

void Form1WindowTest::startShowsThePresetTexts() {
    QCOMPARE(page_->spellBox()->currentText(), QStringLiteral("카르벨론"));
    QCOMPARE(page_->textBox(ControlId::Text1)->text(), QStringLiteral("650000"));
    QCOMPARE(page_->textBox(ControlId::Text2)->text(), QStringLiteral("900000"));
    QCOMPARE(page_->textBox(ControlId::Text3)->text(), QStringLiteral("-100"));
    QCOMPARE(page_->resultBox()->toPlainText(), QString());
    QVERIFY(!page_->resultBox()->isReadOnly());
    QCOMPARE(page_->resultBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(page_->resultBox()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(page_->label(ControlId::Label6)->text(), QStringLiteral("http://orvane.example"));
    QCOMPARE(page_->label(ControlId::Label5)->text(), QStringLiteral("Made by Orvane"));
    QCOMPARE(page_->button(ControlId::Command1)->text(), QStringLiteral("계산하기"));
    QCOMPARE(page_->button(ControlId::Command2)->text(), QStringLiteral("닫기"));
    QCOMPARE(page_->focusedControl(), QStringLiteral("Combo1"));
}

void Form1WindowTest::spellListIsFilledInTableOrderWithNothingSelected() {
    QComboBox* box = page_->spellBox();
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    QCOMPARE(items, (QStringList{"카르벨론", "지옥염화", "지옥진화", "지옥멸화", "지옥겁화",
                                 "삼매진화", "삼매멸화", "삼매겁화"}));
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(box->currentText(), QStringLiteral("카르벨론"));
    QVERIFY(box->isEditable());
}

void Form1WindowTest::tabVisitsTheBoxesThenTheButtonsFromTheSpellBox() {
    QCOMPARE(page_->focusedControl(), QStringLiteral("Combo1"));
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        visited << page_->tab();
    }
    QCOMPARE(visited,
             (QStringList{"Text1", "Text2", "Text3", "Text4", "Command1", "Command2", "Combo1"}));
    for (const auto id : {ControlId::Frame1, ControlId::Label1, ControlId::Label6}) {
        QCOMPARE(page_->control(id)->focusPolicy(), Qt::NoFocus);
    }
}

void Form1WindowTest::labelsNameTheirBoxesForScreenReaders() {
    int boxes = 0;
    for (const auto& row : karbelon::window::controlTable) {
        const std::string name = karbelon::window::accessibleName(row.id);
        if (name.empty()) {
            continue;
        }
        ++boxes;
        QWidget* widget = page_->control(row.id);
        // An editable combo is read by its text on Linux; its edit part by name.
        auto* combo = qobject_cast<QComboBox*>(widget);
        QAccessibleInterface* named =
            QAccessible::queryAccessibleInterface(combo != nullptr ? combo->lineEdit() : widget);
        QVERIFY(named != nullptr);
        QCOMPARE(named->text(QAccessible::Name), q(name));
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(widget);
        const auto label = karbelon::window::labelOf(row.id);
        if (!label) {
            continue;
        }
        QCOMPARE(page_->label(*label)->buddy(), page_->control(row.id));
        // The frame's caption labels each box as well; the buddy must be there.
        const auto relations = box->relations(QAccessible::Label);
        const bool related = std::any_of(relations.begin(), relations.end(), [&](const auto& r) {
            return r.first->object() == page_->label(*label);
        });
        QVERIFY2(related, qPrintable(q(row.name)));
    }
    QCOMPARE(boxes, 5);
}

void Form1WindowTest::everyCaptionFitsItsControl() {
    for (const auto& row : karbelon::window::controlTable) {
        QWidget* widget = page_->control(row.id);
        if (row.kind != ControlKind::Label && row.kind != ControlKind::Button) {
            continue;
        }
        const QFontMetrics metrics = widget->fontMetrics();
        const QRect text = metrics.boundingRect(q(row.text));
        QVERIFY2(text.width() <= widget->contentsRect().width() &&
                     metrics.height() <= widget->contentsRect().height(),
                 row.name.data());
    }
}

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): a Qt Test slot
void Form1WindowTest::textSizeIsTheLargestAtWhichAllShowsWhole_data() {
    QTest::addColumn<QFont>("desktopFont");
    const QFont desktop = QApplication::font();
    QTest::newRow("the desktop's font") << desktop;
    QTest::newRow("11 points") << withPointSize(desktop, 11);
    QTest::newRow("12 points") << withPointSize(desktop, 12);
    QTest::newRow("16 pixels") << withPixelSize(desktop, 16);
    QTest::newRow("5 points, kept") << withPointSize(desktop, 5);
}

void Form1WindowTest::textSizeIsTheLargestAtWhichAllShowsWhole() {
    QFETCH(QFont, desktopFont);
    const QFont original = QApplication::font();
    const auto restore = qScopeGuard([&original] { QApplication::setFont(original); });
    if (desktopFont != original) {
        auto* keeper = window_->findChild<karbelon::window::qt::TextSizeKeeper*>();
        QVERIFY(keeper != nullptr);
        QSignalSpy chosen(keeper, &karbelon::window::qt::TextSizeKeeper::chosen);
        QApplication::setFont(desktopFont);
        QVERIFY(chosen.wait());
    }
    page_->clickCalculate();

    const int desktopSize = textSizeOf(desktopFont, *window_);
    const int chosen = textSizeOf(window_->font(), *window_);
    qInfo("%s: %s %.1f pt chosen for %.1f pt (%s)", QTest::currentDataTag(),
          qPrintable(window_->font().family()), chosen / double(textSizeSteps),
          desktopSize / double(textSizeSteps),
          qPrintable(QFontInfo(page_->resultBox()->font()).family()));
    QCOMPARE(window_->font().family(), desktopFont.family());
    if (desktopSize < smallestTextSize) {
        QCOMPARE(chosen, desktopSize);
        return;
    }
    QVERIFY(chosen <= desktopSize && chosen >= smallestTextSize);
    QVERIFY2(page_->reportLineCutOff().isEmpty(), qPrintable(page_->reportLineCutOff()));
    QVERIFY2(page_->captionCutOff().isEmpty(), qPrintable(page_->captionCutOff()));
    QVERIFY2(misplacedControl(*page_).isEmpty(), qPrintable(misplacedControl(*page_)));
    if (chosen < desktopSize) {
        // A tenth of a point more and something no longer shows whole.
        setWindowTextSize(*window_, chosen + 1);
        const QString cutOff = page_->reportLineCutOff() + page_->captionCutOff();
        qInfo("a tenth of a point more: %s", qPrintable(cutOff));
        QVERIFY(!cutOff.isEmpty());
        QVERIFY2(misplacedControl(*page_).isEmpty(), qPrintable(misplacedControl(*page_)));
    }
}

void Form1WindowTest::fitMeasureAgreesWithTheResultBox() {
    // Only the box itself says what the user sees; the measure, which works
    // before anything is drawn, must agree with it at every size.
    page_->clickCalculate();
    const QtTextFitMeasure measure([this](ControlId id) { return window_->control(id); });
    const std::string report = karbelon::window::sampleReport(NumberConventions{});
    for (int size = smallestTextSize; size <= 14 * textSizeSteps; ++size) {
        setWindowTextSize(*window_, size);
        const QString cutOff = page_->reportLineCutOff();
        QVERIFY2(measure.reportFits(report, size) == cutOff.isEmpty(),
                 qPrintable(QStringLiteral("%1 tenths of a point: %2").arg(size).arg(cutOff)));
    }
}

void Form1WindowTest::calculateAtStartShowsTheFiveLineReport() {
    page_->clickCalculate();
    QCOMPARE(page_->reportLines(), startReport);
    // Read back, the box gives the report exactly as written.
    QCOMPARE(page_->text(ControlId::Text4), startReport.join(QStringLiteral("\r\n")));
}

void Form1WindowTest::reportLinesAllStayVisible() {
    page_->clickCalculate();
    QPlainTextEdit* box = page_->resultBox();
    const int viewportHeight = box->viewport()->height();
    QTextCursor cursor(box->document());
    for (int line = 0; line < 5; ++line) {
        cursor.movePosition(QTextCursor::EndOfBlock);
        const QRect rect = box->cursorRect(cursor);
        QVERIFY2(rect.top() >= 0 && rect.bottom() < viewportHeight,
                 qPrintable(QStringLiteral("line %1 spans %2..%3 of %4 px")
                                .arg(line + 1)
                                .arg(rect.top())
                                .arg(rect.bottom())
                                .arg(viewportHeight)));
        cursor.movePosition(QTextCursor::NextBlock);
    }
}

void Form1WindowTest::calculatingTwiceLeavesFiveLines() {
    page_->clickCalculate();
    page_->clickCalculate();
    QCOMPARE(page_->reportLines(), startReport);
}

void Form1WindowTest::choosingASpellChangesNothingUntilCalculate() {
    page_->clickCalculate();
    page_->chooseSpell(QStringLiteral("지옥염화"));
    QCOMPARE(page_->spellBox()->currentText(), QStringLiteral("지옥염화"));
    QCOMPARE(page_->reportLines(), startReport);
    page_->clickCalculate();
    QCOMPARE(page_->reportLines().at(3), QStringLiteral("쿨타임 : 9.375초"));
}

void Form1WindowTest::emptyHealthShowsAnErrorBoxAndKeepsTheOldReport() {
    page_->clickCalculate();
    page_->typeOver(ControlId::Text1, {});
    const std::optional<SeenMessage> seen = page_->clickCalculateAndDismissMessage();
    QVERIFY(seen.has_value());
    QCOMPARE(seen->text, QStringLiteral("체력을 입력하여 주십시요."));
    QCOMPARE(seen->caption, QStringLiteral("Karbelon"));
    QCOMPARE(seen->icon, QMessageBox::Critical);
    QCOMPARE(seen->buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen->buttonCount, 1);
    QCOMPARE(page_->reportLines(), startReport);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void Form1WindowTest::emptyDefenceTurnsIntoZeroThenTheNextClickCalculates() {
    page_->typeOver(ControlId::Text3, {});
    QVERIFY(!page_->clickCalculateAndDismissMessage().has_value());
    QCOMPARE(page_->textBox(ControlId::Text3)->text(), QStringLiteral("0"));
    QCOMPARE(page_->resultBox()->toPlainText(), QString());
    page_->clickCalculate();
    QCOMPARE(page_->reportLines(),
             (QStringList{"실제데미지 : 1,349,100", "파력무참진 적용시 : 2,698,200",
                          "보호 적용시 : 674,550", "쿨타임 : 10초", "데미지 감소율 : 0%"}));
}

void Form1WindowTest::unknownTypedSpellLeavesTheDamageLinesEmpty() {
    page_->typeOver(ControlId::Combo1, QStringLiteral("지옥"));
    QVERIFY(!page_->clickCalculateAndDismissMessage().has_value());
    QCOMPARE(page_->reportLines(),
             (QStringList{"실제데미지 : ", "파력무참진 적용시 : ", "보호 적용시 : ", "쿨타임 : 0초",
                          "데미지 감소율 : 75%"}));
}

void Form1WindowTest::boxesTakeTextsBeyondQtsDefaultLimit() {
    const QString digits(40000, QLatin1Char('9'));
    for (QLineEdit* box : {page_->spellBox()->lineEdit(), page_->textBox(ControlId::Text1),
                           page_->textBox(ControlId::Text2), page_->textBox(ControlId::Text3)}) {
        box->selectAll();
        box->insert(digits);  // the path a paste takes
        QCOMPARE(box->text().size(), digits.size());
    }
    page_->spellBox()->setEditText(QStringLiteral("카르벨론"));
    page_->textBox(ControlId::Text3)->setText(QStringLiteral("0"));
    // All 40000 digits reach the calculation: a mana that large is refused.
    const std::optional<SeenMessage> seen = page_->clickCalculateAndDismissMessage();
    QVERIFY(seen.has_value());
    QCOMPARE(seen->text, q(karbelon::messages::manaTooLarge));
}

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): a Qt Test data slot
void Form1WindowTest::enterAndEscapePressNoButton_data() {
    QTest::addColumn<ControlId>("box");
    QTest::addColumn<int>("key");
    for (const auto& [name, id] :
         {std::pair{"Combo1", ControlId::Combo1}, std::pair{"Text1", ControlId::Text1},
          std::pair{"Text2", ControlId::Text2}, std::pair{"Text3", ControlId::Text3},
          std::pair{"Text4", ControlId::Text4}}) {
        QTest::addRow("%s Return", name) << id << int{Qt::Key_Return};
        QTest::addRow("%s Enter", name) << id << int{Qt::Key_Enter};
        QTest::addRow("%s Escape", name) << id << int{Qt::Key_Escape};
    }
}

void Form1WindowTest::enterAndEscapePressNoButton() {
    QFETCH(ControlId, box);
    QFETCH(int, key);
    QSignalSpy calculate(page_->button(ControlId::Command1), &QPushButton::clicked);
    QSignalSpy close(page_->button(ControlId::Command2), &QPushButton::clicked);
    QVERIFY(!page_->button(ControlId::Command1)->isDefault());
    QVERIFY(!page_->button(ControlId::Command2)->isDefault());
    page_->press(box, static_cast<Qt::Key>(key));
    QTest::qWait(10);
    QCOMPARE(calculate.count(), 0);
    QCOMPARE(close.count(), 0);
    QVERIFY(window_->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(page_->resultBox()->toPlainText().trimmed().isEmpty());
}

void Form1WindowTest::enterInTheSpellBoxAddsNothingAndTypingIsNotCompleted() {
    QComboBox* box = page_->spellBox();
    for (const QString& typed :
         {QStringLiteral("삼매"), QStringLiteral("지옥"), QStringLiteral("카")}) {
        page_->typeOver(ControlId::Combo1, typed);
        QCOMPARE(box->currentText(), typed);
        page_->press(ControlId::Combo1, Qt::Key_Return);
        QCOMPARE(box->count(), 8);
        QCOMPARE(box->currentText(), typed);
    }
    QCOMPARE(box->findText(QStringLiteral("삼매")), -1);
}

void Form1WindowTest::webLabelOpensTheAuthorsPage() {
    page_->clickWebLabel();
    QCOMPARE(openedUrls_.size(), std::size_t{1});
    QCOMPARE(openedUrls_.front(), QUrl(QStringLiteral("http://orvane.example/")));
    QVERIFY(window_->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

namespace {

// Runs the application's event loop, as main() does, with the given action
// queued; returns exec()'s result, or -1 if the program did not end.
int runUntilTheProgramEnds(const std::function<void()>& action) {
    QTimer act;
    act.setSingleShot(true);
    QObject::connect(&act, &QTimer::timeout, action);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] { QApplication::exit(-1); });
    act.start(0);
    deadline.start(5000);
    return QApplication::exec();
}

}  // namespace

void Form1WindowTest::closeButtonEndsTheProgram() {
    QCOMPARE(runUntilTheProgramEnds([this] { page_->clickClose(); }), 0);
    QVERIFY(!window_->isVisible());
}

void Form1WindowTest::titleBarCloseEndsTheProgramWithoutAsking() {
    page_->clickCalculate();
    // What the title bar's close box asks for.
    QCOMPARE(runUntilTheProgramEnds([this] { window_->windowHandle()->close(); }), 0);
    QVERIFY(!window_->isVisible());
}

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): a Qt Test data slot
void Form1WindowTest::conventionsComeFromTheLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("thousands");
    QTest::newRow("ko_KR") << "ko_KR"
                           << "."
                           << ",";
    QTest::newRow("de_DE") << "de_DE"
                           << ","
                           << ".";
    QTest::newRow("de_CH") << "de_CH"
                           << "."
                           << "’";
    QTest::newRow("C") << "C"
                       << "."
                       << ",";
}

// NOLINTNEXTLINE(readability-convert-member-functions-to-static): a Qt Test slot
void Form1WindowTest::conventionsComeFromTheLocale() {
    QFETCH(QString, locale);
    QFETCH(QString, decimal);
    QFETCH(QString, thousands);
    const NumberConventions conventions = karbelon::window::qt::conventionsFrom(QLocale(locale));
    QCOMPARE(QString::fromStdString(conventions.decimalSeparator), decimal);
    QCOMPARE(QString::fromStdString(conventions.thousandsSeparator), thousands);
}

void Form1WindowTest::reportUsesTheWindowsConventions() {
    // French groups with a narrow no-break space; it must survive the box.
    const NumberConventions french =
        karbelon::window::qt::conventionsFrom(QLocale(QStringLiteral("fr_FR")));
    openWith(french);
    page_->typeOver(ControlId::Text2, QStringLiteral("900000,0"));
    page_->clickCalculate();
    const karbelon::DamageFigures figures{1349100, 75, 337275, 10};
    QCOMPARE(page_->text(ControlId::Text4), QString::fromStdString(buildReport(figures, french)));
    QCOMPARE(page_->reportLines().at(0), QStringLiteral("실제데미지 : 337\u202F275"));
}

void Form1WindowTest::applicationCarriesNameVersionAndIcon() {
    karbelon::window::qt::configureApplication();
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Karbelon"));
    QCOMPARE(QApplication::applicationVersion(), QStringLiteral("1.0.0.0"));
    const QIcon icon = karbelon::window::qt::applicationIcon();
    QCOMPARE(icon.availableSizes(),
             (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
    const QImage small = icon.pixmap(16, 16).toImage();
    QVERIFY(small.hasAlphaChannel());
    QCOMPARE(qAlpha(small.pixel(0, 0)), 0);    // the corner lies outside the disc
    QCOMPARE(qAlpha(small.pixel(8, 8)), 255);  // the flame at the centre
    QCOMPARE(window_->windowIcon().availableSizes(), icon.availableSizes());
}

QTEST_MAIN(Form1WindowTest)
#include "form1_window_test.moc"
