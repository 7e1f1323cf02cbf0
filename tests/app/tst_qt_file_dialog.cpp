// The program's file dialog: Qt's own dialog, set up from the request, and its answer.
#include "app/qt_dialogs.h"
#include "export/save_texts.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace quarnel;

namespace {

// Runs `handle` on the file dialog once it is open.
void whenDialogOpens(std::function<void(QFileDialog&)> handle) {
    QTimer::singleShot(0, [handle = std::move(handle)]() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible()) {
                handle(*dialog);
                return;
            }
        }
        QFAIL("no file dialog open");
    });
}

}  // namespace

class QtFileDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void saveDialogFromTheRequest() {
        QTemporaryDir dir;
        FileDialogRequest request;
        request.title = ui::kSaveTitleTableList;
        request.filters = parseFilter(ui::kListFileFilter);
        request.filterIndex = 2;
        request.initialDir = dir.path();
        request.proposedName = QStringLiteral("a.csv");
        request.flags = 1024;
        QStringList filters;
        QString title;
        QString folder;
        QString selectedFilter;
        bool native = true;
        bool confirms = true;
        whenDialogOpens([&](QFileDialog& dialog) {
            filters = dialog.nameFilters();
            title = dialog.windowTitle();
            folder = dialog.directory().path();
            selectedFilter = dialog.selectedNameFilter();
            native = !dialog.testOption(QFileDialog::DontUseNativeDialog);
            confirms = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
            static_cast<QDialog&>(dialog).accept();
        });
        QtDialogs dialogs;
        const FileDialogAnswer answer = dialogs.showFileDialog(request);

        QCOMPARE(answer.result, FileDialogAnswer::Result::Chosen);
        QCOMPARE(answer.paths, QStringList{dir.filePath("a.csv")});
        QCOMPARE(title, ui::kSaveTitleTableList);
        QCOMPARE(folder, dir.path());
        // Qt reads the patterns from the parentheses at the end, separated by spaces.
        QCOMPARE(filters, (QStringList{QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.txt;*.csv) (*.csv *.txt)"),
                                       QStringLiteral("すべてのﾌｧｲﾙ(*.*) (*.*)")}));
        // The list shows the descriptions alone, the second one chosen.
        QCOMPARE(selectedFilter, request.filters[1].description);
        QVERIFY(!native);
        QVERIFY(!confirms);
    }

    void cancelled() {
        whenDialogOpens([](QFileDialog& dialog) { dialog.reject(); });
        QtDialogs dialogs;
        QCOMPARE(dialogs.showFileDialog(FileDialogRequest{}).result,
                 FileDialogAnswer::Result::Cancelled);
    }
};

QTEST_MAIN(QtFileDialogTest)
#include "tst_qt_file_dialog.moc"
