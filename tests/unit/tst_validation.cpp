#include "Validation.h"

#include <QTest>

using namespace Validation;

namespace {
// An editor that passes every rule: PIN, centre, code, password, monthly schedule, two rows.
EditorSnapshot valid()
{
    EditorSnapshot e;
    e.identyfikator = "40012345";
    e.pinChecked = true;
    e.pin = "1234";
    e.centrumChecked = true;
    e.centrum = "601000310";
    e.accessCode = "7315";
    e.meterPassword = "abc";
    e.aktywny = true;
    e.miesiac = true;
    e.dzien = "5";
    e.godzina = "07";
    e.minuta = "03";
    e.rows[0] = {true, "601234567", true, false, false};
    e.rows[1] = {true, "502765432", false, true, false};
    return e;
}
const ModuleTraits kExtended{16, true, true}; // written to a module that is sent the password
} // namespace
Q_DECLARE_METATYPE(EditorSnapshot)
namespace {
const ModuleTraits kPlain{16, false};
} // namespace

class TestValidation : public QObject {
    Q_OBJECT
private slots:
    void aValidEditorPasses()
    {
        QVERIFY(!firstIssue(valid(), kExtended));
        QVERIFY(!firstIssue(valid(), kPlain));
    }

    void rules_data()
    {
        QTest::addColumn<EditorSnapshot>("editor");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focus");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("correction"); // "-" for none

        auto with = [](auto change) {
            EditorSnapshot e = valid();
            change(e);
            return e;
        };
        const int none = int(Field::None);
        QTest::newRow("PIN of three digits") << with([](auto &e) { e.pin = "123"; })
            << "Pole 'PIN' musi mieć od 4 do 8 cyfr." << int(Field::EditPin) << 0 << "-";
        QTest::newRow("PIN of nine digits") << with([](auto &e) { e.pin = "123456789"; })
            << "Pole 'PIN' musi mieć od 4 do 8 cyfr." << int(Field::EditPin) << 0 << "-";
        QTest::newRow("PIN empty") << with([](auto &e) { e.pin = ""; })
            << "Pole 'PIN' nie może być puste." << int(Field::EditPin) << 0 << "";
        QTest::newRow("PIN pasted with a sign") << with([](auto &e) { e.pin = "+12345678"; })
            << "Pole 'PIN' musi mieć od 4 do 8 cyfr." << int(Field::EditPin) << 0 << "-";
        QTest::newRow("PIN not digits") << with([](auto &e) { e.pin = "-123"; })
            << "Pole 'PIN' musi składać się z cyfr." << int(Field::EditPin) << 0 << "-";
        QTest::newRow("centre empty") << with([](auto &e) { e.centrum = ""; })
            << "Pole 'Centrum SMS' nie może być puste." << int(Field::EditCentrum) << 0 << "";
        QTest::newRow("centre too long") << with([](auto &e) { e.centrum = "6010003101"; })
            << "Pole 'Centrum SMS' nie może mieć więcej niż 9 znaków." << int(Field::EditCentrum) << 0 << "-";
        QTest::newRow("centre not a number") << with([](auto &e) { e.centrum = "60100a"; })
            << "Pole 'Centrum SMS' musi składać się z cyfr." << none << 0 << "-";
        QTest::newRow("access code empty") << with([](auto &e) { e.accessCode = ""; })
            << "Pole 'Kod autoryzacji' nie może być puste." << int(Field::edtAccessCode) << 0 << "";
        QTest::newRow("access code short") << with([](auto &e) { e.accessCode = "731"; })
            << "Pole 'Kod autoryzacji' musi mieć 4 cyfry." << int(Field::edtAccessCode) << 0 << "-";
        QTest::newRow("access code not a number") << with([](auto &e) { e.accessCode = "+731"; })
            << "Pole 'Kod autoryzacji' musi składać się z cyfr." << none << 0 << "-";
        QTest::newRow("password empty") << with([](auto &e) { e.meterPassword = ""; })
            << "Pole 'Hasło do licznika' nie może być puste." << int(Field::edtMeterPwd) << 0 << "";
        QTest::newRow("password too long") << with([](auto &e) { e.meterPassword = "12345678901"; })
            << "Pole 'Hasło do licznika' nie może mieć więcej niż 10 znaków." << int(Field::edtMeterPwd) << 0 << "-";
        for (const char *password : {"k\xc3\xb3z", "ab)c", "ab]", "\tab", "ab\r\n", "\xc2\xa0" "ab"})
            QTest::newRow(qPrintable(QStringLiteral("password %1 not carried").arg(QString::fromUtf8(password))))
                << with([password](auto &e) { e.meterPassword = QString::fromUtf8(password); })
                << "Pole 'Hasło do licznika' może zawierać tylko litery bez polskich znaków, cyfry, spację i znaki "
                   "ASCII inne niż ')' i ']'."
                << int(Field::edtMeterPwd) << 0 << "-";
        QTest::newRow("no schedule kind") << with([](auto &e) { e.miesiac = false; })
            << "Należy wybrać jeden rodzaj harmonogramu: 'Raz w miesiącu' lub 'Codziennie'." << none << 0 << "-";
        QTest::newRow("both schedule kinds") << with([](auto &e) { e.codziennie = true; })
            << "Należy wybrać jeden rodzaj harmonogramu: 'Raz w miesiącu' lub 'Codziennie'." << none << 0 << "-";
        QTest::newRow("day 0") << with([](auto &e) { e.dzien = "0"; })
            << "Liczba w polu 'Dzień miesiąca' nie może być mniejsza niż 1." << int(Field::EditDzien) << 0 << "-";
        QTest::newRow("day -3") << with([](auto &e) { e.dzien = "-3"; })
            << "Liczba w polu 'Dzień miesiąca' nie może być mniejsza niż 1." << int(Field::EditDzien) << 0 << "-";
        QTest::newRow("day 32") << with([](auto &e) { e.dzien = "32"; })
            << "Liczba w polu 'Dzień miesiąca' nie może być większa niż 31." << int(Field::EditDzien) << 0 << "-";
        QTest::newRow("day empty") << with([](auto &e) { e.dzien = ""; })
            << "Pole 'Dzień w miesiącu' nie może być puste." << int(Field::EditDzien) << 0 << "";
        QTest::newRow("day not a number") << with([](auto &e) { e.dzien = "x"; })
            << "W pole 'Dzień w miesiącu' należy wpisać liczbę od 1 do 31." << int(Field::EditDzien) << 0 << "-";
        QTest::newRow("hour not a number") << with([](auto &e) { e.godzina = ""; })
            << "Pole 'Czas' ma niepoprawnie wpisaną godzinę." << int(Field::FlatEditGodzina) << 0 << "-";
        QTest::newRow("hour 24") << with([](auto &e) { e.godzina = "24"; })
            << "Godzina nie może być większa niż 23." << int(Field::FlatEditGodzina) << 0 << "23";
        QTest::newRow("hour negative") << with([](auto &e) { e.godzina = "-1"; })
            << "Godzina jest wpisana niepoprawnie." << int(Field::FlatEditGodzina) << 0 << "00";
        QTest::newRow("hour tested before minute") << with([](auto &e) { e.godzina = "99"; e.minuta = "99"; })
            << "Godzina nie może być większa niż 23." << int(Field::FlatEditGodzina) << 0 << "23";
        QTest::newRow("minute not a number") << with([](auto &e) { e.minuta = "a"; })
            << "Pole 'Czas' ma niepoprawnie wpisaną minutę." << int(Field::FlatEditMinuta) << 0 << "-";
        QTest::newRow("minute 60") << with([](auto &e) { e.minuta = "60"; })
            << "Minuta nie może być większa niż 59." << int(Field::FlatEditMinuta) << 0 << "59";
        QTest::newRow("minute negative") << with([](auto &e) { e.minuta = "-7"; })
            << "Minuta jest wpisana niepoprawnie." << int(Field::FlatEditMinuta) << 0 << "00";
        QTest::newRow("daily needs no day") << with([](auto &e) { e.miesiac = false; e.codziennie = true; e.dzien = "x"; e.minuta = "60"; })
            << "Minuta nie może być większa niż 59." << int(Field::FlatEditMinuta) << 0 << "59";
        QTest::newRow("8 digits") << with([](auto &e) { e.rows[1].number = "50276543"; })
            << "W książce adresowej na pozycji: 2 numer telefonu 50276543 nie jest 9 cyfrowy."
            << int(Field::EditKsiazka) << 2 << "-";
        QTest::newRow("empty number") << with([](auto &e) { e.rows[1].number = ""; })
            << "W książce adresowej na pozycji: 2 numer telefonu  nie jest 9 cyfrowy." << int(Field::EditKsiazka)
            << 2 << "-";
        QTest::newRow("leading 0") << with([](auto &e) { e.rows[1].number = "060123456"; })
            << "Źle wpisano 2 numer telefonu.\r\n\r\n060123456 jest wartością zabronioną." << int(Field::EditKsiazka)
            << 2 << "-";
        QTest::newRow("all zeros") << with([](auto &e) { e.rows[0].number = "000000000"; })
            << "Źle wpisano 1 numer telefonu.\r\n\r\n000000000 jest wartością zabronioną." << int(Field::EditKsiazka)
            << 1 << "-";
        QTest::newRow("not a number") << with([](auto &e) { e.rows[1].number = "+48601234"; })
            << "Źle wpisano 2 numer telefonu." << int(Field::EditKsiazka) << 2 << "-";
        QTest::newRow("no action") << with([](auto &e) { e.rows[1].s = false; })
            << "Nie zdefiniowano akcji dla numeru telefonu 502765432 na pozycji 2." << int(Field::CheckBoxC) << 2
            << "-";
        QTest::newRow("rows 2 and 5 repeat") << with([](auto &e) { e.rows[4] = {true, "502765432", true, false, false}; })
            << "Numery w książce telefonicznej nie mogą się powtarzać.\r\n\r\nPozycje: 2 i 5 mają taki sam numer."
            << int(Field::EditKsiazka) << 5 << "-";
        QTest::newRow("three equal rows") << with([](auto &e) {
            e.rows[1].number = e.rows[0].number;
            e.rows[2] = {true, e.rows[0].number, true, false, false};
        }) << "Numery w książce telefonicznej nie mogą się powtarzać.\r\n\r\nPozycje: 1 i 2 mają taki sam numer."
           << int(Field::EditKsiazka) << 2 << "-";
    }

