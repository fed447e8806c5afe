#include "ConfigurationFile.h"
#include "LineLog.h"
#include "SimulatedSession.h"
#include "TestFiles.h"

#include <QDir>
#include <QOperatingSystemVersion>
#include <QProcess>

// veskor-cli against the simulator, as a workshop's script runs it: its exit
// status, the file it writes and what the module received.
class TestCli : public QObject {
    Q_OBJECT
private:
    SimulatedSession *s = nullptr;

    int cli(const QStringList &arguments)
    {
        // A copy of its own beside a settings file that maps the simulator's port.
        const QString program = s->dir.filePath(QFileInfo(QStringLiteral(VESKOR_CLI_PATH)).fileName());
        if (!QFile::exists(program))
            QFile::copy(QStringLiteral(VESKOR_CLI_PATH), program);
        writeFile(s->dir.filePath("QOVMS.ini"), "[PORTS]\r\n" + s->sim.portsLine() + "\r\n");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", QDir::toNativeSeparators(QFileInfo(QStringLiteral(VESKOR_CLI_PATH)).absolutePath()) +
                               QDir::listSeparator() + env.value("PATH")); // Windows: the run-time beside the real one
        p.setProcessEnvironment(env);
        QSignalSpy finished(&p, &QProcess::finished); // the simulator answers from this event loop
        p.start(program, QStringList{"--port", QStringLiteral("COM %1").arg(s->sim.comNumber())} + arguments);
        if (!finished.wait(60000))
            return -1;
        qInfo("%s", p.readAllStandardOutput().constData());
        return p.exitCode();
    }
    QString file(const char *name) const { return s->dir.filePath(QLatin1String(name)); }

private slots:
    void init()
    {
        s = new SimulatedSession;
        QVERIFY(s->startSimulator());
    }
    void cleanup() { delete s; }

    void commands_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("exitCode");
        const struct {
            const char *name;
            TestSimulator::Family family;
            const char *version;
        } kinds[] = {{"MKV 01.12", TestSimulator::Family::MKV, "01.12"},
                     {"MKV 01.15l", TestSimulator::Family::MKV, "01.15l"},
                     {"MKV 02.00l", TestSimulator::Family::MKV, "02.00l"},
                     {"RW-5/GSM", TestSimulator::Family::RW5GSM, "1.03"}};
        for (const auto &k : kinds) {
            for (const char *command : {"read", "write"})
                QTest::addRow("%s %s", k.name, command) << int(k.family) << QByteArray(k.version) << command << "" << 0;
        }
        const int mkv = int(TestSimulator::Family::MKV);
        QTest::newRow("a file validation refuses") << mkv << QByteArray("02.00l") << "write"
                                                   << "refused" << 2;
        QTest::newRow("a silent module") << mkv << QByteArray("02.00l") << "read"
                                         << "silent" << 3;
        QTest::newRow("a probe pulled mid-write") << mkv << QByteArray("02.00l") << "write"
                                                  << "hang-up" << 4;
        QTest::newRow("a verification mismatch") << mkv << QByteArray("02.00l") << "write"
                                                 << "mismatch" << 4;
    }
    void commands()
    {
        QFETCH(int, family);
        QFETCH(QByteArray, version);
        QFETCH(QString, command);
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        s->sim.setIdentity(TestSimulator::Family(family), version);
        if (fault == "silent") {
            s->sim.setSilentAfter(0);
            QCOMPARE(cli({"--read", file("read.qovsms")}), exitCode);
            return;
        }
        QCOMPARE(cli({"--read", file("read.qovsms")}), 0);
        TUstawienie u = emptyConfiguration();
        QVERIFY(ConfigurationFile::fromBytes(readFile(file("read.qovsms")), u));
        if (command == "read") { // the bytes the window saves after its own read
            s->openWindow();
            QVERIFY(s->connectModule());
            s->click("BitBtnOdczytLicznik");
            QTRY_COMPARE_WITH_TIMEOUT(s->form->statusText(), QStringLiteral("Status: Połączony"), 10000);
            s->dialogs.saveNames << file("window.qovsms");
            s->click("BitBtnZapisPlik");
            QCOMPARE(readFile(file("read.qovsms")), readFile(file("window.qovsms")));
            return;
        }
        u.Pin.setText("4321");
        u.AccessCode.setText(fault == "refused" ? "" : "7315");
        QVERIFY(ConfigurationFile::save(file("write.qovsms"), u));
        const int asked = int(s->sim.requestCodes().size());
        if (fault == "hang-up")
            s->sim.setHangUpAfter(asked + 6);
        if (fault == "mismatch")
            s->sim.setStoreDifferently("S20");
        QCOMPARE(cli({"--write", file("write.qovsms"), "--log", file("write.log")}), exitCode);
        if (fault == "refused") {
            QCOMPARE(s->sim.requestCodes().mid(asked), QList<QByteArray>{"GE0"}); // nothing written
        } else if (exitCode == 0) {
            QCOMPARE(s->sim.reg("G20"), QByteArray("4321"));
            QCOMPARE(cli({"--compare", file("write.qovsms")}), 0);
            // The log of a write can be mailed: no PIN, access code or password in it.
            const QByteArray log = readFile(file("write.log"));
            QVERIFY(log.contains("<SOH>S20<STX>[****]<EOT>") && log.contains("koniec: Programowanie zakończone"));
            for (const QByteArray &secret : {QByteArray("[4321]"), QByteArray("7315"), u.MeterPassword.bytes()})
                QVERIFY2(!log.contains(secret), secret.constData());
        }
    }

    // Private, named by UTC, and rotation touches no file but the program's own logs.
    void theNewestLogsAreKept()
    {
        const QString folder = s->dir.filePath("logs");
        QDir().mkpath(folder);
        for (int i = 10; i < 32; ++i)
            writeFile(folder + QStringLiteral("/veskor-20261210-1000%1-000.log").arg(i), "x");
        for (const char *other : {"/notatki.log", "/veskor-kopia.log", "/veskor-20261210-100000-000.log.txt"})
            writeFile(folder + other, "x");
        LineLog log;
        QVERIFY(log.openInFolder(folder, "COM 9"));
        log.close("x");
        QStringList left = QDir(folder).entryList(QDir::Files, QDir::Name);
        QCOMPARE(left.size(), 23);
        QCOMPARE(left.first(), QStringLiteral("notatki.log"));
        QCOMPARE(left.at(2), QStringLiteral("veskor-20261210-100013-000.log"));
        QVERIFY(left.at(21).startsWith(QDateTime::currentDateTimeUtc().toString("'veskor-'yyyyMMdd-HH")));
        const auto modes = [](QFile::Permissions p) { return int(p) & 0xf0ff; }; // owner, group, others
        if (QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows)
            return; // private there by the user's folder
        QCOMPARE(modes(QFile::permissions(folder + '/' + left.at(21))), int(QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(modes(QFile::permissions(folder)), int(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
