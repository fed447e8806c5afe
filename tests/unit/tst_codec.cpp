#include "ModuleModel.h"
#include "PayloadCodec.h"

#include <QTest>

using namespace PayloadCodec;

class TestCodec : public QObject {
    Q_OBJECT
private slots:
    void meterPasswordIsPaddedToTen()
    {
        TUstawienie r = emptyConfiguration();
        r.MeterPassword.setText("abcd");
        QCOMPARE(meterPassword(r), QByteArray("abcd      "));
        r.MeterPassword.setText("");
        QCOMPARE(meterPassword(r), QByteArray(10, ' '));
        r.MeterPassword.setText("0123456789");
        QCOMPARE(meterPassword(r), QByteArray("0123456789"));
        // Read back: spaces are part of the value.
        decodeMeterPassword("ab        ", r);
        QCOMPARE(r.MeterPassword.bytes(), QByteArray("ab        "));
        decodeMeterPassword("0123456789xyz", r);
        QCOMPARE(r.MeterPassword.bytes(), QByteArray("0123456789"));
    }

    void stringFieldsAreSentAsStoredAndCutWhenRead()
    {
        TUstawienie r = emptyConfiguration();
        QCOMPARE(centrum(r), QByteArray()); // sent as "[]"
        r.Pin.setText("1234");
        r.AccessCode.setText("0042");
        QCOMPARE(pin(r), QByteArray("1234"));
        QCOMPARE(accessCode(r), QByteArray("0042"));
        decodeIdentyfikator("1234567890", r);
        QCOMPARE(r.Identyfikator.bytes(), QByteArray("12345678"));
        decodeAccessCode("123456", r);
        QCOMPARE(r.AccessCode.bytes(), QByteArray("1234"));
        decodeCentrum("+4860100031099999", r);
        QCOMPARE(r.Centrum.bytes(), QByteArray("+48601000310999"));
        decodeModem(QByteArray(45, 'M'), 4, r);
        QCOMPARE(r.Modem[3].bytes(), QByteArray(40, 'M'));
        QVERIFY(r.Modem[2].isEmpty());
        decodePin("", r);
        QVERIFY(r.Pin.isEmpty());
    }

    void scheduleBothWays()
    {
        TUstawienie r = emptyConfiguration();
        r.Harmonogram_rodzaj = 1;
        r.Harmonogram_dzien = 5;
        r.Harmonogram_godzina = 7;
        r.Harmonogram_minuta = 3;
        QCOMPARE(scheduleOn(r), QByteArray("1"));
        QCOMPARE(scheduleTime(r), QByteArray("05,0703"));

        TUstawienie back = emptyConfiguration();
        QVERIFY(decodeScheduleOn("1", back));
        decodeScheduleTime("05,0703", back);
        QCOMPARE(int(back.Harmonogram_rodzaj), 1);
        QCOMPARE(int(back.Harmonogram_dzien), 5);
        QCOMPARE(int(back.Harmonogram_godzina), 7);
        QCOMPARE(int(back.Harmonogram_minuta), 3);

        decodeScheduleTime("00,2359", back);
        QCOMPARE(int(back.Harmonogram_rodzaj), 2);
        QCOMPARE(int(back.Harmonogram_godzina), 23);
        QCOMPARE(int(back.Harmonogram_minuta), 59);
    }

    void scheduleKindsOnTheWire()
    {
        TUstawienie r = emptyConfiguration();
        for (int kind : {0, 3, 255}) {
            r.Harmonogram_rodzaj = quint8(kind);
            QCOMPARE(scheduleOn(r), QByteArray("0"));
        }
        r.Harmonogram_rodzaj = 2;
        QCOMPARE(scheduleOn(r), QByteArray("1"));
        r.Harmonogram_dzien = 200; // a loaded file may hold anything: at least two digits
        QCOMPARE(scheduleTime(r), QByteArray("200,0000"));
    }