    void rules()
    {
        QFETCH(EditorSnapshot, editor);
        QFETCH(QString, message);
        QFETCH(int, focus);
        QFETCH(int, row);
        QFETCH(QString, correction);
        const auto issue = firstIssue(editor, kExtended);
        QVERIFY(issue);
        QCOMPARE(issue->message, message);
        QVERIFY(!issue->question);
        QCOMPARE(int(issue->focus), focus);
        QCOMPARE(issue->row, row);
        if (correction == QLatin1String("-")) {
            QVERIFY(!issue->correction);
        } else {
            QVERIFY(issue->correction);
            QCOMPARE(*issue->correction, correction);
            QCOMPARE(issue->corrected, issue->focus);
        }
    }

    void skippedRules()
    {
        EditorSnapshot e = valid();
        e.pinChecked = false;
        e.pin = "Karta bez numeru PIN";
        e.centrumChecked = false;
        e.centrum = "garbage";
        e.aktywny = false;
        e.miesiac = false;
        e.dzien = "";
        e.godzina = "";
        e.rows[2] = {false, "x", true, true, true}; // a free row is not looked at
        QVERIFY(!firstIssue(e, kExtended));

        // A password the line cannot carry, saved to a file or written to a module not sent it.
        e.meterPassword = QStringLiteral("k\u00f3z");
        QVERIFY(!firstIssue(e, ModuleTraits{16, true, false}));
        e.meterPassword = QStringLiteral("abc");

        // Without the extended book a row with neither C nor S passes.
        e.rows[1].s = false;
        QVERIFY(!firstIssue(e, kPlain));
        e.rows[1].l = true; // L counts on modules that have it
        QVERIFY(!firstIssue(e, kExtended));

        // Rows above the module's book are neither checked nor compared.
        e.rows[8] = {true, "bad", false, false, false};
        e.rows[9] = {true, "601234567", true, false, false};
        QVERIFY(!firstIssue(e, ModuleTraits{8, true}));
    }

