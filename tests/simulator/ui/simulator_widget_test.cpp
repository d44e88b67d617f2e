// The terminal picture: clicks on the painted keys drive the engine, clicks off them drag the window,
// pressed keys show until the button comes up, and the display shows the highlight bar where the engine
// has it. Coordinates are worked out from the keypad's layout: upper keys 32x20 at 30+45c, 235+28r;
// lower keys 23x15 at 33+31c, 347+23r; each image one pixel wider and taller than its key.
#include <QTest>

#include "simulator/ui/SimulatorWidget.h"
#include "support/UiTestSupport.h"
#include "template/Defaults.h"

using namespace k52;
using k52::test::CountPixels;
using k52::test::ScriptedMessages;
using k52::test::ShowsPicture;

namespace {

const QPoint kUp(100, 352);      // key 15, origin 95,347
const QPoint kDown(131, 352);    // key 16, origin 126,347
const QPoint kEsc(100, 375);     // key 19, origin 95,370
const QPoint kDigit3(130, 300);  // key 9, origin 120,291
const QPoint kDigit5(85, 270);   // key 5, origin 75,263

constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kWhite = qRgb(255, 255, 255);

// Display row r's band under the highlight bar: x 26..145, y 53+10r .. 62+10r.
QRect BarBand(int r) {
    return QRect(26, 53 + 10 * r, 120, 10);
}

}  // namespace

class SimulatorWidgetTest : public QObject {
    Q_OBJECT

    struct Fixture {
        ApplicationTemplate tmpl{};
        ScriptedMessages messages;
        FixedLocalClock clock{LocalTime{2024, 12, 31, 23, 59, 0}};
        QWidget window{nullptr, Qt::Window | Qt::FramelessWindowHint};
        SimulatorWidget* widget;

        Fixture() {
            tmpl = StartupTemplate();
            window.setFixedSize(180, 400);
            window.move(300, 50);
            widget = new SimulatorWidget(tmpl, messages, &window, &clock);
            window.show();
        }
        TerminalSimulator& sim() { return widget->simulator(); }
        void click(QPoint p) { QTest::mouseClick(widget, Qt::LeftButton, {}, p); }
    };

  private slots:
    // First, while no image is decoded yet: k52gen has the first picture's images (the case and the
    // twenty released keys) decoded on a worker as it starts, and they must be the very pixels that a
    // decoding on demand gives.
    void imagesDecodedOnAWorkerAreTheOnesDrawn() {
        PrefetchFirstPictureImages();
        std::vector<int> ids = {kCaseImageId};
        for (int k = 1; k <= kKeyCount; ++k) ids.push_back(KeyReleasedImageId(k));
        for (int id : ids) {
            const QImage drawn = TerminalImage(id).toImage();
            QVERIFY(!drawn.isNull());
            QCOMPARE(drawn, QPixmap(QStringLiteral(":/images/%1.png").arg(id)).toImage());
        }
        // None of them was left to be decoded on demand.
        const std::vector<std::pair<int, QImage>> decoded = DecodeFirstPictureImages();
        QCOMPARE(decoded.size(), ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i) {
            QCOMPARE(decoded[i].first, ids[i]);
            QVERIFY(!decoded[i].second.isNull());
        }
    }

    void clicksOnKeysDriveTheEngine() {
        Fixture f;
        QCOMPARE(f.sim().simState(), SimState::MainMenu);
        QCOMPARE(f.sim().engineState().highlightRow, 1);
        f.click(kUp);
        QCOMPARE(f.sim().engineState().highlightRow, 3);
        f.click(kDown);
        QCOMPARE(f.sim().engineState().highlightRow, 1);
        f.click(kDigit3);
        QCOMPARE(f.sim().simState(), SimState::SystemTools);
        f.click(kEsc);
        QCOMPARE(f.sim().simState(), SimState::MainMenu);
        QCOMPARE(f.sim().engineState().highlightRow, 3);
        QVERIFY(f.messages.shown.empty());
    }

    void keyEdgesAndGapsStartADragNotAKey() {
        struct Case {
            QPoint at;
            bool key;
        } cases[] = {
            {{31, 236}, true},   // inside key 1, at its top left
            {{60, 253}, true},   // key 1's last pixel of its hit area
            {{61, 240}, false},  // key 1's last image column
            {{40, 254}, false},  // key 1's last image row
            {{68, 240}, false},  // the gap between keys 1 and 2
            {{33, 348}, true},   // inside key 13 (BS), at its left edge
            {{55, 350}, false},  // key 13's last image column
            {{60, 350}, false},  // the gap between keys 13 and 14
            {{90, 200}, false},  // the case under the display
        };
        for (const Case& c : cases) {
            Fixture f;
            const SimState before = f.sim().simState();
            const int row = f.sim().engineState().highlightRow;
            QTest::mousePress(f.widget, Qt::LeftButton, {}, c.at);
            QCOMPARE(f.widget->dragging(), !c.key);
            QCOMPARE(f.widget->keypad().keyDown(), c.key);
            QCOMPARE(f.widget->dragOutline()->isVisible(), !c.key);
            QTest::mouseRelease(f.widget, Qt::LeftButton, {}, c.at);
            if (!c.key) {
                QCOMPARE(f.sim().simState(), before);
                QCOMPARE(f.sim().engineState().highlightRow, row);
            }
            QVERIFY(!f.widget->dragging());
            QVERIFY(!f.widget->dragOutline()->isVisible());
        }
    }

