// The program's dialogs: long work with its progress dialog.
#include "app/qt_dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

using namespace quarnel;

class QtDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    // The dialog's own close at the end is no cancel; the user's cancel is.
    void longWorkAnswersWhetherItWasCancelled_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("finished") << false;
        QTest::newRow("cancelled") << true;
    }
    void longWorkAnswersWhetherItWasCancelled() {
        QFETCH(bool, cancel);
        QtDialogs dialogs;
        bool ran = false;
        const bool finished = dialogs.runLongWork(nullptr, "work", [&](WorkProgress& progress) {
            ran = true;
            if (cancel)
                progress.cancel = true;
        });
        QVERIFY(ran);
        QCOMPARE(finished, !cancel);
    }

    // Text typed while the work runs goes to the box that had the focus, not to the dialog,
    // whose focused Cancel button a space would otherwise press; also when one piece of work
    // follows another at once (the schema read, then the search index).
    void keysTypedDuringLongWorkReachTheFocusedBox() {
        QWidget window;
        QLineEdit box(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box.setFocus();
        QtDialogs dialogs;
        for (const QString& keys : {QStringLiteral("o d"), QStringLiteral(" e")}) {
            std::atomic<bool> typed{false};
            QTimer::singleShot(200, [&] {
                QWidget* dialog = QApplication::activeModalWidget();
                QVERIFY(dialog != nullptr);
                QWidget* focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
                QTest::keyClicks(focus, keys);
                typed = true;
            });
            const bool finished = dialogs.runLongWork(&window, "work", [&](WorkProgress&) {
                while (!typed)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            });
            QVERIFY(finished);
        }
        QTRY_COMPARE(box.text(), QStringLiteral("o d e"));
    }
};

QTEST_MAIN(QtDialogsTest)
#include "tst_qt_dialogs.moc"
