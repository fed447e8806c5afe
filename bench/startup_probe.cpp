// Starts either the Veskor main window or a minimal Qt Widgets window, and on
// the window's first paint prints "shown <peak KiB>" and ends. Built twice, so
// that both are measured the same way by bench_startup.
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

#ifdef VESKOR_PROBE
#include "uMain.h"
#endif

namespace {
class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QMetaObject::invokeMethod(qApp, [] {
                rusage u{};
                getrusage(RUSAGE_SELF, &u);
                std::printf("shown %ld\n", u.ru_maxrss);
                std::fflush(stdout);
                QApplication::quit();
            }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_done = false;
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FirstPaint watcher;
#ifdef VESKOR_PROBE
    QTemporaryDir dir;
    TMainForm window(ProgramFolders::beside(dir.path()));
#else
    QLabel window(QStringLiteral("Veskor"));
    window.resize(1049, 496);
#endif
    window.installEventFilter(&watcher);
    window.show();
    return app.exec();
}
