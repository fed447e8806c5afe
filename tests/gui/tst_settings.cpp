#include "FakePortSource.h"
#include "FakeSerialPort.h"
#include "ScriptedDialogs.h"
#include "uMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Start-up reads the settings file beside the program; closing writes it back.
class TestSettings : public QObject {
    Q_OBJECT
private:
    QTemporaryDir *dir = nullptr;
    ScriptedDialogs *dialogs = nullptr;
    std::shared_ptr<FakePortSource::Names> ports;

    QString iniPath() const { return dir->filePath("QOVMS.ini"); }
    void writeIni(const QByteArray &bytes)
    {
        QFile f(iniPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readIni()
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::unique_ptr<TMainForm> makeForm()
    {
        return std::make_unique<TMainForm>(ProgramFolders::beside(dir->path()), dialogs, new FakeSerialPort,
                                           std::make_unique<FakePortSource>(ports));
    }
    static QComboBox *list(TMainForm *f) { return f->findChild<QComboBox *>("FlatComboBoxComPort"); }
    static QCheckBox *detect(TMainForm *f) { return f->findChild<QCheckBox *>("CheckBoxWykrywanieCOM"); }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        dialogs = new ScriptedDialogs;
        ports = std::make_shared<FakePortSource::Names>();
        ports->value = QStringList{"COM3", "COM1", "COM12"};
    }
    void cleanup()
    {
        delete dialogs;
        delete dir;
    }

    void firstStartWithoutASettingsFile()
    {
        auto form = makeForm();
        QVERIFY(detect(form.get())->isChecked());
        QCOMPARE(list(form.get())->count(), 3);
        QCOMPARE(list(form.get())->currentText(), QStringLiteral("COM 1"));
        QVERIFY(form->close());
        QCOMPARE(readIni(), QByteArray("[MAIN]\r\nComPort='COM 1'\r\nDetectCOM=1\r\n"));
    }

    void detectionOffWithARememberedPort()
    {
        writeIni("[MAIN]\r\nComPort='COM 12'\r\nDetectCOM=0\r\n");
        auto form = makeForm();
        QVERIFY(!detect(form.get())->isChecked());
        QCOMPARE(list(form.get())->count(), 16);
        QCOMPARE(list(form.get())->currentText(), QStringLiteral("COM 12"));
        list(form.get())->setCurrentText("COM 7");
        QVERIFY(form->close());
        QCOMPARE(readIni(), QByteArray("[MAIN]\r\nComPort='COM 7'\r\nDetectCOM=0\r\n"));
    }

    void booleansAndNamesAsTheProfileFunctionsReadThem_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("detecting");
        QTest::addColumn<QString>("selected");
        QTest::newRow("yes is not a Boolean: detection stays on")
            << QByteArray("[MAIN]\nDetectCOM=yes\nComPort='COM 3'\n") << true << "COM 3";
        QTest::newRow("False in any case") << QByteArray("[MAIN]\nDetectCOM=fAlSe\n") << false << "COM 1";
        QTest::newRow("a number other than 0") << QByteArray("[MAIN]\nDetectCOM=7\n") << true << "COM 1";
        QTest::newRow("lower-case names, double quotes")
            << QByteArray("[main]\ndetectcom=0\ncomport=\"COM 9\"\n") << false << "COM 9";
        QTest::newRow("no space after COM") << QByteArray("[MAIN]\nDetectCOM=0\nComPort=COM5\n") << false << "COM 1";
        QTest::newRow("a port the detected list lacks") << QByteArray("[MAIN]\nComPort='COM 7'\n") << true << "COM 1";
        QTest::newRow("letter case of the entry matters") << QByteArray("[MAIN]\nComPort='COM 12'\n") << true << "COM 12";
        QTest::newRow("a section without keys") << QByteArray("[MAIN]\n[OTHER]\nDetectCOM=0\n") << true << "COM 1";
    }

    void booleansAndNamesAsTheProfileFunctionsReadThem()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, detecting);
        QFETCH(QString, selected);
        writeIni(ini);
        auto form = makeForm();
        QCOMPARE(detect(form.get())->isChecked(), detecting);
        QCOMPARE(list(form.get())->currentText(), selected);
    }

    void otherLinesAreKeptByteForByte()
    {
        const QByteArray before = "; serwis\n[PORTS]\nCOM9=/dev/serial/by-id/usb-probe\n\n[Main]\nComPort='COM 3'\n"
                                  "Other=x\n\n[Z]\nk=v\n";
        writeIni(before);
        auto form = makeForm();
        QCOMPARE(list(form.get())->currentText(), QStringLiteral("COM 3"));
        QVERIFY(form->close());
        QCOMPARE(readIni(), QByteArray("; serwis\n[PORTS]\nCOM9=/dev/serial/by-id/usb-probe\n\n[Main]\nComPort='COM 3'\n"
                                       "Other=x\nDetectCOM=1\r\n\n[Z]\nk=v\n"));
    }

    void anEmptyListIsRememberedAsCom1()
    {
        ports->value = QStringList{"LPT1"};
        auto form = makeForm();
        QCOMPARE(list(form.get())->count(), 0);
        QVERIFY(form->close());
        QVERIFY(readIni().contains("ComPort='COM 1'"));
    }

    void anUnwritableFileIsReportedAndTheWindowStillCloses()
    {
        // A folder where the file should be: nothing can be written there, even as root.
        QVERIFY(QDir().mkpath(iniPath()));
        auto form = makeForm();
        form->show();
        QVERIFY(form->close());
        QVERIFY(!form->isVisible());
        QCOMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].caption, QStringLiteral("Błąd"));
        QCOMPARE(dialogs->shown[0].text, QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(iniPath()));
    }

    void theDropDownRefillsTheList()
    {
        auto form = makeForm();
        form->show();
        ports->value = QStringList{"COM1", "COM3", "COM12", "COM33"};
        list(form.get())->showPopup();
        QCOMPARE(list(form.get())->count(), 4);
        QCOMPARE(list(form.get())->currentText(), QStringLiteral("COM 1"));
        list(form.get())->hidePopup();
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
