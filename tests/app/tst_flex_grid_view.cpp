#include "app/flex_grid_view.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using quarnel::FlexGrid;
using quarnel::FlexGridView;
using quarnel::rgb;

class TestFlexGridView : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void paintsCellsInTheirColours_data();
    void paintsCellsInTheirColours();
    void leftClickSelects_data();
    void leftClickSelects();
    void otherButtonsOnlyReportThePress_data();
    void otherButtonsOnlyReportThePress();
    void doubleClickEmitsDblClick();
    void dragExtendsTheSelection();
    void shiftClickExtendsTheSelection();
    void keysMoveTheCurrentCell_data();
    void keysMoveTheCurrentCell();
    void movingPastTheBottomScrollsOneRow();
    void scrollBarAndGridShareTheScrollPosition();
    void focusChangesAreReported();

  private:
    void click(Qt::MouseButton button, int row, int col);

    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_edit = nullptr;
    FlexGridView* m_view = nullptr;
    FlexGrid* m_grid = nullptr;
};

void TestFlexGridView::init() {
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    m_edit = new QLineEdit;
    m_view = new FlexGridView;
    layout->addWidget(m_edit);
    layout->addWidget(m_view);
    m_view->setFixedSize(300, 140);
    m_grid = m_view->grid();
    m_grid->setRows(30);
    m_grid->setCols(8);
    for (int r = 0; r < 30; ++r) {
        for (int c = 0; c < 8; ++c) {
            m_grid->setTextMatrix(r, c, QString("%1.%2").arg(r).arg(c));
        }
    }
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestFlexGridView::cleanup() {
    m_window.reset();
}

void TestFlexGridView::click(Qt::MouseButton button, int row, int col) {
    const QRect rect = m_view->cellRectPixels(row, col);
    QVERIFY(!rect.isEmpty());
    QTest::mouseClick(m_view->viewport(), button, {}, rect.center());
}

void TestFlexGridView::paintsCellsInTheirColours_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<quint32>("expected");
    // The grid below selects (2,2)..(3,3), marks (5,1) and (0,2); cells are emptied first.
    QTest::newRow("data cell") << 4 << 3 << rgb(255, 255, 255);
    const quint32 fixedColour = FlexGrid().BackColorFixed();
    QTest::newRow("fixed row") << 0 << 3 << fixedColour;
    QTest::newRow("fixed column") << 3 << 0 << fixedColour;
    QTest::newRow("current cell") << 2 << 2 << rgb(200, 200, 255);
    QTest::newRow("selected cell") << 3 << 3 << rgb(200, 200, 255);
    QTest::newRow("marked cell") << 5 << 1 << rgb(200, 255, 200);
    QTest::newRow("coloured fixed cell") << 0 << 2 << rgb(10, 20, 30);
}

void TestFlexGridView::paintsCellsInTheirColours() {
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(quint32, expected);
    m_grid->Clear();
    m_grid->setBackColorSel(rgb(200, 200, 255));
    m_grid->setCurrentCell(5, 1);
    m_grid->setCellBackColor(rgb(200, 255, 200));
    m_grid->setCurrentCell(0, 2);
    m_grid->setCellBackColor(rgb(10, 20, 30));
    m_grid->setCurrentCell(2, 2);
    m_grid->setRowSel(3);
    m_grid->setColSel(3);

    const QImage image = m_view->viewport()->grab().toImage();
    QVERIFY(!image.isNull());
    const QRect rect = m_view->cellRectPixels(row, col);
    QVERIFY(!rect.isEmpty());
    // Right of the middle, clear of text, focus frame and grid lines.
    const QPoint point(rect.left() + rect.width() * 3 / 4, rect.center().y());
    QVERIFY(image.rect().contains(point));
    const QColor pixel = image.pixelColor(point);
    QCOMPARE(pixel, QColor(expected & 0xFF, (expected >> 8) & 0xFF, (expected >> 16) & 0xFF));
}

