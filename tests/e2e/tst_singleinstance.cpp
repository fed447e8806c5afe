#include "CommandLine.h"
#include "ScriptedDialogs.h"
#include "SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

// The real program, twice. Its copy gets a name of its own so that a Veskor the
// developer has open does not meet the test.
class TestSingleInstance : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString program;

    void startProgram(QProcess &p)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        // Where the copy finds the run-time libraries and plugins beside the real one (Windows).
        const QString bin = QDir::toNativeSeparators(QFileInfo(QStringLiteral(VESKOR_PATH)).absolutePath());
        env.insert("PATH", bin + QDir::listSeparator() + env.value("PATH"));
        env.insert("QT_PLUGIN_PATH", bin);
        p.setProcessEnvironment(env);
        p.setProgram(program);
        p.start();
        QVERIFY(p.waitForStarted());
    }
    SingleInstance guard() const { return SingleInstance(QFileInfo(program).fileName().toUpper()); }
    static QString testName() { return QStringLiteral("VESKOR-TEST-%1").arg(QCoreApplication::applicationPid()); }

private slots:
    void initTestCase()
    {
        const QString suffix = QFileInfo(QStringLiteral(VESKOR_PATH)).suffix(); // "exe" on Windows
        program = dir.filePath(QStringLiteral("veskor-test-%1").arg(QCoreApplication::applicationPid()) +
                               (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix));
        QVERIFY(QFile::copy(QStringLiteral(VESKOR_PATH), program));
    }

    void aSecondCopyAsksTheFirstToShowAndEnds()
    {
        QProcess first;
        startProgram(first);
        // The first copy answers once it is up.
        QTRY_VERIFY_WITH_TIMEOUT(guard().askFirstToShow(500), 10000);

        QProcess second;
        startProgram(second);
        QVERIFY(second.waitForFinished(30000)); // a process under Wine can take long to start
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        QVERIFY(!QFile::exists(dir.filePath("QOVMS.ini"))); // the second copy wrote nothing

        // A copy started after the first was killed outright takes over.
        first.kill();
        QVERIFY(first.waitForFinished(5000));
        QProcess third;
        startProgram(third);
        QTRY_VERIFY_WITH_TIMEOUT(guard().askFirstToShow(500), 10000);
        QCOMPARE(third.state(), QProcess::Running);
        third.kill();
        QVERIFY(third.waitForFinished(5000));
    }

    void theGuardsFilesAreTheUsersOwn()
    {
        SingleInstance first(testName());
        QVERIFY(first.tryBecomeFirst());
        QCOMPARE(first.failure(), QString()); // a normal start: no warning box
        // Nothing another user could make first in the shared temporary folder.
        QCOMPARE(QDir::temp().entryList({testName() + "*"}, QDir::AllEntries | QDir::System | QDir::Hidden),
                 QStringList());
        const QFileInfo socket(first.serverName());
        if (!socket.isAbsolute())
            return; // Windows: a pipe named after the user and session, the lock a session's mutex
        QCOMPARE(socket.absolutePath(), QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
        QVERIFY(socket.exists());
        QVERIFY(QFileInfo::exists(socket.absolutePath() + "/" + testName() + ".lock"));
        const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFileInfo(socket.absolutePath()).permissions() & others, QFileDevice::Permissions());
    }

    void commandLine()
    {
        using A = CommandLine::Action;
        const std::pair<QStringList, A> rows[] = {
            {{"-v"}, A::Version}, {{"-h"}, A::Help}, {{"-reverse"}, A::Start}, {{"-style=fusion"}, A::Start},
            {{"-stylesheet=x.qss"}, A::Start}, {{"-platformtheme", "gtk3", "--help"}, A::Help}, {{"-hv"}, A::Error}};
        for (const auto &[arguments, action] : rows)
            QVERIFY2(CommandLine::parse(QStringList{"veskor"} + arguments) == action, qPrintable(arguments.join(' ')));
    }

    void aCopyStillStartingIsWaitedFor()
    {
        std::unique_ptr<QThread> first(QThread::create([] {
            QThread::msleep(300); // it listens only now
            SingleInstance guard(testName());
            guard.tryBecomeFirst();
            QEventLoop loop;
            QTimer::singleShot(1500, &loop, &QEventLoop::quit);
            loop.exec();
        }));
        first->start();
        QVERIFY(SingleInstance(testName()).askFirstToShow(3000));
        QVERIFY(first->wait(10000));
    }

    void aCopyThatDoesNotAnswerIsReported()
    {
        SingleInstance first(testName());
        QVERIFY(first.tryBecomeFirst()); // its events are never handled here: it cannot answer
        SingleInstance second(testName());
        QVERIFY(!second.tryBecomeFirst());
        ScriptedDialogs dialogs;
        QCOMPARE(second.giveWay(dialogs, 300), 1);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].caption, QStringLiteral("Błąd"));
        QVERIFY(dialogs.shown[0].text.startsWith(QStringLiteral("Veskor jest już uruchomiony, ale nie odpowiada.")));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
