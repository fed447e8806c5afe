#include "ProfileFile.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestProfileFile : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath("QOVMS.ini"); }

private slots:
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
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
