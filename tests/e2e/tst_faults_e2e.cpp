#include "SimulatedSession.h"

#include "uKomunikat.h"
#include <QSignalSpy>

#include <QLabel>
#include <QLineEdit>

// What goes wrong on a real line: a probe pulled out, noise, a module that falls
// silent, answers arriving a byte at a time.
class TestFaultsEndToEnd : public QObject {
    Q_OBJECT
private:
    SimulatedSession *s = nullptr;
    TMainForm *form = nullptr;
    TestSimulator *sim = nullptr;

    template <typename T = QWidget> T *c(const char *name) { return s->c<T>(name); }
    void click(const char *button) { s->click(button); }

    void connectModule()
    {
        s->openWindow();
        form = s->form.get();
        QVERIFY(s->connectModule());
    }
    void expectOneLossAndAClosedPort()
    {
        QTRY_COMPARE_WITH_TIMEOUT(form->statusText(), QStringLiteral("Status: Port zamknięty"), 5000);
        QTest::qWait(200); // a storm of errors would show as more boxes
        QCOMPARE(s->dialogs.shown.size(), 1);
        QCOMPARE(s->dialogs.shown[0].caption, QStringLiteral("Błąd"));
        QVERIFY(s->dialogs.shown[0].text.startsWith(QStringLiteral("Błąd: ")));
        QCOMPARE(c<QPushButton>("BitBtnPolacz")->text(), QStringLiteral("Otwórz port"));
        QVERIFY(c("BitBtnPolacz")->isEnabled() && c("BitBtnOdczytPlik")->isEnabled());
        QVERIFY(!c("BitBtnOdczytLicznik")->isEnabled());
        QVERIFY(!form->engine()->IsReading && !form->engine()->IsWritening);
        QVERIFY(!form->engine()->TimerWatchDog().isActive());
    }

private slots:
    void init()
    {
        s = new SimulatedSession;
        QVERIFY(s->startSimulator());
        sim = &s->sim;
        form = nullptr;
    }
    void cleanup() { delete s; }

    void theLineIsPulledMidRead()
    {
        connectModule();
        sim->setHangUpAfter(12);
        click("BitBtnOdczytLicznik");
        expectOneLossAndAClosedPort();
        QVERIFY(form->Ustawienie.Pin.isEmpty()); // nothing partial was copied
        QVERIFY(!c("GroupBoxParametry")->isEnabled());
    }

    void theLineIsPulledMidWrite()
    {
        connectModule();
        click("BitBtnOdczytLicznik");
        QTRY_COMPARE_WITH_TIMEOUT(form->statusText(), QStringLiteral("Status: Połączony"), 5000);
        sim->setHangUpAfter(sim->requestCodes().size() + 6);
        c<QLineEdit>("EditPin")->setText("9999");
        click("BitBtnZapisLicznik");
        expectOneLossAndAClosedPort();
        QCOMPARE(c<QLineEdit>("EditPin")->text(), QStringLiteral("9999")); // the editor keeps its work
        QCOMPARE(form->komunikatForm(), nullptr);
    }

    void noiseBetweenAnswersAndAnswersByteByByte()
    {
        sim->setNoise(QByteArray("~#\x7f\x15 x", 6));
        sim->setSplit(1, 0);
        connectModule();
        click("BitBtnOdczytLicznik");
        QTRY_COMPARE_WITH_TIMEOUT(form->statusText(), QStringLiteral("Status: Połączony"), 10000);
        QCOMPARE(c<QLineEdit>("EditPin")->text(), QStringLiteral("1234"));
        c<QLineEdit>("EditPin")->setText("2222");
        click("BitBtnZapisLicznik");
        QTRY_VERIFY_WITH_TIMEOUT(form->komunikatForm(), 10000);
        QCOMPARE(form->komunikatForm()->LabelKomunkat->text(), QStringLiteral("Programowanie zakończone powodzeniem."));
        QVERIFY(s->dialogs.shown.isEmpty());
    }

    void aRepeatedAnswerIsNotTakenForTheNextStep()
    {
        connectModule();
        sim->answerWithPrevious("G30"); // G30 gets G20's answer again
        QSignalSpy answered(sim, &TestSimulator::answered);
        click("BitBtnOdczytLicznik");
        QTRY_VERIFY_WITH_TIMEOUT(answered.contains(QVariantList{QByteArray("G30")}), 5000);
        const QString waiting = form->statusText();
        QTest::qWait(300); // time for a wrong step to show, were one taken
        QCOMPARE(form->statusText(), waiting);
        QCOMPARE(sim->requestCodes().count("G30"), 1);
        QVERIFY(!sim->requestCodes().contains("G40"));
        QCOMPARE(form->Ustawienie.Centrum.text(), QString()); // nothing copied from a wrong answer
    }

    void aModuleThatFallsSilentIsWaitedForUntilThePortCloses()
    {
        connectModule();
        sim->setSilentAfter(sim->requestCodes().size() + 1); // answers G00, then nothing
        click("BitBtnOdczytLicznik");
        QTRY_COMPARE_WITH_TIMEOUT(form->statusText(), QStringLiteral("Status: Odczyt konfiguracji 2 z 27"), 5000);
        QTest::qWait(1500); // no time-out, no repetition, no message
        QCOMPARE(form->statusText(), QStringLiteral("Status: Odczyt konfiguracji 2 z 27"));
        QCOMPARE(sim->requestCodes().count("G10"), 1);
        QVERIFY(s->dialogs.shown.isEmpty());
        click("BitBtnPolacz"); // the only way out
        QCOMPARE(form->statusText(), QStringLiteral("Status: Port zamknięty"));

        // The next connection starts afresh.
        sim->setSilentAfter(-1);
        QVERIFY(s->connectModule());
        click("BitBtnOdczytLicznik");
        QTRY_COMPARE_WITH_TIMEOUT(form->statusText(), QStringLiteral("Status: Połączony"), 5000);
    }
};

QTEST_MAIN(TestFaultsEndToEnd)
#include "tst_faults_e2e.moc"
