#include "Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

const char *const Dialogs::kFilter = "Pliki konfiguracyjne *.qovsms (*.qovsms)";
const char *const Dialogs::kSuffix = "qovsms";

namespace {
// The save dialog requires an existing folder, as the system's own does: a name
// in a folder that is not there is refused and the dialog stays open.
class ConfigurationFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        if (acceptMode() == AcceptSave && !selectedFiles().isEmpty()) {
            const QFileInfo chosen(selectedFiles().constFirst());
            if (!chosen.absoluteDir().exists()) {
                QMessageBox::warning(this, windowTitle(),
                                     QStringLiteral("Folder %1 nie istnieje.\nSprawdź, czy podano właściwą ścieżkę.")
                                         .arg(QDir::toNativeSeparators(chosen.absolutePath())));
                return;
            }
        }
        QFileDialog::accept();
    }
};

QString runFileDialog(QWidget *owner, const QString &folder, QFileDialog::AcceptMode mode)
{
    ConfigurationFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    // Opening needs an existing file; saving asks before replacing one (Qt's default).
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDirectory(folder);
    dialog.setNameFilter(QString::fromLatin1(Dialogs::kFilter));
    dialog.setDefaultSuffix(QString::fromLatin1(Dialogs::kSuffix));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString QtDialogs::openConfigurationFile(QWidget *owner, const QString &folder)
{
    return runFileDialog(owner, folder, QFileDialog::AcceptOpen);
}

QString QtDialogs::saveConfigurationFile(QWidget *owner, const QString &folder)
{
    return runFileDialog(owner, folder, QFileDialog::AcceptSave);
}

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
