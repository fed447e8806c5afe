#include "Dialogs.h"

#include <QMessageBox>
#include <QPushButton>

QString Dialogs::caption(Kind kind)
{
    switch (kind) {
    case Kind::Error:
        return QStringLiteral("Błąd");
    case Kind::Warning:
        return QStringLiteral("Ostrzeżenie");
    case Kind::Information:
        return QStringLiteral("Informacja");
    case Kind::Question:
        return QStringLiteral("Pytanie");
    }
    return {};
}

bool QtDialogs::message(QWidget *owner, Kind kind, const QString &text)
{
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (kind) {
    case Kind::Error:
        break;
    case Kind::Warning:
        icon = QMessageBox::Warning;
        break;
    case Kind::Information:
        icon = QMessageBox::Information;
        break;
    case Kind::Question:
        icon = QMessageBox::Question;
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    }
    QMessageBox box(icon, caption(kind), text, buttons, owner);
    box.setTextFormat(Qt::PlainText);
    if (kind == Kind::Question) {
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        // A Polish Windows names these buttons in Polish; so do we, whatever the locale.
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Tak"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Nie"));
    }
    return box.exec() != QMessageBox::No;
}
