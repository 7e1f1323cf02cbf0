// The search window driven by key events: over a model put in place by the test, and over the
// demo database where the jump shows a real table.
#include "app/frm_mainkey.h"
#include "app/frm_table_search.h"
#include "browse/schema_search.h"
#include "support/flex_grid.h"
#include "testing/window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <QTreeView>
#include <algorithm>

using namespace quarnel;

namespace {

schema::Column column(const QString& name, const QString& comment) {
    schema::Column c;
    c.description.name = name;
    c.comment = comment;
    return c;
}

schema::Table table(const QString& name, const QString& comment,
                    std::vector<schema::Column> columns) {
    schema::Table t;
    t.name = name;
    t.comment = comment;
    t.columns = std::move(columns);
    return t;
}

// ITEM as the demo holds it, with comments, and two tables of the test's own.
std::shared_ptr<const schema::Schema> model() {
    auto s = std::make_shared<schema::Schema>();
    s->tables.push_back(table("ITEM", "受注明細",
                              {column("ORD_NO", "受注番号"), column("LINE_NO", "明細番号"),
                               column("PRODUCT", "商品コード"), column("SHIP_DATE", "出荷日"),
                               column("REMARKS", "備考"), column("QTY", "数量")}));
    s->tables.push_back(
        table("CUSTOMER", "顧客", {column("CUST_ID", "顧客ID"), column("KANA", "コキャク名")}));
    s->tables.push_back(table("ORDERS", "受注", {column("CUST_NO", "顧客番号")}));
    return s;
}

// Types `text` into `widget` one key event per character, as a keyboard (or an input method
// committing character by character) would.
void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

}  // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        m.open();
        m.state.sessionFactory = db::CreateSession;
        m.answerLogons("u", "", QStringLiteral("sqlite:") + QUARNEL_DEMO_DB);
        m.window->mnuDBLogIn->trigger();
        m.dialogs.onModal = nullptr;
        QVERIFY(m.state.blnConnected);
    }
    void cleanup() { m.close(); }

    void typingNarrowsTheListAndCountsHits() {
        frmTableSearch* search = open();
        type(search->txtSearch, "c");
        QCOMPARE(search->lblCount->text(), QStringLiteral("該当件数 : 4件"));
        type(search->txtSearch, "ust");
        QCOMPARE(search->lblCount->text(), QStringLiteral("該当件数 : 3件"));
        QCOMPARE(rows(search), QStringList({"テーブル|CUSTOMER||顧客", "列|CUSTOMER|CUST_ID|顧客ID",
                                            "列|ORDERS|CUST_NO|顧客番号"}));
        QTest::keyClick(search->txtSearch, Qt::Key_Backspace);
        QTest::keyClick(search->txtSearch, Qt::Key_Backspace);
        QTest::keyClick(search->txtSearch, Qt::Key_Backspace);
        QCOMPARE(search->lblCount->text(), QStringLiteral("該当件数 : 4件"));
    }

    void foldingAndWords_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("hits");
        QTest::newRow("half-width katakana")
            << "ｺｷｬｸ" << QStringList{"列|CUSTOMER|KANA|コキャク名"};
        QTest::newRow("hiragana") << "こきゃく" << QStringList{"列|CUSTOMER|KANA|コキャク名"};
        QTest::newRow("full-width letters")
            << "ＣＵＳＴ＿ＩＤ" << QStringList{"列|CUSTOMER|CUST_ID|顧客ID"};
        QTest::newRow("two words, one from the table")
            << "受注　番号"
            << QStringList{"列|ITEM|ORD_NO|受注番号", "列|ITEM|LINE_NO|明細番号",
                           "列|ORDERS|CUST_NO|顧客番号"};
        QTest::newRow("no hit") << "受注 顧客ID" << QStringList{};
    }
    void foldingAndWords() {
        QFETCH(QString, typed);
        QFETCH(QStringList, hits);
        frmTableSearch* search = open();
        type(search->txtSearch, typed);
        QCOMPARE(rows(search), hits);
        QCOMPARE(search->lblCount->text(), QStringLiteral("該当件数 : %1件").arg(hits.size()));
    }

    void enterJumpsToTheFirstHitsColumnRow() {
        frmTableSearch* search = open();
        type(search->txtSearch, "出荷");
        QTest::keyClick(search->txtSearch, Qt::Key_Return);
        QCOMPARE(m.window->selectedTableName(), QStringLiteral("ITEM"));
        QCOMPARE(m.window->lblTitle[1]->text(), QStringLiteral("　ﾃｰﾌﾞﾙ情報 : ITEM"));
        QCOMPARE(m.window->MSFlexGrid1->Row(), 4);
        QCOMPARE(m.window->MSFlexGrid1->TextMatrix(4, 2), QStringLiteral("SHIP_DATE"));
        QVERIFY(search->isVisible());

        // Down into the list, to the second hit, Enter.
        search->txtSearch->clear();
        type(search->txtSearch, "番号");
        QTest::keyClick(search->txtSearch, Qt::Key_Down);
        QTest::keyClick(search->lstResult, Qt::Key_Down);
        QTest::keyClick(search->lstResult, Qt::Key_Return);
        QCOMPARE(m.window->MSFlexGrid1->Row(), 2);
        QCOMPARE(m.window->MSFlexGrid1->TextMatrix(2, 2), QStringLiteral("LINE_NO"));
    }

    void escapeClosesAndReopeningKeepsTheQuery() {
        frmTableSearch* search = open();
        type(search->txtSearch, "cust");
        QTest::keyClick(search->txtSearch, Qt::Key_Escape);
        QVERIFY(!search->isVisible());
        m.window->mnuTableNameS->trigger();
        QCOMPARE(m.window->searchView(), search);
        QVERIFY(search->isVisible());
        QCOMPARE(search->txtSearch->text(), QStringLiteral("cust"));
        QCOMPARE(rows(search).size(), 3);
    }

    void theFirstSearchReadsTheModelAndTheListShowsOnlyTheFirstThousand() {
        m.state.schemaModel.reset();
        frmTableSearch* search = new frmTableSearch(m.state, m.window);
        search->Form_Load();
        type(search->txtSearch, "item");
        QVERIFY(m.state.schemaModel != nullptr);
        const QStringList found = rows(search);
        QVERIFY(std::any_of(found.begin(), found.end(), [](const QString& row) {
            return row.startsWith(QStringLiteral("テーブル|ITEM|"));
        }));

        auto big = std::make_shared<schema::Schema>();
        std::vector<schema::Column> columns;
        for (int c = 0; c < 1500; ++c)
            columns.push_back(column(QStringLiteral("C%1").arg(c), QString()));
        big->tables.push_back(table("WIDE", "", std::move(columns)));
        m.state.schemaModel = big;
        search->txtSearch->clear();
        type(search->txtSearch, "c");
        QCOMPARE(search->lblCount->text(), QStringLiteral("該当件数 : 1500件 (先頭1000件を表示)"));
        QCOMPARE(search->lstResult->model()->rowCount(), 1000);
        delete search;
    }

    void theTableListShowsTheModelsComment() {
        m.state.schemaModel = model();
        QAbstractItemModel* list = m.window->lstTableList->model();
        QStringList tips;
        for (int row = 0; row < list->rowCount(); ++row) {
            const QModelIndex index = list->index(row, 0);
            if (index.data(Qt::ToolTipRole) != index.data())
                tips << index.data().toString() + "=" + index.data(Qt::ToolTipRole).toString();
        }
        // Tables the model gives no comment keep their name as the tooltip.
        QCOMPARE(tips, QStringList({"CUSTOMER=顧客", "ORDERS=受注", "ITEM=受注明細"}));
    }

  private:
    frmTableSearch* open() {
        m.state.schemaModel = model();
        m.window->mnuTableNameS->trigger();
        frmTableSearch* search = m.window->searchView();
        if (search != nullptr)
            search->txtSearch->clear();
        return search;
    }
    QStringList rows(frmTableSearch* search) {
        QStringList lines;
        QAbstractItemModel* list = search->lstResult->model();
        for (int row = 0; row < list->rowCount(); ++row) {
            QStringList cells;
            for (int c = 0; c < 4; ++c)
                cells << list->index(row, c).data().toString();
            lines << cells.join('|');
        }
        return lines;
    }

    testing::WindowFixture m;
};

QTEST_MAIN(SearchWindowTest)
#include "tst_search_window.moc"
