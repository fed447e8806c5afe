#include "ConfigurationFile.h"
#include "FakeSerialPort.h"
#include "FieldLook.h"
#include "ScriptedDialogs.h"
#include "TypingLimit.h"
#include "uMain.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

// Showing, starting, validating, storing, loading and saving, through the real window.
class TestConfiguration : public QObject {
    Q_OBJECT
private:
    QTemporaryDir *dir = nullptr;
    ScriptedDialogs *dialogs = nullptr;
    TMainForm *form = nullptr;

    template <typename T = QWidget> T *c(const QString &name)
    {
        T *w = form->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    QLineEdit *edit(const QString &name) { return c<QLineEdit>(name); }
    QCheckBox *box(const QString &name) { return c<QCheckBox>(name); }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir->filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(bytes);
        return path;
    }
    QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void load(const TUstawienie &u)
    {
        dialogs->openNames << writeFile("in.qovsms", ConfigurationFile::toBytes(u));
        form->BitBtnOdczytPlikClick();
    }
    void identify(TDeviceType type, const QByteArray &version, bool latch, int maxNumbers)
    {
        form->engine()->DeviceType = type;
        form->engine()->DeviceVersion = version;
        form->engine()->IsLatch = latch;
        form->engine()->MaxNumbers = maxNumbers;
    }
    // A configuration that validation lets through.
    static TUstawienie sample()
    {
        TUstawienie u = emptyConfiguration();
        u.Identyfikator.setText("40012345");
        u.Pin.setText("1234");
        u.Centrum.setText("+48601000310");
        u.AccessCode.setText("7315");
        u.MeterPassword.setText("licznik   ");
        u.Harmonogram_rodzaj = 1;
        u.Harmonogram_dzien = 5;
        u.Harmonogram_godzina = 7;
        u.Harmonogram_minuta = 30;
        u.Modem[0].setText("AT+CMGF=1");
        u.Telefony[0].setText("+48601234567");
        u.C[0] = true;
        u.L[0] = true;
        u.Telefony[1].setText("+48502765432");
        u.S[1] = true;
        u.AllNumbers = true;
        return u;
    }

private slots:
    void init()
    {
        dir = new QTemporaryDir;
        dialogs = new ScriptedDialogs;
        form = new TMainForm(ProgramFolders::beside(dir->path()), dialogs, new FakeSerialPort);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
    }
    void cleanup()
    {
        delete form;
        delete dialogs;
        delete dir;
    }

    void dialogsStartInTheConfigurationsFolder()
    {
        QVERIFY(QFileInfo(dir->filePath("Konfiguracje")).isDir());
        form->BitBtnOdczytPlikClick(); // cancelled
        QCOMPARE(dialogs->folders, QStringList{dir->filePath("Konfiguracje")});
        QVERIFY(dialogs->shown.isEmpty());
        QVERIFY(!c("BitBtnZapisPlik")->isEnabled());
    }

    void zeroFileShowsAnEmptyConfiguration()
    {
        load(emptyConfiguration());
        QVERIFY(dialogs->shown.isEmpty());
        QVERIFY(c("GroupBoxParametry")->isEnabled() && c("GroupBoxKsiazka")->isEnabled());
        QVERIFY(c("BitBtnZapisPlik")->isEnabled());
        QCOMPARE(edit("EditIdentyfikator")->text(), QString());
        QVERIFY(!box("CheckBoxPin")->isChecked());
        QCOMPARE(edit("EditPin")->text(), QStringLiteral("Karta bez numeru PIN"));
        QVERIFY(!edit("EditPin")->hasFocus());
        QVERIFY(!box("CheckBoxCentrum")->isChecked());
        QCOMPARE(edit("edtAccessCode")->text(), QString());
        QVERIFY(!box("CheckBoxAktywny")->isChecked());
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(edit(QStringLiteral("EditInicjalizacja%1").arg(n))->text(), QString());
        for (int n = 1; n <= 16; ++n)
            QVERIFY(!box(QStringLiteral("CheckBox%1").arg(n, 2, 10, QLatin1Char('0')))->isChecked());
        QVERIFY(!box("chbAllNumbers")->isChecked());
        // From a file with no module identified: code, password and any-number offered.
        QVERIFY(c("pnlAccessCode")->isEnabled() && c("pnlMeterPwd")->isEnabled());
        QVERIFY(box("chbAllNumbers")->isEnabled());
        QVERIFY(!form->IsFromFile);
    }

