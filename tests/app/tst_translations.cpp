// Qt's own dialogs speak Japanese once the program has loaded Qt's translation.
#include "app/translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

class TranslationsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(quarnel::installQtJapaneseTranslation(*qApp)); }

    void yesNoButtons() {
        QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No);
        QVERIFY2(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")),
                 qPrintable(box.button(QMessageBox::Yes)->text()));
        QVERIFY(box.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ")));
    }

    void saveDialogButtons() {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons != nullptr);
        const QString save = buttons->button(QDialogButtonBox::Save)->text();
        QVERIFY2(save.contains(QStringLiteral("保存")), qPrintable(save));
        const QString cancel = buttons->button(QDialogButtonBox::Cancel)->text();
        QVERIFY2(cancel.contains(QStringLiteral("キャンセル")), qPrintable(cancel));
    }
};

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
