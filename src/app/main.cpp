#include "Windows1250.h"
#include "uMain.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (!Windows1250::isAvailable()) {
        QMessageBox::critical(nullptr, QStringLiteral("Błąd"),
                              QStringLiteral("Brak strony kodowej windows-1250 w bibliotece Qt."));
        return 1;
    }
    TMainForm form(QApplication::applicationDirPath());
    form.show();
    return app.exec();
}