    void aConfigurationIsShownAsItIs()
    {
        identify(dtMKVx, "02.00", true, 16);
        TUstawienie u = sample();
        u.Centrum.setText("001234567890123"); // 15 characters: the last 12 are shown
        load(u);
        QCOMPARE(edit("EditIdentyfikator")->text(), QStringLiteral("40012345"));
        QCOMPARE(FieldLook::background(edit("EditIdentyfikator")), FieldLook::editable());
        QVERIFY(!c("PanelIdentyfikator")->isEnabled());
        QVERIFY(box("CheckBoxPin")->isChecked());
        QCOMPARE(edit("EditPin")->text(), QStringLiteral("1234"));
        QCOMPARE(edit("EditPin")->palette().color(QPalette::Text), QColor(Qt::black));
        QCOMPARE(typingLimit(edit("EditPin")), 8);
        QVERIFY(edit("EditPin")->hasFocus());
        QCOMPARE(edit("EditPin")->cursorPosition(), 4);
        QCOMPARE(edit("EditCentrum")->text(), QStringLiteral("234567890123"));
        QCOMPARE(edit("edtMeterPwd")->text(), QStringLiteral("licznik   "));
        QVERIFY(c<QRadioButton>("RadioButtonMiesiac")->isChecked());
        QCOMPARE(edit("EditDzien")->text(), QStringLiteral("5"));
        QCOMPARE(edit("FlatEditGodzina")->text(), QStringLiteral("07"));
        QCOMPARE(edit("FlatEditMinuta")->text(), QStringLiteral("30"));
        QCOMPARE(edit("EditInicjalizacja1")->text(), QStringLiteral("AT+CMGF=1"));
        QVERIFY(!c("GroupBoxInicjalizacja")->isEnabled());
        QCOMPARE(edit("EditKsiazka01")->text(), QStringLiteral("601234567"));
        QVERIFY(box("CheckBoxC01")->isChecked() && !box("CheckBoxS01")->isChecked() && box("CheckBoxL01")->isChecked());
        QVERIFY(!box("CheckBoxC02")->isChecked() && box("CheckBoxS02")->isChecked());
        QVERIFY(box("chbAllNumbers")->isChecked());
        QVERIFY(!box("CheckBoxC01")->isEnabled()); // any number: reply rights are moot

        // The centre is too long for validation, which says so.
        QVERIFY(!form->ValidateConfiguration());
        QCOMPARE(dialogs->shown.last().text, QStringLiteral("Pole 'Centrum SMS' nie może mieć więcej niż 9 znaków."));
        QVERIFY(edit("EditCentrum")->hasFocus());
    }

    void scheduleKindsOutsideTheTableShowAsInactive()
    {
        for (int kind : {0, 3, 255}) {
            TUstawienie u = sample();
            u.Harmonogram_rodzaj = quint8(kind);
            load(u);
            QVERIFY(!box("CheckBoxAktywny")->isChecked());
            QCOMPARE(edit("EditDzien")->text(), QString());
        }
        TUstawienie u = sample();
        u.Harmonogram_dzien = 0; // shown as it is, rejected by validation
        load(u);
        QCOMPARE(edit("EditDzien")->text(), QStringLiteral("0"));
        QVERIFY(!form->ValidateConfiguration());
        QCOMPARE(dialogs->shown.last().text,
                 QStringLiteral("Liczba w polu 'Dzień miesiąca' nie może być mniejsza niż 1."));
        QVERIFY(edit("EditDzien")->hasFocus());
    }

    void aShortSerialNumberIsNotShownAndStoredEmpty()
    {
        TUstawienie u = sample();
        u.Identyfikator.setText("4001234");
        load(u);
        QCOMPARE(edit("EditIdentyfikator")->text(), QString());
        QVERIFY(!c("LabelIndentyfikator")->isEnabled());
        QVERIFY(form->ValidateConfiguration());
        QVERIFY(form->Ustawienie.Identyfikator.isEmpty());
    }

    void withoutTheExtendedBookLAndAnyNumberAreNeitherShownNorStored()
    {
        // No module identified: L and AllNumbers stay as the editor had them, and as the file had them.
        // The password holds what the line cannot carry, edges included: a file keeps 8-bit text.
        TUstawienie u = sample();
        u.MeterPassword.setBytes("\tk\xf3z\xa0 ab\r\n");
        const QString in = writeFile("in.qovsms", ConfigurationFile::toBytes(u));
        dialogs->openNames << in;
        form->BitBtnOdczytPlikClick();
        QVERIFY(!box("CheckBoxL01")->isChecked());
        QVERIFY(!box("chbAllNumbers")->isChecked());
        const QString out = dir->filePath("out.qovsms");
        dialogs->saveNames << out;
        form->BitBtnZapisPlikClick();
        QVERIFY2(dialogs->shown.isEmpty(), qPrintable(dialogs->shown.value(0).text));
        // Everything comes back byte for byte but the modem commands, which are never stored.
        TUstawienie expected = u;
        expected.Modem[0].setText(QString());
        QCOMPARE(readFile(out), ConfigurationFile::toBytes(expected));
    }