    void dragShowsAnOutlineAndMovesAtRelease() {
        Fixture f;
        QTest::mousePress(f.widget, Qt::LeftButton, {}, QPoint(90, 200));
        QTest::mouseMove(f.widget, QPoint(120, 180));
        QCOMPARE(f.widget->dragOutline()->geometry(), QRect(330, 30, 180, 400));
        QCOMPARE(f.window.pos(), QPoint(300, 50));  // only the outline follows the mouse
        QTest::mouseMove(f.widget, QPoint(60, 230));
        QCOMPARE(f.widget->dragOutline()->geometry(), QRect(270, 80, 180, 400));
        QTest::mouseRelease(f.widget, Qt::LeftButton, {}, QPoint(60, 230));
        QCOMPARE(f.window.pos(), QPoint(270, 80));
        QVERIFY(!f.widget->dragOutline()->isVisible());
    }

    void pressedImageShowsUntilReleaseEvenElsewhere() {
        Fixture f;
        const QPoint origin(126, 347);  // key 16, the down key
        QTest::mousePress(f.widget, Qt::LeftButton, {}, kDown);
        QCOMPARE(f.sim().engineState().highlightRow, 2);  // it acts at the press
        QImage shot = f.widget->grab().toImage();
        QVERIFY(ShowsPicture(shot, origin, TerminalImage(536).toImage()));
        QVERIFY(!ShowsPicture(shot, origin, TerminalImage(516).toImage()));

        QTest::mouseMove(f.widget, QPoint(10, 120));
        shot = f.widget->grab().toImage();
        QVERIFY(ShowsPicture(shot, origin, TerminalImage(536).toImage()));
        QVERIFY(!f.widget->dragOutline()->isVisible());  // a key press never turns into a drag

        QTest::mouseRelease(f.widget, Qt::LeftButton, {}, QPoint(10, 120));
        shot = f.widget->grab().toImage();
        QVERIFY(ShowsPicture(shot, origin, TerminalImage(516).toImage()));
        QCOMPARE(f.sim().engineState().highlightRow, 2);  // and only once
        QCOMPARE(f.window.pos(), QPoint(300, 50));
    }

    void grabShowsTheHighlightBarOnTheEnginesRow() {
        Fixture f;
        // The rows showing any blue; each of them must be mostly bar, with its text in white on it.
        auto barRows = [&] {
            QImage shot = f.widget->grab().toImage();
            QList<int> rows;
            for (int r = 0; r < kSimRows; ++r) {
                int blue = CountPixels(shot, BarBand(r), kBlue);
                if (blue == 0) continue;
                bool solidBar = blue > 120 * 10 / 2 && CountPixels(shot, BarBand(r), kWhite) > 20;
                rows << (solidBar ? r : -1 - r);
            }
            return rows;
        };
        QCOMPARE(barRows(), QList<int>{0});
        f.click(kDown);
        QCOMPARE(barRows(), QList<int>{1});
        f.click(kUp);
        f.click(kUp);
        QCOMPARE(barRows(), QList<int>{2});
        f.click(kDigit3);  // system tools, item 1
        QCOMPARE(barRows(), QList<int>{0});
        f.click(kDigit5);  // does nothing there
        QCOMPARE(barRows(), QList<int>{0});
    }

    void mainMenuTextIsDrawnInBlackOnCyan() {
        Fixture f;
        QImage shot = f.widget->grab().toImage();
        // Row 1 ("2. 上 傳 檔 案") has black text and no bar; the display around it stays cyan.
        QRect row1(26, 62, 120, 10);
        QVERIFY(CountPixels(shot, row1, qRgb(0, 0, 0)) > 20);
        QVERIFY(CountPixels(shot, row1, qRgb(0, 255, 255)) > 600);
        // The status line (row 7) shows the clock's text: "DEC 31, 23:59  00000" in black.
        QVERIFY(CountPixels(shot, QRect(26, 122, 120, 10), qRgb(0, 0, 0)) > 40);
    }
};

QTEST_MAIN(SimulatorWidgetTest)
#include "simulator_widget_test.moc"
