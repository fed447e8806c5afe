#include "SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

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
        p.setProcessEnvironment(env);
        p.setProgram(program);
        p.start();
        QVERIFY(p.waitForStarted());
    }
    SingleInstance guard() const { return SingleInstance(QFileInfo(program).fileName().toUpper()); }

private slots:
    void initTestCase()
    {
        program = dir.filePath(QStringLiteral("veskor-test-%1").arg(QCoreApplication::applicationPid()));
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
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        QVERIFY(!QFile::exists(dir.filePath("QOVMS.ini"))); // the second copy wrote nothing

        // A copy started after the first was killed outright takes over.
        ::kill(pid_t(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(5000));
        QProcess third;
        startProgram(third);
        QTRY_VERIFY_WITH_TIMEOUT(guard().askFirstToShow(500), 10000);
        QCOMPARE(third.state(), QProcess::Running);
        third.terminate();
        QVERIFY(third.waitForFinished(5000));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
