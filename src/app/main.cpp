#include "SingleInstance.h"
#include "VeskorApplication.h"
#include "WindowActivation.h"
#include "Windows1250.h"
#include "uMain.h"

#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    VeskorApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veskor"));
    app.loadQtTranslation();
    Q_INIT_RESOURCE(pictures);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/veskor.png")));

    // A second copy brings the first forward and ends before it takes any input.
    SingleInstance guard(QFileInfo(QApplication::applicationFilePath()).fileName().toUpper());
    if (!guard.tryBecomeFirst()) {
        guard.askFirstToShow();
        return 0;
    }
    if (!Windows1250::isAvailable()) {
        QMessageBox::critical(nullptr, QStringLiteral("Błąd"),
                              QStringLiteral("Brak strony kodowej windows-1250 w bibliotece Qt."));
        return 1;
    }
    TMainForm form(QApplication::applicationDirPath());
    QObject::connect(&guard, &SingleInstance::showRequested, &form, [&form] { bringToFront(&form); });
    form.show();
    return app.exec();
}
