#include "ProgramInfo.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void ProgramInfo::setNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Veskor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VESKOR_VERSION));
}

bool ProgramInfo::loadQtTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    for (const QString &folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
        if (translator->load(polish, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}
