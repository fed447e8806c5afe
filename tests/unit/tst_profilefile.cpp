#include "ProfileFile.h"
#include "ProgramFolders.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const auto kReadOnly = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                       QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
const auto kWritable = kReadOnly | QFileDevice::WriteOwner;

// Read-only for this user, and whether that means anything: root, and Windows
// with its folder attribute, write regardless. Folder permissions are tried as
// a technician meets them, so CTest runs this program as an ordinary user.
bool makeReadOnly(const QString &folder)
{
    QFile::setPermissions(folder, kReadOnly);
    QFile probe(QDir(folder).filePath("probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.remove();
    return false;
}
} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath("QOVMS.ini"); }

private slots:
    void initTestCase()
    {
        // The user's own folders: in a home of this test's, whoever runs it.
        qputenv("HOME", QFile::encodeName(m_dir.filePath("home")));
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DOCUMENTS_DIR");
    }
    void init() { QFile::remove(path()); }

    void missingFileReadsAsEmpty()
    {
        ProfileFile ini(path());
        QVERIFY(ini.load());
        QVERIFY(!ini.exists());
        QVERIFY(!ini.hasSection("MAIN"));
        QCOMPARE(ini.readString("MAIN", "ComPort", "COM 1"), QStringLiteral("COM 1"));
    }

    void namesMatchWithoutRegardToCase()
    {
        writeFile(path(), "[main]\r\ncomport='COM 3'\r\nDETECTCOM=0\r\n");
        ProfileFile ini(path());
        QVERIFY(ini.load());
        QVERIFY(ini.hasSection("MAIN"));
        QCOMPARE(ini.readString("MAIN", "ComPort"), QStringLiteral("COM 3"));
        QCOMPARE(ini.readString("Main", "DetectCom"), QStringLiteral("0"));
        QCOMPARE(ini.keys("MAIN"), QStringList({"comport", "DETECTCOM"}));
    }

    void onePairOfEnclosingQuotesIsStripped_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("value");
        QTest::newRow("single") << QByteArray("'COM 3'") << "COM 3";
        QTest::newRow("double") << QByteArray("\"COM 3\"") << "COM 3";
        QTest::newRow("only one pair") << QByteArray("''COM 3''") << "'COM 3'";
        QTest::newRow("mismatched") << QByteArray("'COM 3\"") << "'COM 3\"";
        QTest::newRow("spaces around") << QByteArray("  'COM 3'  ") << "COM 3";
        QTest::newRow("a lone quote") << QByteArray("'") << "'";
        QTest::newRow("no escapes") << QByteArray("C:\\dev\\x,y") << "C:\\dev\\x,y";
        QTest::newRow("equals in value") << QByteArray("a=b") << "a=b";
    }

    void onePairOfEnclosingQuotesIsStripped()
    {
        QFETCH(QByteArray, raw);
        QFETCH(QString, value);
        writeFile(path(), "[MAIN]\nComPort=" + raw + "\n");
        ProfileFile ini(path());
        QVERIFY(ini.load());
        QCOMPARE(ini.readString("MAIN", "ComPort"), value);
    }

    void keysOfOtherSectionsAreNotSeen()
    {
        writeFile(path(), "[PORTS]\nComPort=x\n[MAIN]\nDetectCOM=1\n");
        ProfileFile ini(path());
        QVERIFY(ini.load());
        QVERIFY(!ini.contains("MAIN", "ComPort"));
        QCOMPARE(ini.readString("PORTS", "comport"), QStringLiteral("x"));
    }

    void writingKeepsEveryOtherByte()
    {
        // LF endings, a comment, another section, odd spacing and a code-page byte.
        const QByteArray before = "; technik\n[PORTS]\nCOM9 = /dev/pts/4\n\n[Main]\nComPort='COM 3'\n"
                                  "Other=\xb3\xf3\n\n[Z]\nk=v";
        writeFile(path(), before);
        ProfileFile ini(path());
        QVERIFY(ini.load());
        ini.writeString("MAIN", "ComPort", "'COM 7'");
        ini.writeString("MAIN", "DetectCOM", "0");
        QVERIFY(ini.save());
        QCOMPARE(readFile(path()), QByteArray("; technik\n[PORTS]\nCOM9 = /dev/pts/4\n\n[Main]\nComPort='COM 7'\n"
                                             "Other=\xb3\xf3\nDetectCOM=0\r\n\n[Z]\nk=v"));
        QVERIFY(ini.load());
        QCOMPARE(ini.readString("MAIN", "Other"), QStringLiteral("łó"));
        QCOMPARE(ini.readString("PORTS", "COM9"), QStringLiteral("/dev/pts/4"));
    }

    // Notepad's "Unicode" and "UTF-8 with BOM": read, and written back as they were,
    // also when the mark lies (code page 1250 behind it) or a byte is left over.
    void aMarkedFileKeepsItsEncoding_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const auto u16 = [](const QString &t) {
            return "\xff\xfe" + QByteArray(reinterpret_cast<const char *>(t.utf16()), t.size() * 2);
        };
        const QString text = QStringLiteral("[MAIN]\r\nComPort='COM 3'\r\nKto=Łukasz ✓\r\n");
        const QString added = text + QStringLiteral("DetectCOM=0\r\n");
        QTest::newRow("UTF-16LE") << u16(text) << u16(added);
        QTest::newRow("UTF-16LE, odd length") << u16(text) + 'A' << u16(added) + 'A';
        QTest::newRow("UTF-8") << "\xef\xbb\xbf" + text.toUtf8() << "\xef\xbb\xbf" + added.toUtf8();
        const QByteArray cp1250 = "\xef\xbb\xbf[MAIN]\r\n; \xb3\xf3\xea\r\nComPort='COM 3'\r\n";
        QTest::newRow("UTF-8 mark, code page 1250") << cp1250 << cp1250 + "DetectCOM=0\r\n";
    }
    void aMarkedFileKeepsItsEncoding()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        writeFile(path(), before);
        ProfileFile ini(path());
        QVERIFY(ini.load());
        QCOMPARE(ini.readString("main", "comport"), QStringLiteral("COM 3"));
        ini.writeString("MAIN", "DetectCOM", "0");
        QVERIFY(ini.save());
        QCOMPARE(readFile(path()), after);
    }

    void writingANewSectionAppendsIt()
    {
        writeFile(path(), "[PORTS]\nCOM9=/dev/pts/4");
        ProfileFile ini(path());
        QVERIFY(ini.load());
        ini.writeString("MAIN", "ComPort", "'COM 1'");
        QVERIFY(ini.save());
        QCOMPARE(readFile(path()), QByteArray("[PORTS]\nCOM9=/dev/pts/4\r\n[MAIN]\r\nComPort='COM 1'\r\n"));
    }

    void writingCreatesAMissingFileWithCrLf()
    {
        ProfileFile ini(path());
        QVERIFY(ini.load());
        ini.writeString("MAIN", "ComPort", "'COM 1'");
        ini.writeString("MAIN", "DetectCOM", "1");
        QVERIFY(ini.save());
        QCOMPARE(readFile(path()), QByteArray("[MAIN]\r\nComPort='COM 1'\r\nDetectCOM=1\r\n"));
    }

    void aFailedSaveLeavesTheOldFileAndSaysWhy()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("QOVMS.ini");
        writeFile(file, "[MAIN]\nComPort='COM 3'\n");
        ProfileFile ini(file);
        QVERIFY(ini.load());
        ini.writeString("MAIN", "ComPort", "'COM 4'");
        // A folder where the file should be: nothing can be written there.
        ProfileFile blocked(dir.path());
        blocked.writeString("MAIN", "ComPort", "'COM 4'");
        QVERIFY(!blocked.save());
        QVERIFY(!blocked.errorString().isEmpty());
        QCOMPARE(readFile(file), QByteArray("[MAIN]\nComPort='COM 3'\n"));
    }

    void aReadOnlyFolderKeepsAWritableFile_data()
    {
        QTest::addColumn<bool>("fileWritable");
        QTest::newRow("writable file: written in place") << true;
        QTest::newRow("read-only file: refused, old file kept") << false;
    }
    void aReadOnlyFolderKeepsAWritableFile()
    {
        QFETCH(bool, fileWritable);
        QTemporaryDir dir;
        const QString file = dir.filePath("QOVMS.ini");
        writeFile(file, "[MAIN]\r\nComPort='COM 3'\r\n");
        QFile::setPermissions(file, fileWritable ? kWritable : kReadOnly);
        const bool meaningful = makeReadOnly(dir.path());
        auto restore = qScopeGuard([&] { QFile::setPermissions(dir.path(), kWritable); });
        if (!meaningful)
            QSKIP("this user may write into any folder; run as an ordinary user");
        ProfileFile ini(file);
        QVERIFY(ini.load());
        ini.writeString("MAIN", "ComPort", "'COM 4'");
        QCOMPARE(ini.save(), fileWritable);
        QCOMPARE(readFile(file), fileWritable ? QByteArray("[MAIN]\r\nComPort='COM 4'\r\n")
                                              : QByteArray("[MAIN]\r\nComPort='COM 3'\r\n"));
        QCOMPARE(ini.errorString().isEmpty(), fileWritable);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"QOVMS.ini"});
    }

    void programFolders_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("portable");
        QTest::newRow("a folder of one's own") << "own" << true;
        QTest::newRow("read-only folder") << "read-only" << false;
        QTest::newRow("read-only folder, writable settings file") << "read-only with settings" << true;
        QTest::newRow("read-only folder and settings file") << "read-only with read-only settings" << false;
        QTest::newRow("bin of an installed tree") << "installed" << false;
        QTest::newRow("system program folder") << "system" << false;
    }
    void programFolders()
    {
        QFETCH(QString, layout);
        QFETCH(bool, portable);
        QTemporaryDir dir;
        QString program = dir.filePath("veskor");
        QVERIFY(QDir().mkpath(program));
        if (layout == "installed") {
            program = dir.filePath("usr/bin");
            QVERIFY(QDir().mkpath(program));
            QVERIFY(QDir().mkpath(dir.filePath("usr/share/applications")));
            writeFile(dir.filePath("usr/share/applications/veskor.desktop"), "[Desktop Entry]\n");
        } else if (layout == "system") {
            // Writable for root and administrators, and still not the program's own.
            const QString programFiles = QDir::fromNativeSeparators(qEnvironmentVariable("ProgramFiles"));
            program = programFiles.isEmpty() ? QStringLiteral("/usr/bin") : programFiles + "/" + QFileInfo(dir.path()).fileName();
            QDir().mkpath(program);
        } else if (layout.startsWith("read-only")) {
            if (layout.endsWith("settings"))
                writeFile(QDir(program).filePath("QOVMS.ini"), "[PORTS]\r\nCOM9=/dev/pts/7\r\n");
            if (layout.endsWith("read-only settings")) {
                QVERIFY(QDir(program).mkdir("Konfiguracje"));
                QFile::setPermissions(QDir(program).filePath("QOVMS.ini"), kReadOnly);
            }
            const bool meaningful = makeReadOnly(program);
            if (!meaningful)
                QSKIP("this user may write into any folder; run as an ordinary user");
        }
        auto restore = qScopeGuard([&] {
            QFile::setPermissions(dir.filePath("veskor"), kWritable);
            if (layout == "system" && program != "/usr/bin")
                QDir(program).removeRecursively();
        });

        const ProgramFolders folders = ProgramFolders::forProgramIn(program);
        QCOMPARE(folders.portable, portable);
        QCOMPARE(ProgramFolders::isSystemProgramFolder(program), layout == "system");
        QVERIFY(!ProgramFolders::isBelowAny("/optika/veskor", {"/opt"}) && ProgramFolders::isBelowAny("/opt", {"/opt"}));
        const QString home = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
        if (portable) {
            QCOMPARE(folders.settingsFile, program + "/QOVMS.ini");
            QCOMPARE(folders.configurations, program + "/Konfiguracje");
        } else if (home == m_dir.filePath("home")) { // Windows asks the system, not HOME
            QCOMPARE(folders.settingsFile, home + "/.config/Veskor/QOVMS.ini");
            QCOMPARE(folders.configurations, home + "/Documents/Konfiguracje");
        } else {
            QVERIFY(folders.settingsFile.endsWith("/Veskor/QOVMS.ini"));
            QVERIFY(folders.configurations.endsWith("/Konfiguracje"));
        }
        if (layout != "system") // the decision left nothing behind
            QVERIFY(QDir(program).entryList(QDir::Files).size() <= 1);

        // What lies beside the program is where the user's own settings and files start.
        if (layout.endsWith("read-only settings") && home == m_dir.filePath("home")) {
            QFile::remove(folders.settingsFile);
            QVERIFY(folders.startUserSettings());
            QCOMPARE(readFile(folders.settingsFile), QByteArray("[PORTS]\r\nCOM9=/dev/pts/7\r\n"));
            QCOMPARE(folders.openFolder(), program + "/Konfiguracje");
            // Once the user has their own, neither the administrator's file nor folder is used again.
            writeFile(folders.settingsFile, "[MAIN]\r\n");
            QVERIFY(folders.startUserSettings());
            QCOMPARE(readFile(folders.settingsFile), QByteArray("[MAIN]\r\n"));
            QVERIFY(QDir().mkpath(folders.configurations));
            writeFile(folders.configurations + "/wzor.qovsms", "x");
            QCOMPARE(folders.openFolder(), folders.configurations);
        }
        // The user's folders are made when first needed (not the real user's here).
        if (portable || home == m_dir.filePath("home")) {
            ProfileFile ini(folders.settingsFile);
            ini.writeString("MAIN", "DetectCOM", "1");
            QVERIFY2(ini.save(), qPrintable(ini.errorString()));
        }
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