    void aModuleWithoutLatchGreysCodeAndPasswordButShowsThem()
    {
        identify(dtMKVx, "01.12", false, 16);
        form->Ustawienie = sample();
        form->ShowConfiguration();
        QVERIFY(!c("pnlAccessCode")->isEnabled() && !c("pnlMeterPwd")->isEnabled());
        QVERIFY(!box("chbAllNumbers")->isEnabled());
        QCOMPARE(edit("edtAccessCode")->text(), QStringLiteral("7315"));
        QCOMPARE(FieldLook::background(edit("edtAccessCode")), FieldLook::locked());

        // Still required: an empty code fails, and the focus stays where it was.
        edit("edtAccessCode")->clear();
        c("EditKsiazka01")->setFocus();
        QVERIFY(!form->ValidateConfiguration());
        QCOMPARE(dialogs->shown.last().text, QStringLiteral("Pole 'Kod autoryzacji' nie może być puste."));
        QCOMPARE(dialogs->shown.last().caption, QStringLiteral("Ostrzeżenie"));
        QVERIFY(edit("EditKsiazka01")->hasFocus());

        // This module is never sent the password: one the line cannot carry stops no write.
        edit("edtAccessCode")->setText("7315");
        edit("edtMeterPwd")->setText(QStringLiteral("k\u00f3z"));
        QVERIFY(form->validateConfiguration());
        identify(dtMKVx, "01.12", true, 16);
        QVERIFY(!form->validateConfiguration());
    }

    void eightNumbersLeaveRowsNineToSixteenAlone()
    {
        TUstawienie u = sample();
        u.Telefony[9].setText("+48111111111");
        load(u); // 16 rows while no module is identified
        QCOMPARE(edit("EditKsiazka10")->text(), QStringLiteral("111111111"));
        identify(dtRW5SMS, "1.0", true, 8);
        u.Telefony[9].setText("+48222222222");
        form->Ustawienie = u;
        form->ShowConfiguration();
        for (int n = 9; n <= 16; ++n)
            QVERIFY(!box(QStringLiteral("CheckBox%1").arg(n, 2, 10, QLatin1Char('0')))->isEnabled());
        QCOMPARE(edit("EditKsiazka10")->text(), QStringLiteral("111111111")); // what was shown stays
        QVERIFY(form->ValidateConfiguration());
        QCOMPARE(form->Ustawienie.Telefony[9].text(), QStringLiteral("+48222222222"));
    }

    void aNewConfigurationCannotBeSavedUnchanged()
    {
        load(sample());
        form->BitBtnUtworzClick();
        QCOMPARE(edit("EditIdentyfikator")->text(), QString());
        QVERIFY(!box("CheckBoxPin")->isChecked());
        QCOMPARE(edit("EditPin")->text(), QStringLiteral("Karta bez numeru PIN"));
        QVERIFY(!box("CheckBoxCentrum")->isChecked());
        QVERIFY(c("pnlAccessCode")->isEnabled() && c("pnlMeterPwd")->isEnabled());
        QCOMPARE(edit("edtAccessCode")->text(), QString());
        QVERIFY(box("CheckBoxAktywny")->isChecked() && c<QRadioButton>("RadioButtonMiesiac")->isChecked());
        QCOMPARE(edit("EditDzien")->text(), QStringLiteral("1"));
        QCOMPARE(edit("FlatEditGodzina")->text(), QStringLiteral("00"));
        QCOMPARE(edit("EditInicjalizacja1")->text(), QString());
        QVERIFY(box("CheckBox01")->isChecked() && box("CheckBoxC01")->isChecked());
        QVERIFY(!box("CheckBoxS01")->isChecked() && !box("CheckBoxL01")->isChecked());
        QVERIFY(!box("CheckBox02")->isChecked());
        QVERIFY(box("chbAllNumbers")->isEnabled() && !box("chbAllNumbers")->isChecked());
        QVERIFY(c("BitBtnZapisPlik")->isEnabled());

        const QByteArray before = ConfigurationFile::toBytes(form->Ustawienie);
        form->BitBtnZapisPlikClick();
        QCOMPARE(dialogs->shown.last().text, QStringLiteral("Pole 'Kod autoryzacji' nie może być puste."));
        QVERIFY(edit("edtAccessCode")->hasFocus());
        edit("edtAccessCode")->setText("1234");
        edit("edtMeterPwd")->setText("x");
        form->BitBtnZapisPlikClick();
        QCOMPARE(dialogs->shown.last().text,
                 QStringLiteral("W książce adresowej na pozycji: 1 numer telefonu  nie jest 9 cyfrowy."));
        QVERIFY(edit("EditKsiazka01")->hasFocus());
        QCOMPARE(ConfigurationFile::toBytes(form->Ustawienie), before); // nothing stored on failure
        QVERIFY(dialogs->folders.size() == 1); // no save dialog was shown
    }

