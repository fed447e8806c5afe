#include "FakeHost.h"

#include <functional>
#include "FakeSerialPort.h"
#include "Frames.h"
#include "LinkEngine.h"
#include "ModuleModel.h"

#include <QTest>

#include <iterator>

using Family = ModuleModel::Family;

namespace {
QList<QByteArray> codes(const QList<QByteArray> &frames)
{
    QList<QByteArray> out;
    for (const QByteArray &f : frames)
        out << f.mid(1, 3);
    return out;
}

QList<QByteArray> book(char direction, int entries)
{
    QList<QByteArray> out;
    for (int i = 0; i < entries; ++i)
        out << QByteArray(1, direction) + '6' + "0123456789ABCDEF"[i];
    return out;
}

// A configuration to write, different from the module's sample registers.
TUstawienie toWrite()
{
    TUstawienie u = emptyConfiguration();
    u.Pin.setText("4321");
    u.Centrum.setText("+48601000999");
    u.AccessCode.setText("1111");
    u.MeterPassword.setText("abc       ");
    u.Harmonogram_rodzaj = 2;
    u.Harmonogram_godzina = 6;
    u.Harmonogram_minuta = 15;
    u.Telefony[0].setText("+48601234567");
    u.C[0] = true;
    u.L[0] = true;
    u.Telefony[2].setText("+48700100200");
    u.S[2] = true;
    u.AllNumbers = true;
    return u;
}
} // namespace

class TestSequences : public QObject {
    Q_OBJECT
private:
    FakeHost *host = nullptr;
    FakeSerialPort *port = nullptr;
    LinkEngine *engine = nullptr;
    ModuleModel module;

    void connectTo(Family family, const QByteArray &version)
    {
        module = ModuleModel();
        module.setIdentity(family, version);
        port->attach(&module);
        engine->BitBtnPolaczClick();
        port->pump();
        QVERIFY(!engine->IsWaitHeader);
        port->takeSent();
        host->statuses.clear();
    }

    // Runs the exchange until `code` is asked; the module's own answer to it is then held back.
    void runUntilAsked(const QByteArray &code)
    {
        QList<QByteArray> asked;
        for (int i = 0; i < 200; ++i) {
            asked << codes(port->takeSent());
            if (!asked.isEmpty() && asked.last() == code) {
                port->pending.clear();
                return;
            }
            port->pump(1);
        }
        QFAIL(qPrintable("never asked " + code));
    }

private slots:
    void init()
    {
        host = new FakeHost;
        port = new FakeSerialPort;
        engine = new LinkEngine(port, host);
    }
    void cleanup()
    {
        delete engine;
        delete port;
        delete host;
    }

