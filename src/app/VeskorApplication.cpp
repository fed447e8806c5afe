#include "VeskorApplication.h"

#include "ProgramInfo.h"

#include <QMessageBox>

#include <exception>

VeskorApplication::VeskorApplication(int &argc, char **argv) : QApplication(argc, argv) {}

void VeskorApplication::setNames()
{
    ProgramInfo::setNames();
}

bool VeskorApplication::loadQtTranslation(QCoreApplication &app)
{
    return ProgramInfo::loadQtTranslation(app);
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