void TestFlexGridView::leftClickSelects_data() {
    QTest::addColumn<int>("clickRow");
    QTest::addColumn<int>("clickCol");
    QTest::addColumn<QRect>("expected");  // Row, Col, RowSel, ColSel as left, top, right, bottom
    QTest::newRow("data cell") << 3 << 2 << QRect(QPoint(2, 3), QPoint(2, 3));
    QTest::newRow("first data cell") << 1 << 1 << QRect(QPoint(1, 1), QPoint(1, 1));
    QTest::newRow("column header") << 0 << 3 << QRect(QPoint(3, 1), QPoint(3, 29));
    QTest::newRow("row header") << 4 << 0 << QRect(QPoint(1, 4), QPoint(7, 4));
    QTest::newRow("corner") << 0 << 0 << QRect(QPoint(1, 1), QPoint(7, 29));
}

void TestFlexGridView::leftClickSelects() {
    QFETCH(int, clickRow);
    QFETCH(int, clickCol);
    QFETCH(QRect, expected);
    m_grid->setCurrentCell(2, 4);
    QSignalSpy pressed(m_view, &FlexGridView::mousePressed);
    QSignalSpy changed(m_grid, &FlexGrid::RowColChange);
    click(Qt::LeftButton, clickRow, clickCol);
    QCOMPARE(
        QRect(QPoint(m_grid->Col(), m_grid->Row()), QPoint(m_grid->ColSel(), m_grid->RowSel())),
        expected);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    QCOMPARE(changed.count(), 1);
}

void TestFlexGridView::otherButtonsOnlyReportThePress_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestFlexGridView::otherButtonsOnlyReportThePress() {
    QFETCH(Qt::MouseButton, button);
    QSignalSpy pressed(m_view, &FlexGridView::mousePressed);
    click(button, 3, 3);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).value<Qt::MouseButton>(), button);
    QCOMPARE(m_grid->Row(), 1);
    QCOMPARE(m_grid->Col(), 1);
}

void TestFlexGridView::doubleClickEmitsDblClick() {
    QSignalSpy dblClick(m_view, &FlexGridView::dblClick);
    const QPoint pos = m_view->cellRectPixels(2, 3).center();
    // A double-click arrives as a press and release, then the double-click itself.
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, {}, pos);
    QCOMPARE(dblClick.count(), 1);
    QCOMPARE(m_grid->Row(), 2);
    QCOMPARE(m_grid->Col(), 3);
}

void TestFlexGridView::dragExtendsTheSelection() {
    QWidget* viewport = m_view->viewport();
    const QPoint from = m_view->cellRectPixels(1, 1).center();
    const QPoint to = m_view->cellRectPixels(3, 2).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    QCOMPARE(m_grid->Row(), 1);
    QCOMPARE(m_grid->Col(), 1);
    QCOMPARE(m_grid->RowSel(), 3);
    QCOMPARE(m_grid->ColSel(), 2);
    QCOMPARE(m_grid->Clip(), QString("1.1\t1.2\r2.1\t2.2\r3.1\t3.2"));
}

// As a flex grid does: the current cell stays, the selection reaches the cell clicked.
void TestFlexGridView::shiftClickExtendsTheSelection() {
    m_grid->setCurrentCell(2, 4);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      m_view->cellRectPixels(4, 2).center());
    QCOMPARE(
        QRect(QPoint(m_grid->Col(), m_grid->Row()), QPoint(m_grid->ColSel(), m_grid->RowSel())),
        QRect(QPoint(4, 2), QPoint(2, 4)));
    QCOMPARE(m_grid->Clip(), QString("2.2\t2.3\t2.4\r3.2\t3.3\t3.4\r4.2\t4.3\t4.4"));
}

