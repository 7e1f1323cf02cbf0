// The program's dialogs: long work with its progress dialog.
#include "app/qt_dialogs.h"

#include <QTest>

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
};

QTEST_MAIN(QtDialogsTest)
#include "tst_qt_dialogs.moc"
