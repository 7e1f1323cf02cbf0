// What the windows draw: the zoom animation's outline, the status panels' ellipsis, the about
// text and the busy picture.
#include "app/eliding_label.h"
#include "app/frm_mainkey.h"
#include "app/frm_search.h"
#include "app/frm_version.h"
#include "app/zoom_animation.h"
#include "shell/app_state.h"
#include "testing/test_dialogs.h"

#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>

using namespace quarnel;

class WindowDrawingTest : public QObject {
    Q_OBJECT

  private slots:
    void zoomOutlineLeavesTheInsideOut_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("window") << QSize(601, 484);
        QTest::newRow("dialog") << QSize(360, 115);
        QTest::newRow("lower than the caption") << QSize(300, 10);
        QTest::newRow("narrower than two borders") << QSize(3, 80);
        QTest::newRow("point") << QSize(1, 1);
    }
    void zoomOutlineLeavesTheInsideOut() {
        QFETCH(QSize, size);
        constexpr int border = 2;
        constexpr int caption = 22;
        const QRegion outline = zoomOutline(size, border, caption);
        const QRect all(QPoint(0, 0), size);
        // Never empty: an empty shape would show the whole window.
        QVERIFY(!outline.isEmpty());
        QVERIFY(all.contains(outline.boundingRect()));
        // The four corners are on the frame.
        for (const QPoint corner :
             {all.topLeft(), all.topRight(), all.bottomLeft(), all.bottomRight()})
            QVERIFY2(outline.contains(corner),
                     qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
        // The caption band runs across the whole top.
        const int captionBottom = std::min(caption, size.height()) - 1;
        QVERIFY(outline.contains(QRect(0, 0, size.width(), captionBottom + 1)));
        // Below the caption and inside the borders nothing is drawn.
        const QRect inside = all.adjusted(border, caption, -border, -border);
        if (!inside.isEmpty()) {
            QVERIFY(!outline.intersects(inside));
            QCOMPARE(outline, QRegion(all).subtracted(QRegion(inside)));
        }
    }

    void statusPanel3EndsInAnEllipsisWhereItDoesNotFit() {
        testing::TestDialogs dialogs;
        AppState state;
        state.dialogs = &dialogs;
        frm_mainkey window(state);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.setUpControls();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString userAndHost =
            QStringLiteral("DEMO_APPLICATION_OWNER / sqlite:/srv/quarnel/databases/demo.db");
        window.setPanelText(3, userAndHost);
        auto* panel = dynamic_cast<ElidingLabel*>(
            window.sbStatusBar->findChild<QLabel*>(QStringLiteral("panel3")));
        QVERIFY(panel != nullptr);

        window.resize(1200, window.height());
        QTRY_COMPARE(panel->shownText(), userAndHost);

        window.resize(window.minimumWidth(), window.height());
        QTRY_VERIFY(panel->shownText() != userAndHost);
        const QString shown = panel->shownText();
        QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
        QVERIFY(userAndHost.startsWith(shown.chopped(1)));
        QVERIFY(panel->fontMetrics().horizontalAdvance(shown) <= panel->contentsRect().width());
        // The panel keeps the whole text.
        QCOMPARE(window.panelText(3), userAndHost);
    }

    void aboutTextShowsAllThreeLines() {
        frmVersion about(nullptr);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QPlainTextEdit* text = about.Text1;
        const QTextBlock third = text->document()->findBlockByNumber(2);
        QVERIFY(third.isValid());
        QVERIFY(!third.text().isEmpty());
        QTextCursor cursor(third);
        cursor.movePosition(QTextCursor::EndOfBlock);
        const QRect line = text->cursorRect(cursor);
        QVERIFY2(line.bottom() < text->viewport()->height(),
                 qPrintable(QStringLiteral("line ends at %1, box is %2 high")
                                .arg(line.bottom())
                                .arg(text->viewport()->height())));
        QVERIFY(text->font().pointSizeF() >= 6);
    }

    void busyPictureIsWhollyInsideTheWindow_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("96 dpi") << QSize(192, 32);
        QTest::newRow("144 dpi") << QSize(288, 48);
    }
    void busyPictureIsWhollyInsideTheWindow() {
        QFETCH(QSize, size);
        const QImage picture = busyPicture(size).toImage();
        QCOMPARE(picture.size(), size);
        // The rule round the edge is there on all four sides: nothing of it is cut.
        const QRgb rule = picture.pixel(0, 0);
        for (const QPoint at :
             {QPoint(size.width() - 1, size.height() / 2), QPoint(0, size.height() / 2),
              QPoint(size.width() / 2, 0), QPoint(size.width() / 2, size.height() - 1)})
            QCOMPARE(picture.pixel(at), rule);
        // Inside the rule the panel is light.
        QVERIFY(picture.pixel(3, 3) != rule);
    }

    void busyWindowShowsItsPictureWhole() {
        QWidget main;
        frmSearch busy(&main);
        QCOMPARE(busy.Picture1->pixmap().size(), busy.size());
        QCOMPARE(busy.Picture1->geometry(), busy.rect());
    }
};

QTEST_MAIN(WindowDrawingTest)
#include "tst_window_drawing.moc"