    void dayQuestions_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("consequence");
        QTest::newRow("29") << "29" << "Spowoduje to, że harmonogram nie wykona się w lutym roku nieprzestępnego.";
        QTest::newRow("30") << "30" << "Spowoduje to, że harmonogram nie wykona się w lutym.";
        QTest::newRow("31") << "31"
                            << "Spowoduje to, że harmonogram nie wykona się w miesiącach w których ilość dni jest "
                               "mniejsza niż 31.";
    }

    void dayQuestions()
    {
        QFETCH(QString, day);
        QFETCH(QString, consequence);
        EditorSnapshot e = valid();
        e.dzien = day;
        const auto issue = firstIssue(e, kExtended);
        QVERIFY(issue && issue->question);
        QCOMPARE(issue->message, QStringLiteral("W konfiguracji harmonogramu wybrano %1 dzień w miesiącu.\r\n").arg(day) +
                                     consequence + QStringLiteral("\r\n\r\nCzy zapisać taką konfigurację?"));
        QCOMPARE(issue->focus, Field::EditDzien);

        // Asked last: an earlier failure is reported instead.
        e.rows[1].number = "1";
        QVERIFY(!firstIssue(e, kExtended)->question);
        // Not asked for a daily schedule.
        e = valid();
        e.dzien = day;
        e.miesiac = false;
        e.codziennie = true;
        QVERIFY(!firstIssue(e, kExtended));
    }

    void storing()
    {
        EditorSnapshot e = valid();
        e.meterPassword = "abc";
        e.rows[0].l = true;
        e.allNumbers = true;
        e.modem[0] = "AT"; // shown, never stored: its box is never checked
        TUstawienie r = emptyConfiguration();
        store(e, kExtended, r);
        QCOMPARE(r.Identyfikator.text(), QStringLiteral("40012345"));
        QCOMPARE(r.Pin.text(), QStringLiteral("1234"));
        QCOMPARE(r.Centrum.text(), QStringLiteral("+48601000310"));
        QCOMPARE(r.AccessCode.text(), QStringLiteral("7315"));
        QCOMPARE(r.MeterPassword.bytes(), QByteArray("abc       "));
        QCOMPARE(int(r.Harmonogram_rodzaj), 1);
        QCOMPARE(int(r.Harmonogram_dzien), 5);
        QCOMPARE(int(r.Harmonogram_godzina), 7);
        QCOMPARE(int(r.Harmonogram_minuta), 3);
        QVERIFY(r.Modem[0].isEmpty());
        QCOMPARE(r.Telefony[0].text(), QStringLiteral("+48601234567"));
        QVERIFY(r.C[0] && !r.S[0] && r.L[0]);
        QVERIFY(!r.C[1] && r.S[1] && !r.L[1]);
        QVERIFY(r.Telefony[2].isEmpty());
        QVERIFY(r.AllNumbers);

        e.pinChecked = false;
        e.centrumChecked = false;
        e.aktywny = false;
        e.rows[1].inUse = false;
        store(e, kExtended, r);
        QVERIFY(r.Pin.isEmpty() && r.Centrum.isEmpty());
        QCOMPARE(int(r.Harmonogram_rodzaj) + r.Harmonogram_dzien + r.Harmonogram_godzina + r.Harmonogram_minuta, 0);
        QVERIFY(r.Telefony[1].isEmpty() && !r.S[1]);

        e.aktywny = true;
        e.miesiac = false;
        e.codziennie = true;
        r.Harmonogram_rodzaj = 1;
        r.Harmonogram_dzien = 5; // the record held a monthly day: a daily schedule drops it
        store(e, kExtended, r);
        QCOMPARE(int(r.Harmonogram_rodzaj), 2);
        QCOMPARE(int(r.Harmonogram_dzien), 0);
    }

    void storingLeavesWhatTheModuleDoesNotHave()
    {
        TUstawienie r = emptyConfiguration();
        r.L[0] = true;
        r.L[1] = true;
        r.AllNumbers = true;
        r.Telefony[9].setText("+48111111111");
        r.C[9] = true;
        EditorSnapshot e = valid();
        e.rows[0].l = false;
        e.allNumbers = false;
        e.rows[9] = {true, "222222222", false, true, false};
        store(e, ModuleTraits{8, false}, r);
        QVERIFY(r.L[0] && r.L[1]);
        QVERIFY(r.AllNumbers);
        QCOMPARE(r.Telefony[9].text(), QStringLiteral("+48111111111"));
        QVERIFY(r.C[9] && !r.S[9]);
    }
};

QTEST_APPLESS_MAIN(TestValidation)
#include "tst_validation.moc"
