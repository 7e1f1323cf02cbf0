#include "app/frm_version.h"

#include "app/screen_units.h"
#include "app/zoom_animation.h"
#include "shell/ui_texts.h"

#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quarnel {
namespace {

// Makes `lines` lines of text fit the height of `box`: a narrow margin round the text, and the
// font made smaller, half a point at a time, only as far as it must.
void fitLines(QPlainTextEdit* box, int lines) {
    constexpr double kSmallestPoints = 6;
    box->document()->setDocumentMargin(1);
    QFont font = box->font();
    const int room = box->height() - 2 * box->frameWidth() - 2;
    while (lines * QFontMetrics(font).lineSpacing() > room &&
           font.pointSizeF() - 0.5 >= kSmallestPoints)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    box->setFont(font);
}

}  // namespace

frmVersion::frmVersion(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("frmVersion"));
    setWindowTitle(ui::kVersionCaption);
    const QSize client(toPixelsX(this, 2895), toPixelsY(this, 2130));
    setFixedSize(client);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    QPalette back = Picture1->palette();
    back.setColor(QPalette::Window, QColor(192, 192, 192));
    Picture1->setPalette(back);
    Picture1->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    Picture1->setAlignment(Qt::AlignCenter);
    setGeometryTwips(Picture1, 0, 0, 2895, 900);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setPlainText(aboutText());
    Text1->setFrameShape(QFrame::NoFrame);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setGeometryTwips(Text1, 0, 900, 2870, 680);
    fitLines(Text1, 3);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    setGeometryTwips(Command1, 800, 1680, 1335, 375);
    connect(Command1, &QPushButton::clicked, this, &frmVersion::Command1_Click);
    Command1->setFocus();
}

QString frmVersion::aboutText() {
    return QStringLiteral("Quarnel Project Quarnel\r\n") + ui::kVersionLine +
           QStringLiteral("\r\n(C) 2026 Quarnel Project\r\n");
}

void frmVersion::Form_Load() {
    const QPoint pointer = QCursor::pos();
    centreOver(this, m_mainWindow);
    zoomOpen(this, pointer);
}

void frmVersion::Command1_Click() {
    accept();
}

void frmVersion::done(int result) {
    // Esc and the close box end here too: the window is never kept open.
    zoomClose(this);
    QDialog::done(result);
}

}  // namespace quarnel
