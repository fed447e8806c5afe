#include "FakeSerialPort.h"
#include "FieldLook.h"
#include "FlatEdit.h"
#include "ScriptedDialogs.h"
#include "SpinButton.h"
#include "TypingLimit.h"
#include "uMain.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMimeData>
#include <QClipboard>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

// The editor's rules driven through real widgets and real key and mouse events.
class TestEditor : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
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
    static QColor bg(QWidget *w) { return FieldLook::background(w); }

    // Characters beyond ASCII cannot go through keyClicks.
    static void typeChar(QWidget *w, QChar ch)
    {
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    void focus(QWidget *w)
    {
        w->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(w->hasFocus());
    }
    void enableEditingGroups()
    {
        for (const char *g : {"GroupBoxParametry", "GroupBoxTerminarz", "GroupBoxKsiazka"})
            c<QGroupBox>(g)->setEnabled(true);
    }

private slots:
    void init()
    {
        form = new TMainForm(ProgramFolders::beside(dir.path()), &dialogs, new FakeSerialPort);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
    }
    void cleanup()
    {
        delete form;
        form = nullptr;
    }

    void fieldsStartLockedAndModemRowsStayDisplayOnly()
    {
        for (const char *name : {"EditIdentyfikator", "EditPin", "EditCentrum", "edtAccessCode", "edtMeterPwd",
                                 "EditDzien", "EditInicjalizacja1", "EditInicjalizacja4", "EditKsiazka16"})
            QCOMPARE(bg(c(name)), FieldLook::locked());
        QCOMPARE(c<FlatEdit>("FlatEditGodzina")->colorFlat(), FieldLook::locked());
        QCOMPARE(c<FlatEdit>("FlatEditMinuta")->colorBorder(), FieldLook::locked());
        QCOMPARE(c<FlatEdit>("FlatEditGodzina")->height(), 18);
        QCOMPARE(c("PanelPin")->geometry(), QRect(136, 52, 121, 19));
        QCOMPARE(c("PanelGodzina")->geometry(), QRect(102, 111, 59, 20));
        QCOMPARE(c("RxSpinButtonCzas")->focusPolicy(), Qt::NoFocus);
        QCOMPARE(typingLimit(edit("EditCentrum")), 9);
        QCOMPARE(typingLimit(edit("edtMeterPwd")), 10);
        QCOMPARE(typingLimit(edit("EditInicjalizacja2")), 40);

        enableEditingGroups();
        QVERIFY(!c("GroupBoxInicjalizacja")->isEnabled());
        for (int n = 1; n <= 4; ++n) {
            QVERIFY(!box(QStringLiteral("CheckBoxInicjalizacja%1").arg(n))->isEnabled());
            QVERIFY(!c(QStringLiteral("PanelInicjalizacja%1").arg(n))->isEnabled());
            QCOMPARE(c<QPushButton>(QStringLiteral("BitBtnInicjalizacja%1").arg(n))->text(),
                     QStringLiteral("Domyślne"));
        }
        QCOMPARE(c("CheckBoxInicjalizacja3")->geometry(), QRect(14, 88, 30, 17));
        QCOMPARE(c("BitBtnInicjalizacja3")->geometry(), QRect(192, 84, 65, 25));
    }

    void digitFieldsTakeDigitsOnly()
    {
        enableEditingGroups();
        box("CheckBoxCentrum")->setChecked(true);
        QLineEdit *centrum = edit("EditCentrum");
        QVERIFY(centrum->hasFocus());
        QTest::keyClicks(centrum, "6a0+1 b2");
        QCOMPARE(centrum->text(), QStringLiteral("6012"));
        QTest::keyClick(centrum, Qt::Key_Backspace);
        QCOMPARE(centrum->text(), QStringLiteral("601"));
        typeChar(centrum, QChar(0x0663)); // a digit, but not ours
        QCOMPARE(centrum->text(), QStringLiteral("601"));
        QTest::keyClicks(centrum, "2345678999");
        QCOMPARE(centrum->text(), QStringLiteral("601234567")); // nine at most

        c("pnlAccessCode")->setEnabled(true);
        focus(edit("edtAccessCode"));
        QTest::keyClicks(edit("edtAccessCode"), "1x2-3.45");
        QCOMPARE(edit("edtAccessCode")->text(), QStringLiteral("1234"));

        box("CheckBoxAktywny")->setChecked(true);
        focus(edit("EditDzien"));
        edit("EditDzien")->clear();
        QTest::keyClicks(edit("EditDzien"), "a1+");
        QCOMPARE(edit("EditDzien")->text(), QStringLiteral("1"));
        focus(c("FlatEditMinuta"));
        QTest::keyClicks(c("FlatEditMinuta"), "x");
        QCOMPARE(edit("FlatEditMinuta")->text(), QStringLiteral("00"));
        QCOMPARE(edit("FlatEditMinuta")->selectedText(), QStringLiteral("00")); // as entering it left it
    }

    void textFromTheProgramIsNotCutByTheTypingLimit()
    {
        enableEditingGroups();
        box("CheckBoxCentrum")->setChecked(true);
        QLineEdit *centrum = edit("EditCentrum");
        centrum->setText("601234567890"); // as shown from a file: validation must see all of it
        QCOMPARE(centrum->text().size(), 12);
        centrum->end(false);
        QTest::keyClicks(centrum, "1");
        QCOMPARE(centrum->text(), QStringLiteral("601234567890"));
        QTest::keyClick(centrum, Qt::Key_Backspace);
        QCOMPARE(centrum->text(), QStringLiteral("60123456789"));

    }

    void meterPasswordTurnsRefusedKeysIntoSpaces()
    {
        enableEditingGroups();
        c("pnlMeterPwd")->setEnabled(true);
        QLineEdit *pwd = edit("edtMeterPwd");
        focus(pwd);
        QTest::keyClicks(pwd, "a");
        typeChar(pwd, QChar(0x00f3)); // ó: the line carries seven bits only
        typeChar(pwd, QChar(0x0142)); // ł
        QTest::keyClick(pwd, Qt::Key_Return);
        QTest::keyClicks(pwd, "b)");   // ")" would end the module's answer
        QCOMPARE(pwd->text(), QStringLiteral("a   b "));
        QTest::keyClick(pwd, Qt::Key_Backspace);
        QCOMPARE(pwd->text(), QStringLiteral("a   b"));
        QTest::keyClicks(pwd, "1234");
        QTest::keyClick(pwd, Qt::Key_Escape); // the last free place still takes its space
        QTest::keyClick(pwd, Qt::Key_Return);
        QCOMPARE(pwd->text(), QStringLiteral("a   b1234 "));
    }

    // Every way of putting text into a field meets the same rule. Each row starts
    // from "9" with the caret at the end, after which the input path acts.
    void everyInputPathObeysTheField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const QString digits = QStringLiteral("edtAccessCode"); // four digits
        const QString password = QStringLiteral("edtMeterPwd"); // ten carried characters
        const QString phone = QStringLiteral("EditKsiazka01"), centre = QStringLiteral("EditCentrum");
        QTest::newRow("digits typed") << digits << "typed" << "1a2" << "912";
        QTest::newRow("digits composed") << digits << "composed" << "\u00f3" << "9";
        QTest::newRow("digits Alt") << digits << "alt" << "a" << "9";
        QTest::newRow("digits AltGr (Ctrl+Alt)") << digits << "altgr" << "\u0105" << "9";
        QTest::newRow("digits paste key, too long") << digits << "paste" << "12345678" << "9";
        QTest::newRow("digits paste menu") << digits << "menu" << "abcdefghij" << "9";
        QTest::newRow("digits middle click") << digits << "selection" << "1-2 3" << "9123";
        QTest::newRow("digits drop") << digits << "drop" << "abcdefghij" << "9";
        QTest::newRow("digits Delete") << digits << "delete" << "" << "";
        QTest::newRow("phone +48 and spaces") << phone << "paste" << "+48 601 000 310" << "601000310";
        QTest::newRow("phone dashes") << phone << "menu" << "601-000-310" << "601000310";
        QTest::newRow("phone another country") << phone << "paste" << "+49 30 1234567" << "9";
        QTest::newRow("phone too long") << phone << "drop" << "12345678901" << "9";
        QTest::newRow("centre 0048") << centre << "paste" << "0048 601 000 310" << "601000310";
        QTest::newRow("password typed") << password << "typed" << "a)b]" << "9a b ";
        QTest::newRow("password composed") << password << "composed" << "\u00f3\u0105" << "9";
        QTest::newRow("password Alt") << password << "alt" << "a" << "9a";
        QTest::newRow("password AltGr (Ctrl+Alt)") << password << "altgr" << "\u0105" << "9 ";
        QTest::newRow("password paste key") << password << "paste" << "K\u0142\u00f3dka)12" << "9";
        QTest::newRow("password paste menu") << password << "menu" << "ab cd-1" << "9ab cd-1";
        QTest::newRow("password drop, fits") << password << "drop" << "abcdefghi" << "9abcdefghi";
        QTest::newRow("password drop, too long") << password << "drop" << "abcdefghij" << "9";
        QTest::newRow("password Delete") << password << "delete" << "" << "";
    }

    void everyInputPathObeysTheField()
    {
        QFETCH(QString, field);
        QFETCH(QString, path);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        enableEditingGroups();
        for (const char *panel : {"pnlAccessCode", "pnlMeterPwd"})
            c(panel)->setEnabled(true);
        box("CheckBox01")->setChecked(true);
        box("CheckBoxCentrum")->setChecked(true);
        QLineEdit *e = edit(field);
        focus(e);
        e->setText(QStringLiteral("9"));
        e->end(false);
        if (field.startsWith("EditKsiazka") || field == "EditCentrum")
            e->selectAll(); // a number is pasted over the one there
        if (path == "typed") {
            for (const QChar ch : input)
                typeChar(e, ch);
        } else if (path == "composed") {
            // What dead keys and input methods deliver: no key event, a commit.
            QInputMethodEvent composing(input, {});
            QCoreApplication::sendEvent(e, &composing);
            QInputMethodEvent commit;
            commit.setCommitString(input);
            QCoreApplication::sendEvent(e, &commit);
        } else if (path == "alt" || path == "altgr") {
            const Qt::KeyboardModifiers mods =
                path == "alt" ? Qt::AltModifier : Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier);
            QTest::sendKeyEvent(QTest::Click, e, Qt::Key_A, input, mods);
        } else if (path == "paste") {
            QGuiApplication::clipboard()->setText(input);
            QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        } else if (path == "menu") {
            QGuiApplication::clipboard()->setText(input);
            std::unique_ptr<QMenu> menu(e->createStandardContextMenu());
            QAction *paste = nullptr;
            for (QAction *a : menu->actions()) { // Qt 6.4 names its actions by their text only
                const QString text = a->text().remove(QLatin1Char('&'));
                if (text.startsWith(QLatin1String("Paste")) || text.startsWith(QLatin1String("Wklej")))
                    paste = a;
            }
            QVERIFY(paste);
            paste->trigger();
        } else if (path == "selection") {
            if (!QGuiApplication::clipboard()->supportsSelection())
                QSKIP("no selection on this platform");
            QGuiApplication::clipboard()->setText(input, QClipboard::Selection);
            QTest::mouseClick(e, Qt::MiddleButton, {}, e->rect().center());
        } else if (path == "drop") {
            QMimeData data;
            data.setText(input);
            const QPoint at = e->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(e, &enter);
            QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(e, &move);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(e, &drop);
        } else if (path == "delete") {
            e->home(false);
            // On X11 the Delete key carries the character 0x7F.
            QTest::sendKeyEvent(QTest::Click, e, Qt::Key_Delete, QStringLiteral("\x7f"), Qt::NoModifier);
        }
        QCOMPARE(e->text(), expected);
    }

    void undoDoesNotBringBackWhatARuleCleared()
    {
        enableEditingGroups();
        QCheckBox *pinBox = box("CheckBoxPin");
        QLineEdit *pin = edit("EditPin");
        pinBox->setChecked(false);
        pinBox->setChecked(true);
        QTest::keyClick(pin, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pin->text(), QString());

        QCheckBox *row = box("CheckBox03");
        QLineEdit *number = edit("EditKsiazka03");
        row->setChecked(true);
        focus(number);
        QTest::keyClicks(number, "601234567");
        row->setChecked(false);
        row->setChecked(true);
        focus(number);
        QTest::keyClick(number, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(number->text(), QString());
    }

    void pinBox()
    {
        QCheckBox *pinBox = box("CheckBoxPin");
        QLineEdit *pin = edit("EditPin");
        // Group disabled (as while a configuration is being shown): no focus moves.
        pinBox->setChecked(true);
        QVERIFY(!pin->hasFocus());
        QCOMPARE(bg(pin), FieldLook::editable());

        enableEditingGroups();
        pinBox->setChecked(false);
        QCOMPARE(pin->text(), QStringLiteral("Karta bez numeru PIN"));
        QCOMPARE(pin->palette().color(QPalette::Text), QColor(255, 0, 0));
        QVERIFY(!c("PanelPin")->isEnabled());
        QVERIFY(!pin->isEnabled()); // cannot be entered
        QCOMPARE(bg(pin), FieldLook::editable());

        pinBox->setChecked(true);
        QCOMPARE(pin->text(), QString());
        QCOMPARE(pin->palette().color(QPalette::Text), QColor(Qt::black));
        QCOMPARE(typingLimit(pin), 8);
        QVERIFY(pin->hasFocus());
        QTest::keyClicks(pin, "12a34567890");
        QCOMPARE(pin->text(), QStringLiteral("12345678"));
    }

    void smsCentreBox()
    {
        enableEditingGroups();
        QCheckBox *centreBox = box("CheckBoxCentrum");
        QLineEdit *centre = edit("EditCentrum");
        centre->setText("601");
        centreBox->setChecked(true);
        QCOMPARE(centre->text(), QStringLiteral("601")); // kept
        QCOMPARE(bg(centre), FieldLook::editable());
        QVERIFY(centre->hasFocus());
        QCOMPARE(centre->cursorPosition(), 3);
        QVERIFY(c("PanelCentrum")->isEnabled());

        centreBox->setChecked(false);
        QCOMPARE(centre->text(), QString());
        QCOMPARE(bg(centre), FieldLook::locked());
        QVERIFY(!c("PanelCentrum")->isEnabled());
        centreBox->setChecked(true);
        QCOMPARE(centre->text(), QString());
        QCOMPARE(c<QLabel>("lblSMSCenter")->text(), QStringLiteral("+48"));
        QVERIFY(c("lblSMSCenter")->isVisible());
    }

    void scheduleStates()
    {
        enableEditingGroups();
        QCheckBox *active = box("CheckBoxAktywny");
        auto *monthly = c<QRadioButton>("RadioButtonMiesiac");
        auto *daily = c<QRadioButton>("RadioButtonCodziennie");
        QLineEdit *day = edit("EditDzien");
        auto *hour = c<FlatEdit>("FlatEditGodzina");
        auto *minute = c<FlatEdit>("FlatEditMinuta");
        auto *colon = c<QLabel>("PanelDwukropek");

        auto expectInactive = [&] {
            QVERIFY(!active->isChecked());
            QVERIFY(!monthly->isEnabled() && !daily->isEnabled());
            QVERIFY(!monthly->isChecked() && !daily->isChecked());
            QVERIFY(!c("LabelDzien")->isEnabled() && !day->isEnabled());
            QCOMPARE(day->text(), QString());
            QCOMPARE(bg(day), FieldLook::locked());
            QVERIFY(!c("LabelCzas")->isEnabled() && !c("PanelGodzina")->isEnabled());
            QCOMPARE(colon->text(), QString());
            QCOMPARE(bg(colon), FieldLook::locked());
            for (FlatEdit *f : {hour, minute}) {
                QCOMPARE(f->text(), QString());
                QCOMPARE(f->colorFocused(), FieldLook::locked());
                QCOMPARE(f->colorBorder(), FieldLook::locked());
                QCOMPARE(f->colorFlat(), FieldLook::locked());
            }
        };
        auto expectTimeEditable = [&] {
            QVERIFY(c("LabelCzas")->isEnabled() && c("PanelGodzina")->isEnabled());
            QCOMPARE(colon->text(), QStringLiteral(":"));
            QCOMPARE(bg(colon), FieldLook::editable());
            for (FlatEdit *f : {hour, minute}) {
                QCOMPARE(f->colorFocused(), FieldLook::editable());
                QCOMPARE(f->colorBorder(), FieldLook::editable());
                QCOMPARE(f->colorFlat(), FieldLook::editable());
            }
        };

        expectInactive();
        active->setChecked(true); // to monthly
        QVERIFY(monthly->isEnabled() && daily->isEnabled() && monthly->isChecked());
        QVERIFY(c("LabelDzien")->isEnabled() && day->isEnabled());
        QCOMPARE(day->text(), QStringLiteral("1"));
        QCOMPARE(bg(day), FieldLook::editable());
        QCOMPARE(hour->text(), QStringLiteral("00"));
        QCOMPARE(minute->text(), QStringLiteral("00"));
        expectTimeEditable();

        day->setText("15");
        hour->setText("12");
        minute->setText("34");
        QTest::mouseClick(daily, Qt::LeftButton); // to daily
        QVERIFY(daily->isChecked() && !monthly->isChecked());
        QVERIFY(!c("LabelDzien")->isEnabled() && !day->isEnabled());
        QCOMPARE(day->text(), QString());
        QCOMPARE(bg(day), FieldLook::locked());
        QCOMPARE(hour->text(), QStringLiteral("12"));
        QCOMPARE(minute->text(), QStringLiteral("34"));
        expectTimeEditable();

        QTest::mouseClick(monthly, Qt::LeftButton); // back to monthly
        QCOMPARE(day->text(), QStringLiteral("1"));
        QCOMPARE(hour->text(), QStringLiteral("12"));
        QCOMPARE(minute->text(), QStringLiteral("34"));

        active->setChecked(false); // to inactive
        expectInactive();

        QTest::mouseClick(daily, Qt::LeftButton); // disabled: nothing happens
        expectInactive();
        active->setChecked(true); // always monthly, day 1, 00:00
        QVERIFY(monthly->isChecked());
        QCOMPARE(day->text(), QStringLiteral("1"));
        QCOMPARE(hour->text(), QStringLiteral("00"));
    }

    void dayFieldIsCorrectedOnLeaving()
    {
        enableEditingGroups();
        box("CheckBoxAktywny")->setChecked(true);
        QLineEdit *day = edit("EditDzien");
        for (const auto &[typed, shown] : {std::pair{"", "1"}, {"00", "1"}, {"07", "7"}, {"30", "30"}, {"45", "28"}}) {
            focus(day);
            day->setText(QString::fromLatin1(typed));
            focus(c("FlatEditMinuta"));
            QCOMPARE(day->text(), QString::fromLatin1(shown));
        }
    }

    void timeFieldsOnEnteringLeavingAndKeys()
    {
        enableEditingGroups();
        box("CheckBoxAktywny")->setChecked(true);
        auto *hour = c<FlatEdit>("FlatEditGodzina");
        auto *minute = c<FlatEdit>("FlatEditMinuta");

        hour->setText("");
        focus(hour);
        QCOMPARE(hour->text(), QStringLiteral("00")); // shown as soon as it is entered
        hour->setText("7");
        focus(minute);
        QCOMPARE(hour->text(), QStringLiteral("07"));
        minute->setText("60");
        focus(hour);
        QCOMPARE(minute->text(), QStringLiteral("00"));
        hour->setText("24");
        focus(minute);
        QCOMPARE(hour->text(), QStringLiteral("00"));

        focus(hour);
        hour->setText("23");
        QTest::keyClick(hour, Qt::Key_Up);
        QCOMPARE(hour->text(), QStringLiteral("00"));
        QCOMPARE(hour->selectedText(), QStringLiteral("00"));
        QCOMPARE(hour->selectionStart(), 0);
        QTest::keyClick(hour, Qt::Key_Down);
        QCOMPARE(hour->text(), QStringLiteral("23"));
        hour->setText("");
        QTest::keyClick(hour, Qt::Key_Down, Qt::ShiftModifier); // shift is ignored
        QCOMPARE(hour->text(), QStringLiteral("23"));
        QTest::keyClicks(hour, "9"); // replaces the selected digits
        QCOMPARE(hour->text(), QStringLiteral("9"));

        focus(minute);
        minute->setText("xy");
        QTest::keyClick(minute, Qt::Key_Up);
        QCOMPARE(minute->text(), QStringLiteral("01"));
        minute->setText("59");
        QTest::keyClick(minute, Qt::Key_Up);
        QCOMPARE(minute->text(), QStringLiteral("00"));
        QTest::keyClick(minute, Qt::Key_Down);
        QCOMPARE(minute->text(), QStringLiteral("59"));
    }

    void spinButtonGivesTheHourTheFocusAndRepeats()
    {
        enableEditingGroups();
        box("CheckBoxAktywny")->setChecked(true);
        auto *hour = c<FlatEdit>("FlatEditGodzina");
        auto *minute = c<FlatEdit>("FlatEditMinuta");
        auto *spin = c<SpinButton>("RxSpinButtonCzas");
        const QPoint top(4, 4);
        const QPoint bottom(16, 16);
        QVERIFY(spin->isTop(top) && !spin->isTop(bottom));

        focus(edit("EditDzien"));
        QTest::mouseClick(spin, Qt::LeftButton, {}, top);
        QVERIFY(hour->hasFocus());
        QCOMPARE(hour->text(), QStringLiteral("01"));
        QCOMPARE(hour->selectedText(), QStringLiteral("01"));

        focus(minute);
        QTest::mouseClick(spin, Qt::LeftButton, {}, bottom);
        QVERIFY(minute->hasFocus());
        QCOMPARE(minute->text(), QStringLiteral("59"));

        // Held down: one step at once, then repeats until released.
        focus(hour);
        hour->setText("00");
        QTest::mousePress(spin, Qt::LeftButton, {}, top);
        QCOMPARE(hour->text(), QStringLiteral("01"));
        QTRY_VERIFY_WITH_TIMEOUT(hour->text().toInt() >= 4, 5000);
        QTest::mouseRelease(spin, Qt::LeftButton, {}, top);
        const QString stopped = hour->text();
        QTest::qWait(3 * SpinButton::kRepeat);
        QCOMPARE(hour->text(), stopped);
    }

    void phoneBookRowRule()
    {
        enableEditingGroups();
        QCheckBox *row = box("CheckBox03");
        row->setEnabled(true);
        QLineEdit *number = edit("EditKsiazka03");
        number->setText("60");
        row->setChecked(true);
        QVERIFY(number->isEnabled());
        QCOMPARE(bg(number), FieldLook::editable());
        QVERIFY(number->hasFocus());
        QCOMPARE(number->cursorPosition(), 2);
        QVERIFY(box("CheckBoxC03")->isChecked());
        QVERIFY(box("CheckBoxC03")->isEnabled() && box("CheckBoxS03")->isEnabled() && box("CheckBoxL03")->isEnabled());
        QVERIFY(!box("CheckBoxS03")->isChecked());

        QTest::keyClicks(number, "1a+ 234567890");
        QCOMPARE(number->text(), QStringLiteral("601234567"));
        box("CheckBoxS03")->setChecked(true);
        box("CheckBoxL03")->setChecked(true);

        row->setChecked(false);
        QCOMPARE(number->text(), QString());
        QCOMPARE(bg(number), FieldLook::locked());
        QVERIFY(!number->isEnabled());
        for (const char *r : {"CheckBoxC03", "CheckBoxS03", "CheckBoxL03"})
            QVERIFY(!box(r)->isChecked() && !box(r)->isEnabled());
        QCOMPARE(c<QLabel>("lblBook03")->text(), QStringLiteral("+48"));

        row->setChecked(true);
        QCOMPARE(number->text(), QString());
        QVERIFY(box("CheckBoxC03")->isChecked());
        QVERIFY(!box("CheckBoxS03")->isChecked() && !box("CheckBoxL03")->isChecked());
    }

    void anyNumberRule()
    {
        enableEditingGroups();
        for (const char *r : {"CheckBox01", "CheckBox02", "CheckBox03"})
            box(r)->setEnabled(true);
        box("CheckBox01")->setChecked(true);
        box("CheckBox02")->setChecked(true);
        box("CheckBoxC02")->setChecked(false);
        QCheckBox *any = box("chbAllNumbers");
        any->setEnabled(true);

        any->setChecked(true);
        QVERIFY(!box("CheckBoxC01")->isEnabled() && box("CheckBoxC01")->isChecked());
        QVERIFY(!box("CheckBoxC02")->isEnabled() && !box("CheckBoxC02")->isChecked());
        QVERIFY(!box("CheckBoxC03")->isEnabled());

        box("CheckBox03")->setChecked(true); // ticked while any number may be sent to
        QVERIFY(box("CheckBoxC03")->isChecked());
        QVERIFY(!box("CheckBoxC03")->isEnabled());
        QVERIFY(box("CheckBoxS03")->isEnabled());

        any->setChecked(false);
        for (const char *r : {"CheckBoxC01", "CheckBoxC02", "CheckBoxC03"})
            QVERIFY(box(r)->isEnabled());
        QVERIFY(box("CheckBoxC01")->isChecked() && !box("CheckBoxC02")->isChecked());
        QVERIFY(!box("CheckBoxC04")->isEnabled()); // a free row stays disabled
    }

    void anyNumberRuleLeavesRowsAboveTheModulesBookAlone()
    {
        enableEditingGroups();
        form->engine()->MaxNumbers = 8;
        box("CheckBox10")->setEnabled(true);
        box("CheckBox10")->setChecked(true);
        box("chbAllNumbers")->setEnabled(true);
        box("chbAllNumbers")->setChecked(true);
        QVERIFY(box("CheckBoxC10")->isEnabled());
        // The row rule itself still follows its row box, above the book's size too.
        box("CheckBox10")->setChecked(false);
        box("CheckBox10")->setChecked(true);
        QVERIFY(!box("CheckBoxC10")->isEnabled());
    }

    void phoneBookLayout()
    {
        QCOMPARE(c("CheckBox01")->geometry(), QRect(14, 25, 35, 17)); // 2 px wider: fallback digits fit
        QCOMPARE(c("CheckBox09")->geometry(), QRect(302, 25, 35, 17));
        QCOMPARE(c("EditKsiazka16")->geometry(), QRect(364, 24 + 42 * 7, 73, 19));
        QCOMPARE(c("CheckBoxL16")->geometry(), QRect(536, 25 + 42 * 7, 17, 17));
        QCOMPARE(c("CheckBoxC05")->toolTip(), QStringLiteral("Odpowiedź"));
        QCOMPARE(c("CheckBoxS05")->toolTip(), QStringLiteral("Harmonogram"));
        QCOMPARE(c("CheckBoxL05")->toolTip(), QStringLiteral("Konfiguracja"));
        QCOMPARE(box("CheckBox07")->text(), QStringLiteral(" 7"));
        QCOMPARE(box("CheckBox12")->text(), QStringLiteral("12"));
        QCOMPARE(typingLimit(edit("EditKsiazka05")), 9);
        QCOMPARE(c<QLabel>("LabelKolumnaL2")->text(), QStringLiteral("ZEZWÓL NA STEROWANIE WYŁĄCZNIKIEM MOCY"));
        QCOMPARE(c("LabelKolumnaL2")->geometry(), QRect(552, 48, 17, 255));
        QCOMPARE(c("RuleV24")->geometry(), QRect(570, 18, 2, 323));

        // The number fields are the group's only tab stops, in row order.
        QWidget *w = edit("EditKsiazka01");
        for (int row = 2; row <= 16; ++row) {
            w = w->nextInFocusChain();
            while (w->focusPolicy() != Qt::StrongFocus && w->focusPolicy() != Qt::WheelFocus)
                w = w->nextInFocusChain();
            QCOMPARE(w->objectName(), QStringLiteral("EditKsiazka%1").arg(row, 2, 10, QLatin1Char('0')));
        }
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