    void aNewConfigurationKeepsNothingHiddenFromTheOneBefore_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<int>("maxNumbers");
        QTest::newRow("rights not shown without the extended book") << int(dtMKVx) << QByteArray("01.12") << 16;
        QTest::newRow("rows above an eight-number book") << int(dtRW5SMS) << QByteArray("1.0") << 8;
    }

    void aNewConfigurationKeepsNothingHiddenFromTheOneBefore()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, version);
        QFETCH(int, maxNumbers);
        identify(TDeviceType(type), version, true, 16);
        TUstawienie u = sample();
        for (int n = 0; n < 16; ++n)
            u.L[n] = u.S[n] = u.C[n] = true;
        u.AllNumbers = true;
        u.Telefony[11].setText("+48111111111");
        load(u);
        identify(TDeviceType(type), version, true, maxNumbers);
        form->BitBtnUtworzClick();
        QVERIFY(edit("EditKsiazka12")->text().isEmpty() && !box("CheckBox12")->isChecked()); // hidden rows too
        edit("edtAccessCode")->setText("1234");
        edit("edtMeterPwd")->setText("x");
        edit("EditKsiazka01")->setText("600700800");
        const QString out = dir->filePath("new.qovsms");
        dialogs->saveNames << out;
        form->BitBtnZapisPlikClick();
        QVERIFY2(dialogs->shown.isEmpty(), qPrintable(dialogs->shown.value(0).text));
        TUstawienie saved = emptyConfiguration();
        QVERIFY(ConfigurationFile::fromBytes(readFile(out), saved));
        for (int n = 0; n < 16; ++n)
            QVERIFY(!saved.L[n]);
        QVERIFY(!saved.AllNumbers);
        for (int n = maxNumbers; n < 16; ++n) {
            QCOMPARE(saved.Telefony[n].bytes(), QByteArray());
            QVERIFY(!saved.S[n] && !saved.C[n]);
        }
    }

    void validationMovesTheFocusAfterItsMessage()
    {
        load(sample());
        // PIN of three digits: caret at the end of the PIN.
        edit("EditPin")->setText("123");
        c("EditKsiazka01")->setFocus();
        QVERIFY(!form->ValidateConfiguration());
        QCOMPARE(dialogs->shown.last().text, QStringLiteral("Pole 'PIN' musi mieć od 4 do 8 cyfr."));
        QVERIFY(edit("EditPin")->hasFocus());
        QCOMPARE(edit("EditPin")->cursorPosition(), 3);
        edit("EditPin")->setText("12345678");

        // Hour 24: corrected to 23, both digits selected; the next attempt passes the hour.
        edit("FlatEditGodzina")->setText("24");
        QVERIFY(!form->ValidateConfiguration());
        QCOMPARE(dialogs->shown.last().text, QStringLiteral("Godzina nie może być większa niż 23."));
        QCOMPARE(edit("FlatEditGodzina")->text(), QStringLiteral("23"));
        QVERIFY(edit("FlatEditGodzina")->hasFocus());
        QCOMPARE(edit("FlatEditGodzina")->selectedText(), QStringLiteral("23"));
        QVERIFY(form->ValidateConfiguration());
        QCOMPARE(int(form->Ustawienie.Harmonogram_godzina), 23);

        // Repeated numbers: focus on the later row.
        box("CheckBox05")->setChecked(true);
        edit("EditKsiazka05")->setText("502765432");
        QVERIFY(!form->ValidateConfiguration());
        QCOMPARE(dialogs->shown.last().text,
                 QStringLiteral("Numery w książce telefonicznej nie mogą się powtarzać.\r\n\r\nPozycje: 2 i 5 mają taki "
                                "sam numer."));
        QVERIFY(edit("EditKsiazka05")->hasFocus());
        QCOMPARE(edit("EditKsiazka05")->cursorPosition(), 9);

        // No action for an extended-book module: focus on the reply box.
        identify(dtMKVx, "02.00", true, 16);
        edit("EditKsiazka05")->setText("777777777");
        box("CheckBoxC05")->setChecked(false);
        QVERIFY(!form->ValidateConfiguration());
        QCOMPARE(dialogs->shown.last().text,
                 QStringLiteral("Nie zdefiniowano akcji dla numeru telefonu 777777777 na pozycji 5."));
        QVERIFY(box("CheckBoxC05")->hasFocus());
    }

    void dayQuestionsStoreOnYesAndFailOnNo()
    {
        load(sample());
        edit("EditDzien")->setText("31");
        c("EditKsiazka01")->setFocus();
        dialogs->answers << false;
        const int before = int(dialogs->shown.size());
        QVERIFY(!form->ValidateConfiguration());
        QCOMPARE(dialogs->shown.size(), before + 1); // no further message after No
        QCOMPARE(dialogs->shown.last().caption, QStringLiteral("Pytanie"));
        QVERIFY(dialogs->shown.last().text.startsWith(
            QStringLiteral("W konfiguracji harmonogramu wybrano 31 dzień w miesiącu.\r\n")));
        QVERIFY(edit("EditDzien")->hasFocus());
        QCOMPARE(int(form->Ustawienie.Harmonogram_dzien), 5);

        dialogs->answers << true;
        QVERIFY(form->ValidateConfiguration());
        QCOMPARE(int(form->Ustawienie.Harmonogram_dzien), 31);
    }

    void aShortFileChangesNothing()
    {
        load(sample());
        const QByteArray before = ConfigurationFile::toBytes(form->Ustawienie);
        dialogs->openNames << writeFile("short.qovsms", QByteArray(522, '\x05'));
        form->BitBtnOdczytPlikClick();
        QCOMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].caption, QStringLiteral("Błąd"));
        QCOMPARE(dialogs->shown[0].text, QStringLiteral("Nie można wczytać pliku z konfiguracją!"));
        QCOMPARE(ConfigurationFile::toBytes(form->Ustawienie), before);
        QCOMPARE(edit("EditPin")->text(), QStringLiteral("1234"));
        QCOMPARE(edit("EditKsiazka02")->text(), QStringLiteral("502765432"));
        QVERIFY(!form->IsFromFile);
    }

    void aFileThatCannotBeOpenedIsReportedWithItsReason()
    {
        load(sample());
        dialogs->openNames << dir->filePath("gone.qovsms");
        form->BitBtnOdczytPlikClick();
        QCOMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].caption, QStringLiteral("Błąd"));
        QVERIFY(dialogs->shown[0].text.startsWith(QStringLiteral("Nie można otworzyć pliku ")));
        QVERIFY(dialogs->shown[0].text.contains(QStringLiteral("gone.qovsms: ")));
        QCOMPARE(edit("EditPin")->text(), QStringLiteral("1234"));
        QVERIFY(!form->IsFromFile);
    }

    void aCancelledSaveWritesNothingButStores()
    {
        load(sample());
        edit("EditPin")->setText("87654321");
        form->BitBtnZapisPlikClick(); // dialog cancelled
        QCOMPARE(form->Ustawienie.Pin.text(), QStringLiteral("87654321"));
        QCOMPARE(QDir(dir->filePath("Konfiguracje")).entryList(QDir::Files), QStringList());
        QVERIFY(dialogs->shown.isEmpty());
    }

    void aSaveThatFailsKeepsTheOldFileAndSaysWhy()
    {
        load(sample());
        const QString target = dir->filePath("no-such-folder/x.qovsms");
        dialogs->saveNames << target;
        form->BitBtnZapisPlikClick();
        QCOMPARE(dialogs->shown.size(), 1);
        QCOMPARE(dialogs->shown[0].caption, QStringLiteral("Błąd"));
        QVERIFY(dialogs->shown[0].text.startsWith(QStringLiteral("Nie można zapisać pliku ")));
        QVERIFY(!QFile::exists(target));

        // An existing file is replaced whole, or not at all.
        const QString existing = writeFile("old.qovsms", QByteArray(523, 'o'));
        dialogs->saveNames << existing;
        form->BitBtnZapisPlikClick();
        QCOMPARE(readFile(existing).size(), 523);
        QCOMPARE(readFile(existing).at(0), '\x08'); // the new serial number's length byte
    }
};

QTEST_MAIN(TestConfiguration)
#include "tst_configuration.moc"