void TestFlexGridView::keysMoveTheCurrentCell_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("startCol");
    QTest::addColumn<QRect>("expected");  // Row, Col, RowSel, ColSel as in leftClickSelects
    const int none = Qt::NoModifier;
    QTest::newRow("down") << int(Qt::Key_Down) << none << 2 << 2 << QRect(2, 3, 1, 1);
    QTest::newRow("up") << int(Qt::Key_Up) << none << 2 << 2 << QRect(2, 1, 1, 1);
    QTest::newRow("left") << int(Qt::Key_Left) << none << 2 << 2 << QRect(1, 2, 1, 1);
    QTest::newRow("right") << int(Qt::Key_Right) << none << 2 << 2 << QRect(3, 2, 1, 1);
    QTest::newRow("up stops at the header")
        << int(Qt::Key_Up) << none << 1 << 2 << QRect(2, 1, 1, 1);
    QTest::newRow("left stops at the fixed column")
        << int(Qt::Key_Left) << none << 2 << 1 << QRect(1, 2, 1, 1);
    QTest::newRow("right stops at the last column")
        << int(Qt::Key_Right) << none << 2 << 7 << QRect(7, 2, 1, 1);
    QTest::newRow("shift down extends") << int(Qt::Key_Down) << int(Qt::ShiftModifier) << 2 << 2
                                        << QRect(QPoint(2, 2), QPoint(2, 3));
    QTest::newRow("end") << int(Qt::Key_End) << none << 2 << 2 << QRect(7, 2, 1, 1);
    QTest::newRow("ctrl home") << int(Qt::Key_Home) << int(Qt::ControlModifier) << 5 << 5
                               << QRect(1, 1, 1, 1);
}

void TestFlexGridView::keysMoveTheCurrentCell() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, startRow);
    QFETCH(int, startCol);
    QFETCH(QRect, expected);
    m_grid->setCurrentCell(startRow, startCol);
    QTest::keyClick(m_view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(
        QRect(QPoint(m_grid->Col(), m_grid->Row()), QPoint(m_grid->ColSel(), m_grid->RowSel())),
        expected);
}

void TestFlexGridView::movingPastTheBottomScrollsOneRow() {
    QSignalSpy scrolled(m_view, &FlexGridView::scrolled);
    int lastVisible = 1;
    while (!m_view->cellRectPixels(lastVisible + 1, 1).isEmpty() &&
           m_view->cellRectPixels(lastVisible + 1, 1).bottom() < m_view->viewport()->height()) {
        ++lastVisible;
    }
    m_grid->setCurrentCell(lastVisible, 1);
    QTest::keyClick(m_view, Qt::Key_Down);
    QCOMPARE(m_grid->Row(), lastVisible + 1);
    QCOMPARE(m_grid->TopRow(), 2);
    QCOMPARE(scrolled.count(), 1);
    const QRect rect = m_view->cellRectPixels(lastVisible + 1, 1);
    QVERIFY(!rect.isEmpty());
    QVERIFY(rect.bottom() < m_view->viewport()->height());
}

void TestFlexGridView::scrollBarAndGridShareTheScrollPosition() {
    QSignalSpy scrolled(m_view, &FlexGridView::scrolled);
    m_view->verticalScrollBar()->setValue(5);
    QCOMPARE(m_grid->TopRow(), 5);
    m_grid->setLeftCol(3);
    QCOMPARE(m_view->horizontalScrollBar()->value(), 3);
    QCOMPARE(scrolled.count(), 2);
    // The first scrolled row sits right under the header.
    QCOMPARE(m_view->cellRectPixels(5, 3).topLeft(),
             QPoint(m_view->colWidthPixels(0), m_view->rowHeightPixels(0)));
    QVERIFY(m_view->cellRectPixels(4, 3).isEmpty());
    m_grid->setTopRow(29);  // past the point where the last row reaches the bottom
    QCOMPARE(m_view->verticalScrollBar()->value(), 29);
    QCOMPARE(m_grid->TopRow(), 29);
}

void TestFlexGridView::focusChangesAreReported() {
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_edit->setFocus();
    QSignalSpy gotFocus(m_view, &FlexGridView::gotFocus);
    QSignalSpy lostFocus(m_view, &FlexGridView::lostFocus);
    m_view->setFocus();
    QTRY_COMPARE(gotFocus.count(), 1);
    m_edit->setFocus();
    QTRY_COMPARE(lostFocus.count(), 1);
}

QTEST_MAIN(TestFlexGridView)
#include "tst_flex_grid_view.moc"
