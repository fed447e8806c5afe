#include "SimulatedSession.h"
#include "uKomunikat.h"

#include <QCheckBox>
#include <QDir>
#include <QStandardPaths>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>

#include <algorithm>

// Reading, writing and verifying through the real window and the real port,
// against the simulator on a pseudo-terminal.
class TestSequencesEndToEnd : public QObject {
    Q_OBJECT
private:
    SimulatedSession *s = nullptr;
    TestSimulator *sim = nullptr;
    TMainForm *form = nullptr;

    template <typename T = QWidget> T *c(const char *name) { return s->c<T>(name); }
    void click(const char *button) { s->click(button); }

    void start(TestSimulator::Family family, const QByteArray &version)
    {
        sim->setIdentity(family, version);
        s->openWindow();
        form = s->form.get();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QVERIFY(s->connectModule());
        sim->clearLog();
    }

    void read()
    {
        click("BitBtnOdczytLicznik");
        QTRY_COMPARE_WITH_TIMEOUT(form->statusText(), QStringLiteral("Status: Połączony"), 10000);
    }

    // Writes what the editor holds, waits for the verdict in the message window and closes it.
    void writeAndVerify(QString *verdict)
    {
        click("BitBtnZapisLicznik");
        QTRY_VERIFY_WITH_TIMEOUT(form->komunikatForm(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(form->statusText(), QStringLiteral("Status: Połączony"), 10000);
        *verdict = form->komunikatForm()->LabelKomunkat->text();
        QPointer<TKomunikatForm> k = form->komunikatForm();
        QTest::mouseClick(k->BitBtnOK, Qt::LeftButton);
        QTRY_VERIFY(!k);
    }
    void expectSuccessfulWrite()
    {
        QString verdict;
        writeAndVerify(&verdict);
        QCOMPARE(verdict, QStringLiteral("Programowanie zakończone powodzeniem."));
    }

private slots:
    void init()
    {
        s = new SimulatedSession;
        qputenv("XDG_DATA_HOME", QFile::encodeName(s->dir.filePath("data"))); // the window's logs: this test's own
        QVERIFY(s->startSimulator());
        sim = &s->sim;
        form = nullptr;
    }
    void cleanup() { delete s; }

    void readsEachModuleKindIntoTheEditor_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<int>("requests");
        QTest::newRow("MKV 01.12") << int(TestSimulator::Family::MKV) << QByteArray("01.12") << 27;
        QTest::newRow("MKV 01.15l") << int(TestSimulator::Family::MKV) << QByteArray("01.15l") << 27;
        QTest::newRow("MKV 02.00l") << int(TestSimulator::Family::MKV) << QByteArray("02.00l") << 28;
        QTest::newRow("RW-5/GSM") << int(TestSimulator::Family::RW5GSM) << QByteArray("1.03") << 20;
    }

    void readsEachModuleKindIntoTheEditor()
    {
        QFETCH(int, family);
        QFETCH(QByteArray, version);
        QFETCH(int, requests);
        start(TestSimulator::Family(family), version);
        read();
        QCOMPARE(sim->requestCodes().size(), requests);
        QCOMPARE(c<QLineEdit>("EditIdentyfikator")->text(), QStringLiteral("40012345"));
        QCOMPARE(c<QLineEdit>("EditPin")->text(), QStringLiteral("1234"));
        QCOMPARE(c<QLineEdit>("EditCentrum")->text(), QStringLiteral("601000310"));
        QCOMPARE(c<QLineEdit>("EditDzien")->text(), QStringLiteral("5"));
        QCOMPARE(c<QLineEdit>("FlatEditMinuta")->text(), QStringLiteral("30"));
        QCOMPARE(c<QLineEdit>("EditInicjalizacja2")->text(), QStringLiteral("AT+CNMI=2,1,0,0,0"));
        QCOMPARE(c<QLineEdit>("EditKsiazka02")->text(), QStringLiteral("502765432"));
        QVERIFY(c<QCheckBox>("CheckBoxS01")->isChecked());
        QCOMPARE(c<QCheckBox>("CheckBoxL01")->isChecked(), sim->model().hasExtendedBook());
        QCOMPARE(c<QWidget>("CheckBox09")->isEnabled(), sim->model().maxNumbers() == 16);
        QVERIFY(c<QWidget>("BitBtnZapisPlik")->isEnabled());
    }

    void writesVerifiesAndReportsSuccess()
    {
        start(TestSimulator::Family::MKV, "02.00l");
        read();
        c<QLineEdit>("EditPin")->setText("4321");
        c<QLineEdit>("EditKsiazka01")->setText("600700800");
        // The password as typed, onto the line byte for byte; what it cannot carry became a space.
        auto *pwd = c<QLineEdit>("edtMeterPwd");
        pwd->setFocus();
        pwd->selectAll();
        QTest::keyClicks(pwd, "a~ {}[x");
        QTest::sendKeyEvent(QTest::Click, pwd, Qt::Key_unknown, QStringLiteral("\u00f3"), Qt::NoModifier);
        QTest::keyClicks(pwd, ")");
        expectSuccessfulWrite();
        const QList<TestSimulator::Frame> log = sim->log();
        QVERIFY(std::any_of(log.cbegin(), log.cend(), [](const TestSimulator::Frame &f) {
            return f.received && f.bytes == QByteArray("\x01S90\x02[a~ {}[x   ]\x04");
        }));
        QCOMPARE(sim->reg("G20"), QByteArray("4321"));
        QCOMPARE(sim->reg("G60"), QByteArray("+48600700800,CSL"));
        QCOMPARE(form->komunikatForm(), nullptr);
        QVERIFY(form->isEnabled());
        // The protocol of the verified write: what was written, no secret.
        const QDir protocols(s->dir.filePath("Protokoły"));
        const QString pdf = protocols.filePath(protocols.entryList({"40012345-*.pdf"}).value(0));
        if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) { // not under Wine
            QProcess text;
            text.start("pdftotext", {pdf, "-"});
            QVERIFY(text.waitForFinished());
            const QString page = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
            QVERIFY2(page.contains("Protokół konfiguracji modułu") && page.contains("Książka telefoniczna") &&
                         page.contains(form->engine()->fingerprint(form->Ustawienie)) && page.contains("ustawiony") &&
                         page.contains("+48600700800") && !page.contains("4321") && !page.contains("a~ {}"), qPrintable(page));
        }
        // The session's log holds the frames, not only the notes, secrets hidden.
        click("BitBtnPolacz");
        QTRY_COMPARE(form->statusText(), QStringLiteral("Status: Port zamknięty"));
        const QDir logs(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/logs");
        QFile lineLog(logs.filePath(logs.entryList({"veskor-*.log"}, QDir::Files, QDir::Name | QDir::Reversed).value(0)));
        QVERIFY(lineLog.open(QIODevice::ReadOnly));
        const QByteArray text = lineLog.readAll();
        QVERIFY2(text.contains("-> <SOH>S20<STX>[****]<EOT>") && text.contains("<- <SOH>G20<STX>(****)<EOT>"), text);
        QVERIFY(s->dialogs.shown.isEmpty());
    }

    // An echoing, half-duplex probe at line speed, every module kind: nothing is sent
    // while the module answers, so no request is lost and every step counts once.
    void halfDuplexEchoingProbeAtLineSpeed_data() { readsEachModuleKindIntoTheEditor_data(); }

    void halfDuplexEchoingProbeAtLineSpeed()
    {
        QFETCH(int, family);
        QFETCH(QByteArray, version);
        sim->setEcho(true);
        sim->setBaudRate(4800);
        start(TestSimulator::Family(family), version);
        read();
        expectSuccessfulWrite();
        QCOMPARE(sim->lostRequests(), 0);
        // The answer to each request has gone out before the next request arrives.
        double answerDone = 0;
        const QList<TestSimulator::Frame> log = sim->log();
        for (const TestSimulator::Frame &f : log) {
            if (f.received)
                QVERIFY2(f.ms >= answerDone, f.bytes.constData());
            else
                answerDone = f.ms;
        }
        const QString last = form->statusText();
        QCOMPARE(last, QStringLiteral("Status: Połączony"));
    }

    void aModuleThatStoresWronglyFailsTheVerification()
    {
        start(TestSimulator::Family::MKV, "01.15l");
        read();
        sim->setStoreDifferently("S30");
        c<QLineEdit>("EditCentrum")->setText("601000999");
        click("BitBtnZapisLicznik");
        QTRY_VERIFY_WITH_TIMEOUT(form->komunikatForm(), 10000);
        QCOMPARE(form->komunikatForm()->windowTitle(), QStringLiteral("Błąd"));
        QCOMPARE(form->komunikatForm()->LabelKomunkat->text(), QStringLiteral("Niezgodność danych po weryfikacji!"));
        const auto *differ = form->komunikatForm()->findChild<QLabel *>("LabelRoznice");
        QVERIFY(differ);
        QCOMPARE(differ->text(), QStringLiteral("Różnice: Centrum SMS")); // names, never values
        QFile journal(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Veskor/dziennik.csv");
        QVERIFY(journal.open(QIODevice::ReadOnly));
        const QList<QByteArray> rows = journal.readAll().split('\n'); // ..., the read, the write, ""
        const auto n = rows.size();
        QVERIFY2(n >= 4 && rows[n - 3].contains(";40012345;MKV 01.15;odczyt;;") && rows[n - 2].contains(";zapis;;") &&
                     rows[n - 2].contains(";Niezgodność danych po weryfikacji!;"), rows.join());
        QVERIFY(!form->isEnabled()); // until the message window is closed
        // The editor and the settings keep what was written; the module's answer is only in the read-back.
        QCOMPARE(c<QLineEdit>("EditCentrum")->text(), QStringLiteral("601000999"));
        QCOMPARE(form->Ustawienie.Centrum.text(), QStringLiteral("+48601000999"));
        QVERIFY(form->Odczytanie.Centrum.text() != form->Ustawienie.Centrum.text());
        QTest::keyClick(form->komunikatForm(), Qt::Key_Escape);
        QTRY_VERIFY(form->isEnabled());
    }

    void anEchoingProbeAndAnswersInPieces()
    {
        sim->setEcho(true);
        sim->setSplit(5, 3);
        sim->setNoise("~#");
        start(TestSimulator::Family::MKV, "02.00l");
        read();
        QCOMPARE(c<QLineEdit>("EditPin")->text(), QStringLiteral("1234"));
        c<QLineEdit>("EditPin")->setText("5555");
        expectSuccessfulWrite();
        QCOMPARE(sim->reg("G20"), QByteArray("5555"));
    }

    void closingTheWindowDuringAReadClosesThePortFirst()
    {
        sim->setBaudRate(4800); // slow enough to be caught mid-read
        start(TestSimulator::Family::MKV, "02.00l");
        click("BitBtnOdczytLicznik");
        QTRY_VERIFY_WITH_TIMEOUT(sim->requestCodes().size() >= 5, 5000);
        QSignalSpy closed(form->ApdComPortIrDA(), &SerialPort::portClosed);
        QVERIFY(!form->close());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!form->engine()->IsReading);
        QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 2000);
        QCOMPARE(form->Ustawienie.Pin.size(), 0); // nothing partial was copied
    }

    void twentyRoundsLeaveNothingBehind()
    {
        start(TestSimulator::Family::MKV, "02.00l");
        const int timers = int(form->findChildren<QTimer *>().size());
        for (int round = 0; round < 20; ++round) {
            read();
            c<QLineEdit>("EditPin")->setText(QStringLiteral("%1").arg(1000 + round));
            expectSuccessfulWrite();
            QCOMPARE(sim->reg("G20"), QString::number(1000 + round).toLatin1());
            QVERIFY(form->engine()->IrDABuffer.size() < 64);
            QVERIFY(!form->engine()->TimerWatchDog().isActive());
            QCOMPARE(int(form->findChildren<QTimer *>().size()), timers);
        }
        QTRY_COMPARE(sim->pendingOutput(), 0);
        QVERIFY(s->dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestSequencesEndToEnd)
#include "tst_sequences_e2e.moc"
