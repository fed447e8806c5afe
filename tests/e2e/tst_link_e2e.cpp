#include "Frames.h"
#include "ModuleSimulator.h"
#include "ScriptedDialogs.h"
#include "Termination.h"
#include "uMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The real window and the real QSerialPort against the simulator on a pseudo-terminal,
// reached as "COM 9" through the settings file beside the (pretend) executable.
class TestLinkEndToEnd : public QObject {
    Q_OBJECT
private:
    QTemporaryDir *dir = nullptr;
    ModuleSimulator *sim = nullptr;
    ScriptedDialogs *dialogs = nullptr;
    TMainForm *form = nullptr;

    QPushButton *polacz() const { return form->findChild<QPushButton *>("BitBtnPolacz"); }

    void makeForm()
    {
        QFile ini(dir->filePath("QOVMS.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[PORTS]\r\nCOM9=" + sim->slavePath().toLocal8Bit() + "\r\n");
        ini.close();
        form = new TMainForm(ProgramFolders::beside(dir->path()), dialogs);
        auto *combo = form->findChild<QComboBox *>("FlatComboBoxComPort");
        combo->setCurrentText("COM 9");
        QCOMPARE(combo->currentText(), QStringLiteral("COM 9"));
    }

    void connectAndIdentify()
    {
        QSignalSpy identified(form->engine(), &LinkEngine::identified);
        QTest::mouseClick(polacz(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(identified.count(), 1, 5000);
    }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        sim = new ModuleSimulator;
        sim->setHalfDuplex(true);
        QString error;
        QVERIFY2(sim->start(&error), qPrintable(error));
        dialogs = new ScriptedDialogs;
    }

    void cleanup()
    {
        delete form;
        form = nullptr;
        delete sim;
        delete dialogs;
        delete dir;
    }

    void identifiesEachFamily_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("deviceVersion");
        QTest::addColumn<bool>("latch");
        QTest::addColumn<int>("maxNumbers");
        QTest::newRow("MKV 01.12") << int(ModuleSimulator::Family::MKV) << QByteArray("01.12") << int(dtMKVx)
                                   << QByteArray("01.12") << false << 16;
        QTest::newRow("MKV 01.15l") << int(ModuleSimulator::Family::MKV) << QByteArray("01.15l") << int(dtMKVx)
                                    << QByteArray("01.15") << true << 16;
        QTest::newRow("MKV 02.00l") << int(ModuleSimulator::Family::MKV) << QByteArray("02.00l") << int(dtMKVx)
                                    << QByteArray("02.00") << true << 16;
        QTest::newRow("RW-5/GSM") << int(ModuleSimulator::Family::RW5GSM) << QByteArray("1.03") << int(dtRW5SMS)
                                  << QByteArray("1.03") << true << 8;
        QTest::newRow("RW-5/SMS") << int(ModuleSimulator::Family::RW5SMS) << QByteArray("2.1") << int(dtRW5SMS)
                                  << QByteArray("2.1") << true << 8;
    }

    void identifiesEachFamily()
    {
        QFETCH(int, family);
        QFETCH(QByteArray, version);
        QFETCH(int, type);
        QFETCH(QByteArray, deviceVersion);
        QFETCH(bool, latch);
        QFETCH(int, maxNumbers);
        sim->setIdentity(ModuleSimulator::Family(family), version);
        sim->setBaudRate(4800); // real line timing, so the figure below means something
        makeForm();
        QElapsedTimer clock;
        clock.start();
        connectAndIdentify();
        qInfo("identified in %lld ms", clock.elapsed());
        LinkEngine *engine = form->engine();
        QCOMPARE(int(engine->DeviceType), type);
        QCOMPARE(engine->DeviceVersion, deviceVersion);
        QCOMPARE(engine->IsLatch, latch);
        QCOMPARE(engine->MaxNumbers, maxNumbers);
        QCOMPARE(form->statusText(), QStringLiteral("Status: Port otwarty"));
        QCOMPARE(polacz()->text(), QStringLiteral("Zamknij port"));
        // A prompt module is identified by the first request: nothing was flushed away.
        QCOMPARE(sim->requestCodes(), QList<QByteArray>{"GE0"});

        QTest::mouseClick(polacz(), Qt::LeftButton);
        QCOMPARE(form->statusText(), QStringLiteral("Status: Port zamknięty"));
        QCOMPARE(polacz()->text(), QStringLiteral("Otwórz port"));
        QVERIFY(dialogs->shown.isEmpty());
    }

    void identifiesThroughAnEchoingProbeAndSplitAnswers()
    {
        sim->setEcho(true);
        sim->setSplit(3, 15);
        sim->setNoise("~\x7f#");
        sim->setBaudRate(4800);
        sim->setAdapterLatency(16); // a USB probe's default
        makeForm();
        connectAndIdentify();
        QCOMPARE(form->engine()->DeviceVersion, QByteArray("02.00"));
        QVERIFY(dialogs->shown.isEmpty());
    }

    void refusesAnOldFirmware()
    {
        sim->setIdentity(ModuleSimulator::Family::MKV, "01.11");
        makeForm();
        QTest::mouseClick(polacz(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(dialogs->shown.size(), 1, 5000);
        QCOMPARE(dialogs->shown[0].caption, QStringLiteral("Informacja"));
        QCOMPARE(dialogs->shown[0].text,
                 QStringLiteral("Ta wersja programu nie obsługuje modułów MKV-1/MKV-3 w wersji 01.11."));
        QCOMPARE(form->statusText(), QStringLiteral("Status: Port zamknięty"));
        QVERIFY(!form->ApdComPortIrDA()->isOpen());
    }

    void silentModuleGetsTheRequestRepeatedEverySecond()
    {
        sim->setSilentAfter(0);
        makeForm();
        QTest::mouseClick(polacz(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sim->requestCodes().size() >= 3, 5000);
        for (const QByteArray &code : sim->requestCodes())
            QCOMPARE(code, QByteArray("GE0"));
        QCOMPARE(form->statusText(), QStringLiteral("Status: Port otwarty"));
        QVERIFY(dialogs->shown.isEmpty());
    }

    void aModuleThatHangsUpEndsInOneMessage()
    {
        makeForm();
        connectAndIdentify();
        sim->hangUp();
        QTRY_COMPARE_WITH_TIMEOUT(form->statusText(), QStringLiteral("Status: Port zamknięty"), 5000);
        // Any storm of errors from the vanished line would show up as more boxes.
        QTest::qWait(300);
        QCOMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].caption, QStringLiteral("Błąd"));
        QVERIFY(dialogs->shown[0].text.startsWith(QStringLiteral("Błąd: ")));
        QCOMPARE(polacz()->text(), QStringLiteral("Otwórz port"));
        QVERIFY(polacz()->isEnabled());
    }

    void aNumberWithoutDeviceCannotBeOpened()
    {
        makeForm();
        form->findChild<QCheckBox *>("CheckBoxWykrywanieCOM")->setChecked(false); // the fixed list has COM 16
        form->findChild<QComboBox *>("FlatComboBoxComPort")->setCurrentText("COM 16");
        QCOMPARE(form->findChild<QComboBox *>("FlatComboBoxComPort")->currentText(), QStringLiteral("COM 16"));
        if (QFile::exists("/dev/ttyS15"))
            QSKIP("this machine has /dev/ttyS15");
        QTest::mouseClick(polacz(), Qt::LeftButton);
        QCOMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].text, QStringLiteral("Błąd: ie_BadId - Specified comport doesn't exist"));
        QCOMPARE(form->statusText(), QStringLiteral("Status: Port zamknięty"));
        QVERIFY(polacz()->isEnabled());
    }

    void closingTheWindowClosesThePortFirst_data()
    {
        QTest::addColumn<bool>("bySignal");
        QTest::newRow("close button") << false;
        QTest::newRow("SIGTERM, as a log-out or kill sends it") << true;
    }
    void closingTheWindowClosesThePortFirst()
    {
        QFETCH(bool, bySignal);
        makeForm();
        form->show();
        connectAndIdentify();
        QSignalSpy closed(form->ApdComPortIrDA(), &SerialPort::portClosed);
        if (bySignal) {
            closeOnTermination(form);
            ::raise(SIGTERM);
        } else {
            QVERIFY(!form->close()); // refused: the port goes first
        }
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 2000);
        QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 2000);
        QFile ini(dir->filePath("QOVMS.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly) && ini.readAll().contains("ComPort='COM 9'"));
    }
};

QTEST_MAIN(TestLinkEndToEnd)
#include "tst_link_e2e.moc"
