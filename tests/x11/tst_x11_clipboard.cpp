// The copy commands on a real X server: the main window copies, and another program
// (`xclip -o -selection clipboard`) reads the clipboard while the window keeps running. Run under
// its own Xvfb (xvfb-run) with QT_QPA_PLATFORM=xcb.
#include "app/frm_mainkey.h"
#include "catalog/item_texts.h"
#include "support/flex_grid.h"
#include "testing/window_fixture.h"

#include <QAction>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace quarnel;
namespace fixtures = quarnel::catalog::fixtures;

namespace {

struct Reading {
    int exitCode = -1;
    QByteArray output;
};

}  // namespace

class X11ClipboardTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m.open();
        m.state.sessionFactory = db::CreateSession;
        m.answerLogons("demo", "", QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        m.window->mnuDBLogIn->trigger();
        m.dialogs.onModal = nullptr;
        QVERIFY(m.state.blnConnected);
        QVERIFY(m.window->selectTableInList("ITEM"));
        m.window->cmdView->click();
        QVERIFY(m.dialogs.messages.empty());
    }
    void cleanupTestCase() { m.close(); }

    // Japanese text and CR LF line ends arrive as they were copied, in UTF-8.
    void anotherProgramReadsTheCopiedText_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("expected");
        QTest::newRow("table list") << "mnuCopyAllTableTxt" << QString();
        QTest::newRow("table info CSV") << "mnuCopyTableInfoCsv" << fixtures::kItemTableInfoCsv;
        QTest::newRow("index TXT") << "mnuCopyTableIndexTxt" << fixtures::kItemIndexInfoTxt;
        QTest::newRow("table name") << "mnuCopyTableName"
                                    << "ITEM";
    }
    void anotherProgramReadsTheCopiedText() {
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        if (expected.isEmpty())
            expected = m.state.strTableListTxt;
        QVERIFY(!expected.isEmpty());
        trigger(entry);
        const Reading reading = readClipboard();
        QCOMPARE(reading.exitCode, 0);
        QCOMPARE(reading.output, expected.toUtf8());
    }

    // The grid's selection as CSV, with a cell edited to hold a comma and quotes.
    void gridSelectionIsReadBack() {
        FlexGrid& grid = *m.window->MSFlexGrid1;
        grid.setTextMatrix(3, 2, QStringLiteral("PRODUCT \"A, B\""));
        grid.setRow(2);
        grid.setCol(1);
        grid.setRowSel(3);
        grid.setColSel(3);
        trigger("mnuSelectCpCsv");
        const Reading reading = readClipboard();
        QCOMPARE(reading.exitCode, 0);
        QCOMPARE(reading.output,
                 QByteArray("\xe2\x80\xbb,LINE_NO,3\r\n,\"PRODUCT \"\"A, B\"\"\",20"));
    }

    // The text stays on the clipboard while the window runs: later readers get it too.
    void theTextStaysPasteable() {
        trigger("mnuCopyPkTxt");
        for (int i = 0; i < 3; ++i) {
            QTest::qWait(50);
            const Reading reading = readClipboard();
            QCOMPARE(reading.exitCode, 0);
            QCOMPARE(reading.output, QByteArray("ORD_NO\r\nLINE_NO\r\n"));
        }
    }

    // A command with nothing to copy leaves the clipboard empty, not holding the last copy.
    void nothingToCopyEmptiesTheClipboard() {
        trigger("mnuCopyPkTxt");
        QCOMPARE(readClipboard().exitCode, 0);
        FlexGrid& grid = *m.window->MSFlexGrid1;
        grid.setRow(3);  // PRODUCT has no key mark: the selected cell is empty
        grid.setCol(1);
        trigger("mnuSelectCpTxt");
        const Reading reading = readClipboard();
        QVERIFY(reading.output.isEmpty());
        QVERIFY(reading.exitCode != 0);
    }

  private:
    void trigger(const QString& entry) {
        auto* action = m.window->findChild<QAction*>(entry);
        QVERIFY2(action != nullptr, qPrintable(entry));
        action->trigger();
    }

    // Runs xclip while this program's event loop keeps answering the clipboard requests.
    Reading readClipboard() {
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                              QStringLiteral("clipboard")});
        Reading reading;
        if (!xclip.waitForStarted(10000)) {
            qWarning("xclip could not be started: %s", qPrintable(xclip.errorString()));
            return reading;
        }
        QDeadlineTimer deadline(20000);
        while (xclip.state() != QProcess::NotRunning && !deadline.hasExpired())
            QTest::qWait(10);
        if (xclip.state() != QProcess::NotRunning) {
            qWarning("xclip did not finish in time");
            xclip.kill();
            xclip.waitForFinished(5000);
            return reading;
        }
        reading.exitCode = xclip.exitStatus() == QProcess::NormalExit ? xclip.exitCode() : -1;
        reading.output = xclip.readAllStandardOutput();
        return reading;
    }

    testing::WindowFixture m;
};

QTEST_MAIN(X11ClipboardTest)
#include "tst_x11_clipboard.moc"
