// The main window's resize handling and splitters on real widgets.
#include "app/frm_mainkey.h"
#include "app/screen_units.h"
#include "shell/app_state.h"
#include "testing/test_dialogs.h"

#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

using namespace quarnel;

namespace {

QRect pixels(const QWidget* widget, const layout::Rect& rect) {
    return QRect(toPixelsX(widget, rect.left), toPixelsY(widget, rect.top),
                 toPixelsX(widget, rect.width), toPixelsY(widget, rect.height));
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        m_state = AppState{};
        m_state.dialogs = &m_dialogs;
        m_window = new frm_mainkey(m_state);
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_window->setUpControls();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void cleanup() { delete m_window; }

    void controlsFollowTheLayoutRecord() {
        m_window->resize(900, 700);
        QTRY_COMPARE(m_window->size(), QSize(900, 700));
        const layout::MainLayout& l = m_window->layout();
        QCOMPARE(m_window->lstTableList->geometry(), pixels(m_window, l.lstTableList));
        QCOMPARE(m_window->tvTreeView->geometry(), pixels(m_window, l.tvTreeView));
        QCOMPARE(m_window->imgSplitter->geometry(), pixels(m_window, l.imgSplitter));
        // The list fills the client height less 1300 twips, whatever the size.
        const double client = toTwipsY(
            m_window, m_window->centralWidget()->height() + m_window->statusBar()->height());
        QCOMPARE(l.lstTableList.height, client - 1300);
    }

    void tooSmallAWindowGrowsBackToTheMinimum() {
        m_window->resize(100, 100);
        QTRY_VERIFY(toTwipsX(m_window, windowRect(m_window).width()) >= 5500 - 15);
        QVERIFY(toTwipsY(m_window, windowRect(m_window).height()) >= 5000 - 15);
    }

    void resizeClosesTheGridEditor() {
        m_window->text1->setText("typed");
        m_window->text1->show();
        m_window->resize(m_window->width() + 30, m_window->height());
        QTRY_VERIFY(!m_window->text1->isVisible());
        QVERIFY(m_window->text1->text().isEmpty());
    }

    void draggingTheVerticalSplitter() {
        m_window->resize(900, 700);
        QTRY_COMPARE(m_window->size(), QSize(900, 700));
        m_window->text1->setText("typed");
        m_window->text1->show();
        QWidget* grab = m_window->imgSplitter;
        QTest::mousePress(grab, Qt::LeftButton, {}, QPoint(2, 10));
        QVERIFY(m_window->blnDragging());
        QVERIFY(m_window->picSplitter->isVisible());
        QVERIFY(!m_window->text1->isVisible());
        const double before = m_window->layout().lstTableList.width;
        // Pointer moved 100 pixels right: only the bar follows until the release.
        m_window->imgSplitter_MouseMove(toTwipsX(m_window, 100));
        QCOMPARE(m_window->layout().lstTableList.width, before);
        m_window->imgSplitter_MouseUp();
        QVERIFY(!m_window->blnDragging());
        QVERIFY(!m_window->picSplitter->isVisible());
        QCOMPARE(m_window->layout().lstTableList.width, before + toTwipsX(m_window, 100));
        QCOMPARE(m_window->lstTableList->width(),
                 toPixelsX(m_window, m_window->layout().lstTableList.width));
    }

    void draggingTheHorizontalSplitterUpAndDown() {
        m_window->resize(900, 700);
        QTRY_COMPARE(m_window->size(), QSize(900, 700));
        const double top = m_window->layout().imgSplitter2.top;
        for (double move : {-600.0, 900.0}) {
            m_window->imgSplitter2_MouseDown();
            QVERIFY(m_window->picSplitter2->isVisible());
            m_window->imgSplitter2_MouseMove(move);
            m_window->imgSplitter2_MouseUp();
            QVERIFY(!m_window->picSplitter2->isVisible());
            QCOMPARE(m_state.sngSplitter2Top, m_window->layout().imgSplitter2.top);
        }
        QCOMPARE(m_window->layout().imgSplitter2.top, std::max(2500.0, top - 600) + 900);
        QCOMPARE(m_window->tvTreeView->geometry(), pixels(m_window, m_window->layout().tvTreeView));
    }

  private:
    testing::TestDialogs m_dialogs;
    AppState m_state;
    frm_mainkey* m_window = nullptr;
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