    void badScheduleFieldsReadAsZero_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::newRow("out of range") << QByteArray("32,2460") << 0 << 0 << 0;
        QTest::newRow("not numbers") << QByteArray("ab,cdef") << 0 << 0 << 0;
        QTest::newRow("leading space and sign") << QByteArray(" 9, 8+7") << 9 << 8 << 7;
        QTest::newRow("negative") << QByteArray("-1,-1-1") << 0 << 0 << 0;
        QTest::newRow("trailing space") << QByteArray("9 ,1200") << 0 << 12 << 0;
        QTest::newRow("short") << QByteArray("15,12") << 15 << 12 << 0;
        QTest::newRow("empty") << QByteArray() << 0 << 0 << 0;
        QTest::newRow("separator not read") << QByteArray("10x1122") << 10 << 11 << 22;
    }

    void badScheduleFieldsReadAsZero()
    {
        QFETCH(QByteArray, payload);
        QFETCH(int, day);
        QFETCH(int, hour);
        QFETCH(int, minute);
        TUstawienie r = emptyConfiguration();
        r.Harmonogram_godzina = 99;
        decodeScheduleTime(payload, r);
        QCOMPARE(int(r.Harmonogram_dzien), day);
        QCOMPARE(int(r.Harmonogram_rodzaj), day ? 1 : 2);
        QCOMPARE(int(r.Harmonogram_godzina), hour);
        QCOMPARE(int(r.Harmonogram_minuta), minute);
    }

    void scheduleOffClearsTheFields()
    {
        for (const QByteArray &p : {QByteArray("0"), QByteArray("1 "), QByteArray(""), QByteArray("11")}) {
            TUstawienie r = emptyConfiguration();
            r.Harmonogram_rodzaj = 1;
            r.Harmonogram_dzien = 5;
            r.Harmonogram_godzina = 6;
            r.Harmonogram_minuta = 7;
            QVERIFY(!decodeScheduleOn(p, r));
            QCOMPARE(int(r.Harmonogram_rodzaj) + r.Harmonogram_dzien + r.Harmonogram_godzina + r.Harmonogram_minuta, 0);
        }
    }

    void anyNumberFlag()
    {
        TUstawienie r = emptyConfiguration();
        QCOMPARE(allNumbers(r), QByteArray("0"));
        decodeAllNumbers("1", r);
        QVERIFY(r.AllNumbers);
        QCOMPARE(allNumbers(r), QByteArray("1"));
        for (const QByteArray &p : {QByteArray("0"), QByteArray(""), QByteArray("1 "), QByteArray("yes")}) {
            r.AllNumbers = true;
            decodeAllNumbers(p, r);
            QVERIFY2(!r.AllNumbers, p.constData());
        }
    }

    void bookEntriesOnTheWire()
    {
        TUstawienie r = emptyConfiguration();
        r.Telefony[0].setText("+48601234567");
        r.C[0] = true;
        r.S[0] = true;
        r.L[0] = true;
        QCOMPARE(bookEntry(r, 1, true), QByteArray("+48601234567,CSL"));
        QCOMPARE(bookEntry(r, 1, false), QByteArray("+48601234567,CS"));
        r.C[0] = false;
        QCOMPARE(bookEntry(r, 1, true), QByteArray("+48601234567,SL"));
        r.S[0] = r.L[0] = false;
        QCOMPARE(bookEntry(r, 1, true), QByteArray("+48601234567,"));
        // An empty number goes as "[]" whatever its rights.
        r.C[1] = r.S[1] = r.L[1] = true;
        QCOMPARE(bookEntry(r, 2, true), QByteArray());
        QCOMPARE(bookIndexDigit(1), '0');
        QCOMPARE(bookIndexDigit(11), 'A');
        QCOMPARE(bookIndexDigit(16), 'F');
    }

    void bookEntriesReadBack_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("number");
        QTest::addColumn<bool>("c");
        QTest::addColumn<bool>("s");
        QTest::addColumn<bool>("l");
        QTest::newRow("letters in any order") << QByteArray("+48601234567,SC") << QByteArray("+48601234567") << true
                                              << true << false;
        QTest::newRow("all three") << QByteArray("+48601234567,LCS") << QByteArray("+48601234567") << true << true
                                   << true;
        QTest::newRow("no comma") << QByteArray("CS") << QByteArray() << true << true << false;
        QTest::newRow("empty") << QByteArray() << QByteArray() << false << false << false;
        QTest::newRow("lower case is no right") << QByteArray("+48601234567,cs") << QByteArray("+48601234567")
                                                << false << false << false;
        QTest::newRow("long number cut") << QByteArray("+4860123456789012,C") << QByteArray("+48601234567890")
                                         << true << false << false;
    }

    void bookEntriesReadBack()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, number);
        QFETCH(bool, c);
        QFETCH(bool, s);
        QFETCH(bool, l);
        TUstawienie r = emptyConfiguration();
        r.C[4] = r.S[4] = true;
        decodeBookEntry(payload, 5, true, r);
        QCOMPARE(r.Telefony[4].bytes(), number);
        QCOMPARE(bool(r.C[4]), c);
        QCOMPARE(bool(r.S[4]), s);
        QCOMPARE(bool(r.L[4]), l);
    }

    void withoutTheExtendedBookLIsLeftAlone()
    {
        TUstawienie r = emptyConfiguration();
        r.L[2] = true;
        r.L[3] = false;
        decodeBookEntry("", 3, false, r);
        decodeBookEntry("+48601234567,CSL", 4, false, r);
        QVERIFY(r.L[2]);
        QVERIFY(!r.L[3]);
        QVERIFY(r.C[3] && r.S[3]);
    }

    void simulatorHoldsAConfigurationAsTheModuleWould()
    {
        TUstawienie config = emptyConfiguration();
        config.Identyfikator.setText("40012345");
        config.Pin.setText("1234");
        config.Centrum.setText("+48601000310");
        config.AccessCode.setText("7315");
        config.MeterPassword.setText("abc");
        config.Harmonogram_rodzaj = 1;
        config.Harmonogram_dzien = 12;
        config.Harmonogram_godzina = 6;
        config.Harmonogram_minuta = 30;
        config.Modem[0].setText("AT+CMGF=1");
        config.Telefony[0].setText("+48601234567");
        config.C[0] = config.L[0] = true;
        config.Telefony[9].setText("+48502765432");
        config.S[9] = true;
        config.AllNumbers = true;

        ModuleModel sim;
        sim.setIdentity(ModuleModel::Family::MKV, "02.00l");
        sim.loadConfiguration(config);
        QCOMPARE(sim.reg("G90"), QByteArray("abc       "));
        QCOMPARE(sim.reg("G70"), QByteArray("12,0630"));
        QCOMPARE(sim.reg("G60"), QByteArray("+48601234567,CL"));
        QCOMPARE(sim.reg("G69"), QByteArray("+48502765432,S"));

        const TUstawienie back = sim.configuration();
        QCOMPARE(back.Pin.text(), QStringLiteral("1234"));
        QCOMPARE(back.MeterPassword.text(), QStringLiteral("abc       "));
        QCOMPARE(int(back.Harmonogram_rodzaj), 1);
        QCOMPARE(int(back.Harmonogram_dzien), 12);
        QCOMPARE(back.Modem[0].text(), QStringLiteral("AT+CMGF=1"));
        QVERIFY(back.L[0] && back.C[0] && !back.S[0]);
        QVERIFY(back.S[9]);
        QVERIFY(back.AllNumbers);
    }
};

QTEST_APPLESS_MAIN(TestCodec)
#include "tst_codec.moc"
