#include "search_bench.h"

#include "app/frm_table_search.h"
#include "bench_report.h"
#include "browse/schema_search.h"
#include "schema/search_index.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace quarnel::bench {
namespace {

constexpr int kTables = 100000;
constexpr int kColumns = 10;

// The words of the names and their Japanese logical names, as a business schema uses them.
struct Word {
    const char* name;
    const char* comment;
};
const Word kWords[] = {
    {"CUSTOMER", "顧客"},    {"ORDER", "受注"},     {"ITEM", "品目"},      {"PRODUCT", "製品"},
    {"SUPPLIER", "仕入先"},  {"STOCK", "在庫"},     {"PRICE", "価格"},     {"AMOUNT", "金額"},
    {"QTY", "数量"},         {"DATE", "日付"},      {"CODE", "ｺｰﾄﾞ"},      {"NAME", "名称"},
    {"ADDRESS", "住所"},     {"PHONE", "電話番号"}, {"STATUS", "状態"},    {"KIND", "区分"},
    {"FLAG", "フラグ"},      {"COUNT", "件数"},     {"USER", "利用者"},    {"BRANCH", "支店"},
    {"DEPT", "部署"},        {"EMPLOYEE", "社員"},  {"SALES", "売上"},     {"PAYMENT", "支払"},
    {"INVOICE", "請求"},     {"DELIVERY", "配送"},  {"WAREHOUSE", "倉庫"}, {"CONTRACT", "契約"},
    {"ACCOUNT", "勘定"},     {"BUDGET", "予算"},    {"REMARKS", "備考"},   {"CREATED", "作成日時"},
    {"UPDATED", "更新日時"}, {"VERSION", "版数"},   {"REGION", "地域"},    {"TAX", "税"},
    {"RATE", "率"},          {"LIMIT", "上限"},     {"PLAN", "計画"},      {"RESULT", "実績"}};
constexpr int kWordCount = int(sizeof kWords / sizeof kWords[0]);
const char* const kTableKinds[] = {"マスタ", "履歴", "明細", "ﾜｰｸ"};

std::shared_ptr<schema::Schema> buildModel() {
    auto model = std::make_shared<schema::Schema>();
    model->tables.reserve(kTables);
    // Column names and comments repeat across tables; equal texts share their storage, as
    // texts read from one dictionary query do not, so the model is smaller than a loaded one.
    // The index copies every text anyway, so its size does not depend on that.
    std::vector<QString> names(size_t(kWordCount * kWordCount));
    std::vector<QString> comments(names.size());
    for (int a = 0; a < kWordCount; ++a) {
        for (int b = 0; b < kWordCount; ++b) {
            names[size_t(a * kWordCount + b)] =
                QString::fromLatin1(kWords[a].name) + u'_' + QString::fromLatin1(kWords[b].name);
            comments[size_t(a * kWordCount + b)] =
                QString::fromUtf8(kWords[a].comment) + QString::fromUtf8(kWords[b].comment);
        }
    }
    std::uint32_t random = 12345;
    auto next = [&] {
        random = random * 1103515245u + 12345u;
        return int((random >> 8) % std::uint32_t(kWordCount));
    };
    for (int t = 0; t < kTables; ++t) {
        schema::Table table;
        const int a = next();
        const int b = next();
        table.name = QString::fromLatin1(kWords[a].name) + u'_' +
                     QString::fromLatin1(kWords[b].name) +
                     QStringLiteral("_%1").arg(t, 6, 10, QChar(u'0'));
        table.comment = QString::fromUtf8(kWords[a].comment) +
                        QString::fromUtf8(kWords[b].comment) +
                        QString::fromUtf8(kTableKinds[t % 4]);
        table.columns.resize(kColumns);
        for (int c = 0; c < kColumns; ++c) {
            const size_t pick = size_t(next() * kWordCount + next());
            table.columns[size_t(c)].description.name = names[pick];
            table.columns[size_t(c)].comment = comments[pick];
            table.columns[size_t(c)].position = c + 1;
        }
        model->tables.push_back(std::move(table));
    }
    return model;
}

// The median time from a key press in the search box (holding `before`) to the result list
// repainted for the new text.
double keystrokeMs(frmTableSearch& window, const QString& before, QChar typed, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        window.txtSearch->setText(before);
        window.lstResult->viewport()->repaint();
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        const int key = typed.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(typed));
        QCoreApplication::sendEvent(window.txtSearch, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(typed));
        QCoreApplication::sendEvent(window.txtSearch, &release);
        window.lstResult->viewport()->repaint();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

bool runSearchBench(AppState& state, QWidget* mainWindow, int runs) {
    std::shared_ptr<schema::Schema> model = buildModel();
    QElapsedTimer building;
    building.start();
    const schema::SearchIndex index(*model);
    print("search-index-build-ms", double(building.nsecsElapsed()) / 1e6, "ms");
    print("search-index-bytes-per-column", double(index.bytes()) / double(kTables * kColumns),
          "bytes");

    state.schemaModel = model;
    frmTableSearch window(state, mainWindow);
    window.Form_Load();
    // The first search builds the window's own index; later keystrokes only search.
    window.txtSearch->setText(QStringLiteral("x"));

    struct Query {
        const char* name;
        const char* before;
        const char* typed;
    } queries[] = {{"search-1char", "", "c"},
                   {"search-3char", "cu", "s"},
                   {"search-3char-japanese", "顧客", "名"},
                   {"search-nohit", "顧客ｺｰﾄﾞ", "X"}};
    bool ok = true;
    for (const Query& q : queries) {
        const QString typed = QString::fromUtf8(q.typed);
        const double ms = keystrokeMs(window, QString::fromUtf8(q.before), typed[0], runs);
        print((std::string(q.name) + "-ms").c_str(), ms, "ms");
        const qint64 hits = window.search().result().total;
        print((std::string(q.name) + "-hits").c_str(), double(hits), "hits");
        const bool noHit = std::string(q.name) == "search-nohit";
        ok = ok && (noHit ? hits == 0 : hits > 0);
    }
    // A three-character query pasted into an empty box: nothing typed before it to build on.
    std::vector<double> pasted;
    for (int i = 0; i < runs; ++i) {
        window.txtSearch->clear();
        window.lstResult->viewport()->repaint();
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        window.txtSearch->setText(QStringLiteral("cus"));
        window.lstResult->viewport()->repaint();
        pasted.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(pasted.begin(), pasted.end());
    print("search-3char-pasted-ms", pasted[pasted.size() / 2], "ms");
    window.close();
    state.schemaModel.reset();
    return ok;
}

}  // namespace quarnel::bench
