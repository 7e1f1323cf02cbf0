// The DDL window: its text at opening and after a table selection, copy, save, the resize rule,
// and "ｸﾘｴｲﾄ文画面" disabled exactly while the window is open.
#include "app/frm_create.h"
#include "app/screen_units.h"
#include "catalog/item_texts.h"
#include "export/save_file.h"
#include "testing/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace quarnel;
namespace fixtures = quarnel::catalog::fixtures;

namespace {

const QString kItemScript =
    fixtures::kItemCreateTableSql + QStringLiteral("\r\n\r\n") + fixtures::kItemCreateIndexSql;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class CreateViewTest : public QObject {
    Q_OBJECT

  private:
    testing::WindowFixture m;

    frmCreate* openView() {
        m.window->mnuViewCr->trigger();
        return m.window->createView();
    }
    void logOnToDemo() {
        m.state.sessionFactory = db::CreateSession;
        m.answerLogons("u", "", QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        m.window->mnuDBLogIn->trigger();
        m.dialogs.onModal = nullptr;
        QVERIFY(m.state.blnConnected);
    }
    void selectItem() {
        QVERIFY(m.window->selectTableInList("ITEM"));
        m.window->cmdView->click();
        QVERIFY(m.dialogs.messages.empty());
    }

  private slots:
    void init() {
        m.open();
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));
    }
    void cleanup() { m.close(); }

    void emptyBeforeAnyTable() {
        frmCreate* view = openView();
        QVERIFY(view != nullptr);
        QCOMPARE(view->windowTitle(), QString("Quarnel(Create View)"));
        QVERIFY(view->isVisible());
        QCOMPARE(view->boxText(), QString());
        // Copying an empty box leaves the clipboard empty.
        view->mnuCopy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }

    void emptyAfterAnIndexOnlyRead() {
        m.state.strCreateIndexSql = fixtures::kItemCreateIndexSql;
        QCOMPARE(openView()->boxText(), QString());
    }

    void openingShowsTheScript() {
        m.state.strCreateTableSql = fixtures::kItemCreateTableSql;
        m.state.strCreateIndexSql = fixtures::kItemCreateIndexSql;
        QCOMPARE(openView()->boxText(), kItemScript);
    }

    void refreshedBySelectionAndCopiedWithCrLf() {
        logOnToDemo();
        frmCreate* view = openView();
        QCOMPARE(view->boxText(), QString());
        selectItem();
        QCOMPARE(view->boxText(), kItemScript);
        view->mnuCopy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), kItemScript);
    }

    void savesTheBoxTextWithCrLf() {
        QTemporaryDir dir;
        m.state.strCreateTableSql = fixtures::kItemCreateTableSql;
        m.state.strCreateIndexSql = fixtures::kItemCreateIndexSql;
        frmCreate* view = openView();
        m.dialogs.files.choose(dir.filePath("item.txt"));
        view->mnuSave->trigger();
        QCOMPARE(readAll(dir.filePath("item.txt")), kItemScript.toUtf8());
        QCOMPARE(m.dialogs.files.requests.at(0).owner, view);
    }

    void listAndDdlSavesRememberSeparately() {
        QTemporaryDir listDir;
        QTemporaryDir ddlDir;
        m.state.strTableListTxt = QStringLiteral("ITEM\r\n");
        m.dialogs.files.choose(listDir.filePath("a.csv"));
        m.window->mnuSaveAllTable->trigger();

        frmCreate* view = openView();
        m.dialogs.files.choose(ddlDir.filePath("d.txt"));
        view->mnuSave->trigger();
        const FileDialogRequest firstDdl = m.dialogs.files.requests.at(1);
        QVERIFY(firstDdl.proposedName.isEmpty());
        QVERIFY(firstDdl.initialDir != listDir.path());

        // The DDL window's names outlive the window; the list save keeps its own.
        view->Command1->click();
        view = openView();
        view->mnuSave->trigger();
        m.window->mnuSaveInfoTable->trigger();
        const auto& requests = m.dialogs.files.requests;
        QCOMPARE(requests.size(), size_t(4));
        QCOMPARE(requests[2].proposedName, QString("d.txt"));
        QCOMPARE(requests[2].initialDir, ddlDir.path());
        QCOMPARE(requests[3].proposedName, QString("a.csv"));
        QCOMPARE(requests[3].initialDir, listDir.path());
    }

    void minimumSizeAndMargins() {
        frmCreate* view = openView();
        view->resize(50, 50);
        const QRect outer = windowRect(view);
        QVERIFY(outer.width() >= toPixelsX(view, 5500) - 1);
        QVERIFY(outer.height() >= toPixelsY(view, 5000) - 1);
        view->resize(toPixelsX(view, 9000), toPixelsY(view, 7000));
        const QRect box = view->rtxtCrMoniter->geometry();
        const QRect button = view->Command1->geometry();
        const QRect big = windowRect(view);
        auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
        QVERIFY(near(box.width(), toPixelsX(view, toTwipsX(view, big.width()) - 105)));
        QVERIFY(near(box.height(), toPixelsY(view, toTwipsY(view, big.height()) - 1305)));
        QVERIFY(near(button.top(), box.top() + box.height() + toPixelsY(view, 60)));
        QVERIFY(
            near(button.left() + button.width(), box.left() + box.width() - toPixelsX(view, 90)));
    }

    void viewCommandDisabledWhileOpen_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("閉じる") << 0;
        QTest::newRow("終了(&X)") << 1;
        QTest::newRow("title-bar close") << 2;
        QTest::newRow("main window closing") << 3;
    }
    void viewCommandDisabledWhileOpen() {
        QFETCH(int, way);
        QPointer<frmCreate> view = openView();
        QVERIFY(!m.window->mnuViewCr->isEnabled());
        QVERIFY(m.state.blnCreateViewOpen);
        switch (way) {
            case 0:
                view->Command1->click();
                break;
            case 1:
                view->mnuEnd->trigger();
                break;
            case 2:
                view->close();
                break;
            case 3:
                m.window->close();
                break;
        }
        QVERIFY(m.window->mnuViewCr->isEnabled());
        QVERIFY(!m.state.blnCreateViewOpen);
        QTRY_VERIFY(view.isNull());
        if (way != 3) {
            QVERIFY(openView() != nullptr);
            QVERIFY(!m.window->mnuViewCr->isEnabled());
        }
    }
};

QTEST_MAIN(CreateViewTest)
#include "tst_create_view.moc"
