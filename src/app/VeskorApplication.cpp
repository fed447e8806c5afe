#include "VeskorApplication.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <exception>

VeskorApplication::VeskorApplication(int &argc, char **argv) : QApplication(argc, argv) {}

void VeskorApplication::setNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Veskor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VESKOR_VERSION));
}

bool VeskorApplication::loadQtTranslation(QCoreApplication &app)
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

bool VeskorApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        // Our messages are UTF-8 whatever the system's code page (on Windows it is not).
        report(QString::fromUtf8(e.what()));
    } catch (...) {
        report(QStringLiteral("Nieznany błąd programu."));
    }
    return false;
}

void VeskorApplication::report(const QString &message)
{
    // One box at a time: an error inside the box's own loop is not shown again.
    if (m_reporting)
        return;
    m_reporting = true;
    if (m_reporter)
        m_reporter(message);
    else
        QMessageBox::critical(activeWindow(), QStringLiteral("Błąd"), message);
    m_reporting = false;
}