    // A fingerprint names what the verification compares, and nothing else.
    void theFingerprintFollowsWhatIsVerified_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("same");
        for (const char *same : {"PIN", "access code", "password", "serial", "modem", "entry 9 of an 8-entry book"})
            QTest::newRow(same) << same << true;
        for (const char *other : {"entry 3", "right S of entry 2", "schedule", "centre"})
            QTest::newRow(other) << other << false;
    }
    void theFingerprintFollowsWhatIsVerified()
    {
        QFETCH(QString, change);
        QFETCH(bool, same);
        connectTo(Family::RW5GSM, "1.03");
        const TUstawienie u = toWrite();
        TUstawienie v = u;
        const QMap<QString, std::function<void()>> changes = {
            {"PIN", [&] { v.Pin.setText("9999"); }},         {"access code", [&] { v.AccessCode.setText("1"); }},
            {"password", [&] { v.MeterPassword.setText("x"); }}, {"serial", [&] { v.Identyfikator.setText("1"); }},
            {"modem", [&] { v.Modem[0].setText("AT"); }},     {"entry 9 of an 8-entry book", [&] { v.Telefony[8].setText("+48601"); }},
            {"entry 3", [&] { v.Telefony[2].setText("+48601"); }}, {"right S of entry 2", [&] { v.S[1] = !v.S[1]; }},
            {"schedule", [&] { v.Harmonogram_minuta ^= 1; }}, {"centre", [&] { v.Centrum.setText("+48602"); }}};
        changes.value(change)();
        QCOMPARE(engine->fingerprint(v) == engine->fingerprint(u), same);
        QCOMPARE(engine->fingerprint(u).size(), 16);
    }

    void readAsksInOrderAndCountsToItsTotal_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("scheduleOn");
        QTest::addColumn<QString>("last");
        QTest::newRow("MKV 01.12, schedule on") << int(Family::MKV) << QByteArray("01.12") << true << "26 z 26";
        QTest::newRow("MKV 01.12, schedule off") << int(Family::MKV) << QByteArray("01.12") << false << "26 z 26";
        QTest::newRow("MKV 01.15l") << int(Family::MKV) << QByteArray("01.15l") << true << "26 z 26";
        QTest::newRow("MKV 02.00l") << int(Family::MKV) << QByteArray("02.00l") << true << "27 z 27";
        QTest::newRow("RW-5") << int(Family::RW5GSM) << QByteArray("1.03") << false << "19 z 19";
    }

    void readAsksInOrderAndCountsToItsTotal()
    {
        QFETCH(int, family);
        QFETCH(QByteArray, version);
        QFETCH(bool, scheduleOn);
        QFETCH(QString, last);
        connectTo(Family(family), version);
        module.setRegister("G80", scheduleOn ? "1" : "0");
        host->readBack.L[5] = true; // a module without the extended book leaves L alone
        host->settings.L[5] = true;

        engine->BitBtnOdczytLicznikClick();
        QVERIFY(!engine->TimerWatchDog().isActive()); // starting does not arm it
        QVERIFY(!host->buttons[LinkHost::Button::OdczytLicznik]);
        port->pump();

        QList<QByteArray> expected = {"G00", "G10", "G20", "G30", "G40", "G41", "G42", "G43", "G90", "G80"};
        if (scheduleOn)
            expected << "G70";
        if (module.hasExtendedBook())
            expected << "GA0";
        expected << book('G', module.maxNumbers());
        QCOMPARE(codes(port->takeSent()), expected);

        QCOMPARE(host->statuses.first(),
                 QStringLiteral("Status: Odczyt konfiguracji 1 z %1").arg(last.split(' ').last()));
        QCOMPARE(host->statuses.at(host->statuses.size() - 2), QStringLiteral("Status: Odczyt konfiguracji ") + last);
        QCOMPARE(host->status(), QStringLiteral("Status: Połączony"));
        QVERIFY(!engine->IsReading);
        QCOMPARE(engine->Ksiazka, 0);
        QVERIFY(host->buttons[LinkHost::Button::ZapisPlik] && host->buttons[LinkHost::Button::OdczytLicznik]);
        QCOMPARE(host->shownConfigurations, 1);
        QVERIFY(host->verificationResults.isEmpty());

        // Decoded into the read-back record, then copied into the settings.
        const TUstawienie &u = host->settings;
        QCOMPARE(u.Identyfikator.text(), QStringLiteral("40012345"));
        QCOMPARE(u.Pin.text(), QStringLiteral("1234"));
        QCOMPARE(u.Modem[2].text(), QStringLiteral("AT+CSCS=\"GSM\""));
        QCOMPARE(u.MeterPassword.text(), QStringLiteral("licznik   "));
        QCOMPARE(int(u.Harmonogram_rodzaj), scheduleOn ? 1 : 0);
        QCOMPARE(u.Telefony[1].text(), QStringLiteral("+48502765432"));
        QCOMPARE(bool(u.L[0]), module.hasExtendedBook());
        QVERIFY(module.hasExtendedBook() ? !u.L[5] : bool(u.L[5]));
    }

    void writeSendsInOrderThenVerifies_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QList<QByteArray>>("opening");
        QTest::addColumn<QString>("last");
        const QList<QByteArray> latched = {"S10", "S10", "S20", "S90", "S30"};
        QTest::newRow("MKV 01.12") << int(Family::MKV) << QByteArray("01.12") << QList<QByteArray>{"S20", "S20", "S30"}
                                   << "20 z 20";
        QTest::newRow("MKV 01.15l") << int(Family::MKV) << QByteArray("01.15l") << latched << "22 z 22";
        QTest::newRow("MKV 02.00l") << int(Family::MKV) << QByteArray("02.00l") << latched << "23 z 23";
        QTest::newRow("RW-5") << int(Family::RW5SMS) << QByteArray("2.0") << latched << "15 z 15";
    }

    // What each kind of answer does in each state: only the answer to the request
    // just sent (or, writing, an ACK) moves the sequence on; anything else is dropped.
    void answerDispatchTable_data()
    {
        QTest::addColumn<bool>("writing");
        QTest::addColumn<QByteArray>("awaited");
        QTest::addColumn<QByteArray>("answerTo"); // the request the delivered answer belongs to; "ACK"
        QTest::addColumn<QByteArray>("next");     // the request that follows; empty: none, nothing changes
        QTest::newRow("read, expected") << false << QByteArray("G30") << QByteArray("G30") << QByteArray("G40");
        QTest::newRow("read, repeated") << false << QByteArray("G30") << QByteArray("G20") << QByteArray();
        QTest::newRow("read, wrong entry") << false << QByteArray("G65") << QByteArray("G64") << QByteArray();
        QTest::newRow("read, later entry") << false << QByteArray("G65") << QByteArray("G66") << QByteArray();
        QTest::newRow("read, ACK") << false << QByteArray("G30") << QByteArray("ACK") << QByteArray();
        QTest::newRow("write, ACK") << true << QByteArray("S30") << QByteArray("ACK") << QByteArray("S80");
        QTest::newRow("write, read answer") << true << QByteArray("S30") << QByteArray("G20") << QByteArray();
        QTest::newRow("verification, ACK") << true << QByteArray("G10") << QByteArray("ACK") << QByteArray();
    }

    void answerDispatchTable()
    {
        QFETCH(bool, writing);
        QFETCH(QByteArray, awaited);
        QFETCH(QByteArray, answerTo);
        QFETCH(QByteArray, next);
        connectTo(Family::MKV, "02.00l");
        host->settings = toWrite();
        if (writing)
            engine->BitBtnZapisLicznikClick();
        else
            engine->BitBtnOdczytLicznikClick();
        runUntilAsked(awaited);
        const int step = engine->ACount_Order;
        const bool wasWriting = engine->IsWritening;
        port->deliver(answerTo == "ACK" ? QByteArray("\x06") : module.answer(answerTo, false, {}));
        QCOMPARE(codes(port->takeSent()), next.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{next});
        QCOMPARE(engine->ACount_Order, next.isEmpty() ? step : step + 1);
        QCOMPARE(engine->IsWritening, wasWriting);
        if (next.isEmpty())
            QVERIFY(!Frames::hasAck(engine->IrDABuffer) && !Frames::hasAnswerEnd(engine->IrDABuffer));
    }

    // A late answer and the start of the awaited one in one chunk: the rest is awaited, not an empty field.
    void aStaleAnswerThenTheStartOfTheAwaitedOne()
    {
        connectTo(Family::MKV, "02.00l");
        engine->BitBtnOdczytLicznikClick();
        runUntilAsked("G30");
        const QByteArray awaited = module.answer("G30", false, {});
        port->deliver(module.answer("G20", false, {}) + awaited.left(6));
        QVERIFY(port->takeSent().isEmpty());
        port->deliver(awaited.mid(6));
        QCOMPARE(codes(port->takeSent()), QList<QByteArray>{"G40"});
        QCOMPARE(host->readBack.Centrum.bytes(), module.reg("G30"));
    }

    void writeSendsInOrderThenVerifies()
    {
        QFETCH(int, family);
        QFETCH(QByteArray, version);
        QFETCH(QList<QByteArray>, opening);
        QFETCH(QString, last);
        connectTo(Family(family), version);
        host->settings = toWrite();

        engine->BitBtnZapisLicznikClick();
        QCOMPARE(host->validations, 1);
        QVERIFY(engine->IsWaitS00);
        port->pump(1); // the opening frame's acknowledgement
        QVERIFY(!engine->IsWaitS00);
        QVERIFY(!Frames::hasAck(engine->IrDABuffer)); // used up: the next frame waits for its own
        port->pump();

        QList<QByteArray> expected = opening;
        expected << "S80"
                 << "S70"; // daily: on, then the time
        if (module.hasExtendedBook())
            expected << "SA0";
        expected << book('S', module.maxNumbers());
        expected << "G00"
                 << "G10"
                 << "G20"
                 << "G30"
                 << "G40"
                 << "G41"
                 << "G42"
                 << "G43"
                 << "G90"
                 << "G80"
                 << "G70";
        if (module.hasExtendedBook())
            expected << "GA0";
        expected << book('G', module.maxNumbers());
        const QList<QByteArray> sent = port->takeSent();
        QCOMPARE(codes(sent), expected);
        QVERIFY(sent.contains(Frames::writeRequest("S70", "00,0615")));
        QVERIFY(sent.contains(Frames::writeRequest("S61", "")));

        QVERIFY(host->statuses.contains(QStringLiteral("Status: Zapis konfiguracji ") + last));
        QVERIFY(!host->statuses.contains(
            QStringLiteral("Status: Zapis konfiguracji %1 z").arg(last.split(' ').first().toInt() + 1)));
        QCOMPARE(host->verificationResults, QList<bool>{true});
        QCOMPARE(host->status(), QStringLiteral("Status: Połączony"));
        QCOMPARE(module.reg("G20"), QByteArray("4321"));
        QVERIFY(!engine->IsVerification || !engine->IsReading);
    }

    void scheduleOffWritesS80ZeroAndNoTime()
    {
        connectTo(Family::MKV, "01.15l");
        host->settings = toWrite();
        host->settings.Harmonogram_rodzaj = 0; // as storing leaves an inactive schedule
        host->settings.Harmonogram_godzina = 0;
        host->settings.Harmonogram_minuta = 0;
        engine->BitBtnZapisLicznikClick();
        port->pump();
        const QList<QByteArray> sent = port->takeSent();
        QVERIFY(sent.contains(Frames::writeRequest("S80", "0")));
        QVERIFY(!codes(sent).contains("S70"));
        QVERIFY(!codes(sent).contains("SA0"));
        QCOMPARE(host->verificationResults, QList<bool>{true});
    }

    void aDifferenceFailsTheVerificationAndKeepsWhatWasWritten()
    {
        connectTo(Family::MKV, "02.00l");
        host->settings = toWrite();
        module.setStoreDifferently("S62"); // stores "+48700100200,X": the schedule right is lost
        engine->BitBtnZapisLicznikClick();
        port->pump();
        QCOMPARE(host->verificationResults, QList<bool>{false});
        QCOMPARE(host->shownConfigurations, 0);
        QCOMPARE(host->settings.Telefony[2].text(), QStringLiteral("+48700100200"));
        QVERIFY(host->settings.S[2]);
        QVERIFY(!host->readBack.S[2]);
        QCOMPARE(host->status(), QStringLiteral("Status: Połączony"));
    }

    // The verification catches a difference in every field it compares, one at a time.
    void everyComparedFieldFailsTheVerification_data()
    {
        QTest::addColumn<int>("field");
        const char *fields[] = {"Pin", "Centrum", "AccessCode", "MeterPassword", "kind",
                                "day", "hour",    "minute",     "number",        "S",
                                "C",   "L",       "AllNumbers", "S gained", "C gained", "L gained"};
        for (int i = 0; i < int(std::size(fields)); ++i)
            QTest::newRow(fields[i]) << i;
    }

    void everyComparedFieldFailsTheVerification()
    {
        QFETCH(int, field);
        connectTo(Family::MKV, "02.00l"); // latched, extended book: every field is compared
        host->settings = toWrite();
        host->readBack = host->settings;
        QVERIFY(engine->verificationSucceeded());
        TUstawienie &o = host->readBack;
        switch (field) {
        case 0:
            o.Pin.setText("9999");
            break;
        case 1:
            o.Centrum.setText("+48600000000");
            break;
        case 2:
            o.AccessCode.setText("0000");
            break;
        case 3:
            o.MeterPassword.setText("zzz       ");
            break;
        case 4:
            o.Harmonogram_rodzaj = 0;
            break;
        case 5:
            o.Harmonogram_dzien = 31;
            break;
        case 6:
            o.Harmonogram_godzina = 23;
            break;
        case 7:
            o.Harmonogram_minuta = 59;
            break;
        case 8:
            o.Telefony[2].setText("+48700100201");
            break;
        case 9:
            o.S[2] = !o.S[2];
            break;
        case 10:
            o.C[0] = !o.C[0];
            break;
        case 11:
            o.L[0] = !o.L[0];
            break;
        case 12:
            o.AllNumbers = !o.AllNumbers;
            break;
        default: // a right the technician did not give counts as much as a lost one
            (field == 13 ? o.S[0] : field == 14 ? o.C[2] : o.L[2]) = true;
        }
        QVERIFY(!engine->verificationSucceeded());
    }

    void lIsVerifiedOnModulesWithTheExtendedBook()
    {
        connectTo(Family::MKV, "02.00l");
        host->settings = toWrite();
        module.setStoreDifferently("S60"); // stores "+48601234567,CX": L lost
        engine->BitBtnZapisLicznikClick();
        port->pump();
        QCOMPARE(host->verificationResults, QList<bool>{false});
    }

    void aNegativeAcknowledgementIsIgnored()
    {
        connectTo(Family::MKV, "01.12");
        host->settings = toWrite();
        port->attach(nullptr);
        engine->BitBtnZapisLicznikClick();
        port->deliver(QByteArray(1, Frames::ACK)); // opening
        port->deliver(QByteArray(1, Frames::ACK)); // S20 again
        port->takeSent();
        port->deliver("\x15"); // NAK of S30
        QVERIFY(port->takeSent().isEmpty());
        QCOMPARE(engine->S_Command, QByteArray("S30"));
        port->deliver(QByteArray(1, Frames::ACK));
        QCOMPARE(codes(port->takeSent()), QList<QByteArray>{"S80"});
    }

    void echoesCompleteNothing()
    {
        connectTo(Family::MKV, "02.00l");
        port->echo = true;
        engine->BitBtnOdczytLicznikClick();
        port->pump();
        QCOMPARE(host->status(), QStringLiteral("Status: Połączony"));
        host->settings = toWrite();
        engine->BitBtnZapisLicznikClick();
        port->pump();
        QCOMPARE(host->verificationResults, QList<bool>{true});
    }

    void watchdogRepeatsOnlyTheFirstRequest()
    {
        connectTo(Family::MKV, "02.00l");
        port->attach(nullptr); // silent
        engine->BitBtnOdczytLicznikClick();
        port->takeSent();
        port->deliver(Frames::readRequest("G00")); // an echo arms the watchdog
        QVERIFY(engine->TimerWatchDog().isActive());
        engine->TimerWatchDogTimer();
        QCOMPARE(codes(port->takeSent()), QList<QByteArray>{"G00"});
        QVERIFY(engine->IrDABuffer.isEmpty());

        port->attach(&module);
        port->deliver(module.answer("G00", false, {}));
        QVERIFY(!engine->IsWaitG00);
        QVERIFY(!engine->TimerWatchDog().isActive());
        port->takeSent();
        port->pending.clear(); // the G10 answer is lost
        engine->TimerWatchDogTimer();
        QVERIFY(port->takeSent().isEmpty()); // later requests are never repeated

        // Writing: the opening frame is repeated, with the tag emptied.
        engine->BitBtnPolaczClick();
        engine->BitBtnPolaczClick();
        port->pump();
        port->attach(nullptr);
        host->settings = toWrite();
        engine->BitBtnZapisLicznikClick();
        port->takeSent();
        port->deliver("?");
        engine->TimerWatchDogTimer();
        QCOMPARE(port->takeSent(), QList<QByteArray>{Frames::writeRequest("S10", "1111")});
        QVERIFY(engine->S_Command.isEmpty());
    }

    void anInvalidEditorSendsNothing()
    {
        connectTo(Family::MKV, "02.00l");
        host->validationPasses = false;
        engine->BitBtnZapisLicznikClick();
        QVERIFY(port->takeSent().isEmpty());
        QVERIFY(!engine->IsWritening);
    }

    void closingThePortMidReadCopiesNothing()
    {
        connectTo(Family::MKV, "02.00l");
        host->settings = toWrite();
        engine->BitBtnOdczytLicznikClick();
        port->pump(12);
        QVERIFY(engine->IsReading);
        engine->BitBtnPolaczClick();
        QVERIFY(!engine->IsReading && !engine->IsWaitG00);
        QCOMPARE(engine->Ksiazka, 0);
        QCOMPARE(host->settings.Pin.text(), QStringLiteral("4321"));
        QCOMPARE(host->shownConfigurations, 0);

        // The next connection reads from the start.
        engine->BitBtnPolaczClick();
        port->pump();
        engine->BitBtnOdczytLicznikClick();
        port->pump();
        QCOMPARE(host->status(), QStringLiteral("Status: Połączony"));
        QCOMPARE(host->settings.Pin.text(), QStringLiteral("1234"));
    }
};

QTEST_GUILESS_MAIN(TestSequences)
#include "tst_sequences.moc"
