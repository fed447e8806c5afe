#include "uKomunikat.h"

#include "Pictures.h"
#include "UiFont.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TKomunikatForm::TKomunikatForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("KomunikatForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(uiFont());
    setFixedSize(297, 90);

    ImageInfo = new QLabel(this);
    ImageInfo->setObjectName(QStringLiteral("ImageInfo"));
    ImageInfo->setGeometry(16, 16, 32, 32);

    LabelKomunkat = new QLabel(this);
    LabelKomunkat->setObjectName(QStringLiteral("LabelKomunkat"));
    LabelKomunkat->move(64, 22);

    BitBtnOK = new QPushButton(QStringLiteral("OK"), this);
    BitBtnOK->setObjectName(QStringLiteral("BitBtnOK"));
    BitBtnOK->setGeometry(112, 56, 73, 25);
    BitBtnOK->setIcon(Pictures::bitmap(QStringLiteral("OK")));
    BitBtnOK->setDefault(true);
    connect(BitBtnOK, &QPushButton::clicked, this, &QDialog::close);

    // Esc presses OK whichever control has the focus; it reaches none of them.
    installEventFilter(this);
    BitBtnOK->installEventFilter(this);
}

bool TKomunikatForm::setPicture(const QString &resourceName)
{
    const QPixmap pixmap = Pictures::bitmap(resourceName);
    ImageInfo->setPixmap(pixmap);
    return !pixmap.isNull();
}

void TKomunikatForm::setMessage(const QString &text)
{
    LabelKomunkat->setText(text);
    LabelKomunkat->adjustSize();
}

void TKomunikatForm::setDetails(const QStringList &fields)
{
    // Names only, never values: what differs, under the message; the window grows to hold it.
    auto *details = new QLabel(QStringLiteral("Różnice: ") + fields.join(QStringLiteral(", ")), this);
    details->setObjectName(QStringLiteral("LabelRoznice"));
    details->setWordWrap(true);
    details->setFixedWidth(width() - 64 - 16);
    details->move(64, LabelKomunkat->y() + LabelKomunkat->height() + 6);
    details->adjustSize();
    const int grow = details->height() + 6;
    BitBtnOK->move(BitBtnOK->x(), BitBtnOK->y() + grow);
    setFixedSize(width(), height() + grow);
}

void TKomunikatForm::showCentred()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    show();
}

bool TKomunikatForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        BitBtnOK->setFocus();
        BitBtnOK->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
