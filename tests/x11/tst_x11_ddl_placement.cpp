// The DDL window's placement under a real window manager (openbox on Xvfb): after a file dialog
// was shown and cancelled, every opening puts the window at its designed size, centred over the
// main window and inside the screen. Frames the window system reports while it frames a new
// window must not size or place it.
#include "app/frm_create.h"
#include "app/frm_mainkey.h"
#include "testing/window_fixture.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace quarnel;

namespace {

// True once the window manager has put a frame round `window`.
bool framed(const QWidget* window) {
    return window->isVisible() && window->frameGeometry() != window->geometry() &&
           window->frameGeometry().contains(window->geometry());
}

}  // namespace

class X11DdlPlacementTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        // The window manager starts beside the test: a window shown before it runs is never
        // framed, so a fresh probe is shown until one is.
        bool managed = false;
        for (int attempt = 0; attempt < 20 && !managed; ++attempt) {
            QWidget probe;
            probe.resize(100, 100);
            probe.show();
            managed = QTest::qWaitFor([&] { return framed(&probe); }, 500);
        }
        QVERIFY2(managed, "no window manager frames the windows");
        m.open();
        m.state.sessionFactory = db::CreateSession;
        m.answerLogons("demo", "", QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        m.window->mnuDBLogIn->trigger();
        m.dialogs.onModal = nullptr;
        QVERIFY(m.state.blnConnected);
        QVERIFY(m.window->selectTableInList("ITEM"));
        m.window->cmdView->click();
        QTRY_VERIFY_WITH_TIMEOUT(framed(m.window), 10000);
    }
    void cleanupTestCase() { m.close(); }

    void opensCentredAtItsSizeAfterAFileDialog() {
        QFileDialog dialog(m.window, QStringLiteral("save"));
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QTimer::singleShot(500, &dialog, &QDialog::reject);
        dialog.exec();

        const QRect screen = m.window->screen()->geometry();
        const QRect owner = m.window->frameGeometry();
        for (int opening = 1; opening <= 6; ++opening) {
            m.window->mnuViewCr->trigger();
            frmCreate* view = m.window->createView();
            QVERIFY(view != nullptr);
            QTRY_VERIFY2_WITH_TIMEOUT(
                framed(view),
                qPrintable(QStringLiteral("opening %1: visible %2, frame %3,%4 %5x%6, client "
                                          "%7,%8 %9x%10")
                               .arg(opening)
                               .arg(view->isVisible())
                               .arg(view->frameGeometry().x())
                               .arg(view->frameGeometry().y())
                               .arg(view->frameGeometry().width())
                               .arg(view->frameGeometry().height())
                               .arg(view->geometry().x())
                               .arg(view->geometry().y())
                               .arg(view->geometry().width())
                               .arg(view->geometry().height())),
                20000);
            QTest::qWait(300);
            const QRect frame = view->frameGeometry();
            const QString where = QStringLiteral("opening %1: %2,%3 %4x%5")
                                      .arg(opening)
                                      .arg(frame.x())
                                      .arg(frame.y())
                                      .arg(frame.width())
                                      .arg(frame.height());
            QVERIFY2(screen.contains(frame), qPrintable(where));
            QVERIFY2(owner.contains(frame), qPrintable(where));
            // Centred as it was placed; the window grows to its smallest height after that.
            QVERIFY2((frame.center() - owner.center()).manhattanLength() <= 20, qPrintable(where));
            view->Command1->click();
            QTRY_VERIFY_WITH_TIMEOUT(m.window->createView() == nullptr, 5000);
        }
    }

  private:
    testing::WindowFixture m;
};

QTEST_MAIN(X11DdlPlacementTest)
#include "tst_x11_ddl_placement.moc"
