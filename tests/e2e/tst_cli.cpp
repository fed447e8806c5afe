#include "ConfigurationFile.h"
#include "LineLog.h"
#include "PortNaming.h"
#include "SimulatedSession.h"
#include "TestFiles.h"

#include <QDir>
#include <QOperatingSystemVersion>
#include <QProcess>

#include <unistd.h>

#include <functional>

// veskor-cli against the simulator, as a workshop's script runs it: its exit
// status, the file it writes and what the module received.
class TestCli : public QObject {
    Q_OBJECT
private:
    SimulatedSession *s = nullptr;

    QByteArray out; // the last run's stdout
    bool m_closedOutput = false;

    // Runs veskor-cli on the simulator's port (withPort) with arguments; during, if
    // given, acts on the running process.
    int cli(const QStringList &arguments, bool withPort = true, const std::function<void(QProcess &)> &during = {})
    {
        // A copy of its own beside a settings file that maps the simulator's port.
        const QString program = s->dir.filePath(QFileInfo(QStringLiteral(VESKOR_CLI_PATH)).fileName());
        if (!QFile::exists(program))
            QFile::copy(QStringLiteral(VESKOR_CLI_PATH), program);
        writeFile(s->dir.filePath("QOVMS.ini"), "[PORTS]\r\n" + s->sim.portsLine() + "\r\n[MAIN]\r\nJournal=" +
                                                    QFile::encodeName(file("dziennik.csv")) + "\r\n");
        QProcess p;
#ifdef Q_OS_UNIX
        if (m_closedOutput) // as "veskor-cli ... | head -1" leaves it: whatever it prints goes nowhere
            p.setChildProcessModifier([] {
                int fds[2];
                if (::pipe(fds) == 0 && ::close(fds[0]) == 0 && ::dup2(fds[1], 1) == 1)
                    ::dup2(fds[1], 2);
            });
#endif
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PATH", QDir::toNativeSeparators(QFileInfo(QStringLiteral(VESKOR_CLI_PATH)).absolutePath()) +
                               QDir::listSeparator() + env.value("PATH")); // Windows: the run-time beside the real one
        env.insert("QT_PLUGIN_PATH", QFileInfo(QStringLiteral(VESKOR_CLI_PATH)).absolutePath()); // and its platforms
        p.setProcessEnvironment(env);
        QSignalSpy finished(&p, &QProcess::finished); // the simulator answers from this event loop
        const QString port = QStringLiteral("COM %1").arg(s->sim.comNumber());
        p.start(program, withPort ? QStringList{"--port", port} + arguments : arguments);
        if (during)
            during(p);
        if (!finished.wait(60000))
            return -1;
        out = p.readAllStandardOutput();
        qInfo("%s", out.constData());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
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
        const struct {
            const char *name, *command, *fault;
            int exitCode;
        } faults[] = {{"a file validation refuses", "write", "refused", 2},
                      {"a password the line cannot carry", "write", "8-bit password", 2},
                      {"a silent module", "read", "silent", 3},
                      {"a hang-up on the first request", "read", "hang-up at once", 4},
                      {"a probe pulled mid-write", "write", "hang-up", 4},
                      {"a verification mismatch", "write", "mismatch", 4},
                      {"a daily schedule", "write", "daily", 0},
                      {"SIGTERM mid-write", "write", "SIGTERM", 143},
                      {"a closed stdout", "write", "closed stdout", 0}};
        for (const auto &f : faults)
            QTest::newRow(f.name) << mkv << QByteArray("02.00l") << f.command << f.fault << f.exitCode;
    }
    void commands()
    {
        QFETCH(int, family);
        QFETCH(QByteArray, version);
        QFETCH(QString, command);
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        if (fault == "SIGTERM" && QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows)
            QSKIP("no signals to send a console program here");
        s->sim.setIdentity(TestSimulator::Family(family), version);
        if (fault == "silent" || fault == "hang-up at once") {
            fault == "silent" ? s->sim.setSilentAfter(0) : s->sim.setHangUpAfter(0);
            QCOMPARE(cli({"--read", file("read.qovsms")}), exitCode);
            return;
        }
        QCOMPARE(cli({"--read", file("read.qovsms"), "--log", file("read.log")}), 0);
        // The module's answers are hidden too, not only the requests.
        const QByteArray readLog = readFile(file("read.log"));
        QVERIFY(readLog.contains("<SOH>G20<STX>(" + QByteArray(s->sim.reg("G20").size(), '*') + ")<EOT>"));
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
        // Shorter than the module keeps it (a write pads it); one the line cannot carry.
        u.MeterPassword.setBytes(fault == "8-bit password" ? "has\xb3o" : "Xk9Qp");
        if (fault == "daily") {
            u.Harmonogram_rodzaj = 2;
            u.Harmonogram_dzien = 1;
            s->sim.setBaudRate(4800); // the whole write lasts well beyond --idle 1
        }
        QVERIFY(ConfigurationFile::save(file("write.qovsms"), u));
        const int asked = int(s->sim.requestCodes().size());
        if (fault == "hang-up")
            s->sim.setHangUpAfter(asked + 6);
        if (fault == "mismatch")
            s->sim.setStoreDifferently("S20");
        const auto during = [&](QProcess &p) {
            if (fault == "SIGTERM") {
                QTRY_VERIFY_WITH_TIMEOUT(s->sim.requestCodes().size() > asked + 8, 20000);
                p.terminate();
            }
        };
        // Every step well within a second, the whole write well beyond.
        m_closedOutput = fault == "closed stdout";
        QCOMPARE(cli({"--write", file("write.qovsms"), "--log", file("write.log"), "--idle", "1"}, true, during),
                 exitCode);
        m_closedOutput = false;
        if (exitCode == 2) {
            QCOMPARE(s->sim.requestCodes().mid(asked), QList<QByteArray>{"GE0"}); // nothing written
        } else if (exitCode != 4) {
            QCOMPARE(s->sim.reg("G20"), QByteArray("4321"));
            QCOMPARE(cli({"--compare", file("write.qovsms")}), 0);
            // The log of a write can be mailed: no PIN, access code or password in it.
            const QByteArray log = readFile(file("write.log"));
            QVERIFY(log.contains("<SOH>S20<STX>[****]<EOT>"));
            QVERIFY(log.contains(fault == "SIGTERM" ? "koniec: Programowanie zakończone powodzeniem. (po SIGTERM)"
                                                    : "koniec: Programowanie zakończone"));
            for (const QByteArray &secret : {QByteArray("[4321]"), QByteArray("7315"), u.MeterPassword.bytes()})
                QVERIFY2(!log.contains(secret), secret.constData());
            QCOMPARE(cli({"--read", file("again.qovsms")}), 0);
            TUstawienie again = emptyConfiguration();
            QVERIFY(ConfigurationFile::fromBytes(readFile(file("again.qovsms")), again));
            QCOMPARE(again.Harmonogram_rodzaj, u.Harmonogram_rodzaj);
            u.Telefony[2].setText("601999999");
            QVERIFY(ConfigurationFile::save(file("write.qovsms"), u));
            QCOMPARE(cli({"--compare", file("write.qovsms")}), 4);
            QVERIFY(out.contains("  numer 3") && !out.contains("numer 4"));
        }
    }

    // A workshop's batch: three modules behind one probe, the second storing wrongly;
    // the first, left on the probe, is looked at again but not written twice.
    void aBatchWritesEachModuleOnce()
    {
        QCOMPARE(cli({"--read", file("wzor.qovsms")}), 0);
        const QString journal = file("dziennik.csv");
        const auto rows = [&] { return readFile(journal).count("\r\n") - 1; }; // the header aside
        const auto during = [&](QProcess &) {
            QTRY_VERIFY_WITH_TIMEOUT(rows() == 2, 20000);
            const auto serialReads = [&] { return s->sim.requestCodes().count("G00"); };
            const qsizetype seen = serialReads();
            QTRY_VERIFY_WITH_TIMEOUT(serialReads() > seen + 1, 20000);
            QCOMPARE(rows(), 2);
            s->sim.setRegister("G00", "40012346");
            s->sim.setStoreDifferently("S30");
            QTRY_VERIFY_WITH_TIMEOUT(rows() == 3, 20000);
            s->sim.setRegister("G00", "40012347");
            s->sim.setStoreDifferently("");
        };
        QCOMPARE(cli({"--write", file("wzor.qovsms"), "--batch", "--count", "3"}, true, during), 4);
        // "Niezgodno" and no further: on Windows the rest comes in the console's code page.
        QVERIFY(out.contains("40012345  zapisany i zweryfikowany") && out.contains("40012346  Niezgodno") &&
                out.contains("40012347  zapisany i zweryfikowany"));
        QVERIFY(out.contains("Zapisane i zweryfikowane: 2, nieudane: 1 (40012346)"));
        QCOMPARE(readFile(journal).count(";zapis;"), 3);
        QCOMPARE(QDir(s->dir.filePath("Protokoły")).entryList({"4001234*.pdf"}).size(), 2);
    }

    // Refused whole (status 1, the module never hears a frame), or taken as typed.
    void arguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        const QString read = QStringLiteral("--read=") + QDir::temp().filePath("veskor-cli-arguments.qovsms");
        const struct {
            const char *name;
            QStringList arguments;
            int exitCode;
        } rows[] = {{"a port number alone", {"--port", "9", read}, 1},
                    {"a port beyond 65535", {"--port", "COM 70000", read}, 1},
                    {"a port number with a leading zero", {"--port", "COM09", read}, 1},
                    {"an unquoted \"COM 9\"", {"--port", "COM", "9", read}, 1},
                    {"a word that is no option", {"--port", "%1", "read", read}, 1},
                    {"an option given twice", {"--port", "%1", "--write", "a", "--write", "b"}, 1},
                    {"--list-ports with a command", {"--list-ports", "--port", "%1", read}, 1},
                    {"--log naming the file", {"--port", "%1", "--write", "a", "--log", "./a"}, 1},
                    {"a port that cannot be opened", {"--port", "COM 200", read}, 5},
                    {"a read into a missing folder", {"--port", "%1", "--read", "/brak/odczyt.qovsms"}, 2},
                    {"a port as Windows writes it", {"--port", "%1", read}, 0},
                    {"a port as a device path", {"--port", "%1", read}, 0}};
        for (const auto &r : rows)
            QTest::newRow(r.name) << r.arguments << r.exitCode;
    }
    void arguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const QString row = QString::fromLatin1(QTest::currentDataTag());
        if (row.contains("device") && !PortNaming::acceptsDevicePaths())
            QSKIP("ports are COM numbers only here");
        const QString port = row.contains("Windows")  ? QStringLiteral("com%1").arg(s->sim.comNumber())
                             : row.contains("device") ? QString::fromLatin1(s->sim.portsLine().split('=').last())
                                                      : QStringLiteral("COM %1").arg(s->sim.comNumber());
        QCOMPARE(cli(arguments.replaceInStrings("%1", port), false), exitCode);
        QCOMPARE(s->sim.requestCodes().isEmpty(), exitCode != 0);
    }

    // Private, named by UTC, and rotation touches no file but the program's own logs.
    void theNewestLogsAreKept()
    {
        qputenv("TZ", "Europe/Warsaw"); // names by UTC, not by the clock on the wall
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
