#include "CommandLine.h"
#include "Dialogs.h"
#include "ProgramFolders.h"
#include "SingleInstance.h"
#include "Termination.h"
#include "VeskorApplication.h"
#include "WindowActivation.h"
#include "Windows1250.h"
#include "uMain.h"

#include <QFileInfo>
#include <QIcon>

int main(int argc, char *argv[])
{
    if (const auto exitCode = CommandLine::answer(argc, argv))
        return *exitCode;
    VeskorApplication app(argc, argv);
    VeskorApplication::setNames();
    VeskorApplication::loadQtTranslation(app);
    Q_INIT_RESOURCE(pictures);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/veskor.png")));

    // A second copy brings the first forward and ends before it takes any input.
    QtDialogs dialogs;
    SingleInstance guard(QFileInfo(QApplication::applicationFilePath()).fileName().toUpper());
    if (!guard.tryBecomeFirst())
        return guard.giveWay(dialogs);
    if (!guard.failure().isEmpty())
        dialogs.message(nullptr, Dialogs::Kind::Warning, guard.failure());
    if (!Windows1250::isAvailable()) {
        dialogs.message(nullptr, Dialogs::Kind::Error, QStringLiteral("Brak strony kodowej windows-1250 w bibliotece Qt."));
        return 1;
    }
    TMainForm form(ProgramFolders::forProgramIn(QApplication::applicationDirPath()));
    QObject::connect(&guard, &SingleInstance::showRequested, &form, [&form] { bringToFront(&form); });
    closeOnTermination(&form);
#if QT_CONFIG(sessionmanager)
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form] { form.endSession(); },
                     Qt::DirectConnection);
#endif
    form.show();
    return app.exec();
}
