// The document dialog: what it offers when no table is selected, and the choice it returns.
#include "app/frm_definition.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

using namespace quarnel;

class DefinitionDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void withoutSelectionOnlyEveryTable() {
        DefinitionChoice last;
        last.allTables = false;
        frmDefinition dialog(nullptr, false, last);
        QVERIFY(!dialog.optSelected->isEnabled());
        QVERIFY(dialog.optAll->isChecked());
    }

    void choice_data() {
        QTest::addColumn<bool>("markdown");
        QTest::addColumn<bool>("oneSheet");
        QTest::addColumn<bool>("expectedOneSheet");
        QTest::newRow("workbook, one sheet") << false << true << true;
        QTest::newRow("workbook, a sheet per table") << false << false << false;
        // The single-sheet option belongs to the workbook only.
        QTest::newRow("Markdown ignores one sheet") << true << true << false;
    }
    void choice() {
        QFETCH(bool, markdown);
        QFETCH(bool, oneSheet);
        QFETCH(bool, expectedOneSheet);
        frmDefinition dialog(nullptr, true, DefinitionChoice{});
        dialog.optSelected->setChecked(true);
        dialog.chkOneSheet->setChecked(oneSheet);
        (markdown ? dialog.optMarkdown : dialog.optExcel)->setChecked(true);
        QCOMPARE(dialog.chkOneSheet->isEnabled(), !markdown);
        QVERIFY(!dialog.choice());
        dialog.accept();
        const auto chosen = dialog.choice();
        QVERIFY(chosen);
        QVERIFY(!chosen->allTables);
        QCOMPARE(chosen->format,
                 markdown ? docs::DocumentFormat::Markdown : docs::DocumentFormat::Excel);
        QCOMPARE(chosen->oneSheet, expectedOneSheet);
    }
};

QTEST_MAIN(DefinitionDialogTest)
#include "tst_definition_dialog.moc"
