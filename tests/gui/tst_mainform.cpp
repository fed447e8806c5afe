#include "Dialogs.h"
#include "FakeSerialPort.h"
#include "Pictures.h"
#include "RotatedLabel.h"
#include "ScriptedDialogs.h"
#include "uKomunikat.h"
#include "uMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QScopeGuard>
#include <QTimer>
#include <QElapsedTimer>
#include <QSignalSpy>

class TestMainForm : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    ScriptedDialogs dialogs;

    template <typename T> T *child(QWidget *w, const char *name)
    {
        T *c = w->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", name);
        return c;
    }

private slots:
    void windowFrameAndGroups()
    {
        TMainForm form(ProgramFolders::beside(dir.path()), &dialogs, new FakeSerialPort);
        QCOMPARE(form.windowTitle(), QStringLiteral("Veskor v. 02.01"));
        QCOMPARE(form.size(), QSize(1049, 496));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);

        struct G {
            const char *name;
            const char *caption;
            QRect rect;
            bool enabled;
        };
        const G groups[] = {
            {"GroupBoxPolaczenie", "  Połączenie  ", {8, 8, 169, 187}, true},
            {"GroupBoxParametry", "  Parametry  ", {184, 8, 265, 187}, false},
            {"GroupBoxTerminarz", "  Harmonogram  ", {8, 204, 169, 153}, false},
            {"GroupBoxInicjalizacja", "  Komendy inicjujące modem  ", {184, 204, 265, 153}, false},
            {"GroupBoxKsiazka", "  Numery telefonów  ", {456, 8, 585, 349}, false},
            {"GroupBoxOperacje", "  Operacje  ", {8, 408, 1033, 65}, true},
            {"gbAllNumbers", "", {8, 360, 1033, 43}, true},
        };
        for (const G &g : groups) {
            auto *box = child<QGroupBox>(&form, g.name);
            QCOMPARE(box->title(), QString::fromUtf8(g.caption));
            QCOMPARE(box->geometry(), g.rect);
            QCOMPARE(box->isEnabled(), g.enabled);
        }
        const char *buttons[] = {"BitBtnUtworz", "BitBtnOdczytPlik", "BitBtnZapisPlik", "BitBtnOdczytLicznik",
                                 "BitBtnZapisLicznik"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(child<QPushButton>(&form, buttons[i])->geometry(), QRect(54 + 187 * i, 24, 177, 25));
        // Tab order by groups: the phone book, the operations, then the any-number box.
        QWidget *w = child<QWidget>(&form, "EditKsiazka16");
        QStringList after;
        while (after.size() < 6 && (w = w->nextInFocusChain()) != &form) {
            if (w->focusPolicy() & Qt::TabFocus)
                after << w->objectName();
        }
        QCOMPARE(after, (QStringList{"BitBtnUtworz", "BitBtnOdczytPlik", "BitBtnZapisPlik", "BitBtnOdczytLicznik",
                                     "BitBtnZapisLicznik", "chbAllNumbers"}));
        QCOMPARE(child<QStatusBar>(&form, "StatusBarMain")->height(), 19);
        QCOMPARE(form.statusText(), QStringLiteral("Status: Port zamknięty"));
    }

    // With whichever font stands in for the one the layout was made for, no caption is cut.
    void everyCaptionFitsItsControl()
    {
        TMainForm form(ProgramFolders::beside(dir.path()), &dialogs, new FakeSerialPort);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QStringList cut;
        for (QWidget *w : form.findChildren<QWidget *>()) {
            int needed = 0;
            if (auto *label = qobject_cast<QLabel *>(w);
                label && !qobject_cast<RotatedLabel *>(w) && !label->wordWrap() && !label->text().isEmpty())
                needed = label->sizeHint().width();
            else if (auto *button = qobject_cast<QAbstractButton *>(w); button && !button->text().isEmpty()) {
                const QString text = button->text().remove(QLatin1Char('&'));
                // The last glyph's own blank edge may go: only ink that does not fit is cut.
                needed = button->fontMetrics().horizontalAdvance(text) -
                         qMax(0, button->fontMetrics().rightBearing(text.back()));
                // Where the style puts the caption of a check box or radio button.
                QStyleOptionButton option;
                option.initFrom(button);
                option.text = button->text();
                QStyle::SubElement contents = QStyle::SE_PushButtonContents;
                if (qobject_cast<QCheckBox *>(w))
                    contents = QStyle::SE_CheckBoxContents;
                else if (qobject_cast<QRadioButton *>(w))
                    contents = QStyle::SE_RadioButtonContents;
                const QRect room = w->style()->subElementRect(contents, &option, w);
                needed += w->width() - room.width();
            }
            if (!w->objectName().startsWith("qt_") && needed > w->width() && w->width() > 0)
                cut << QStringLiteral("%1 (%2 > %3)").arg(w->objectName()).arg(needed).arg(w->width());
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));
    }

    void onlyTheConnectionGroupAndTwoButtonsTakeInputAtStart()
    {
        TMainForm form(ProgramFolders::beside(dir.path()), &dialogs, new FakeSerialPort);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QStringList live;
        for (QWidget *w : form.findChildren<QWidget *>()) {
            if (w->focusPolicy() != Qt::NoFocus && w->isEnabled() && w->isVisible())
                live << w->objectName();
        }
        live.sort();
        QCOMPARE(live, QStringList({"BitBtnOdczytPlik", "BitBtnPolacz", "BitBtnUtworz", "CheckBoxWykrywanieCOM",
                                    "FlatComboBoxComPort"}));
        QVERIFY(child<QCheckBox>(&form, "CheckBoxWykrywanieCOM")->isChecked());
        QCOMPARE(child<QPushButton>(&form, "BitBtnPolacz")->text(), QStringLiteral("Otwórz port"));
        QVERIFY(!child<QCheckBox>(&form, "chbAllNumbers")->isEnabled());
        QCOMPARE(child<QCheckBox>(&form, "chbAllNumbers")->text(), QStringLiteral("Wyślij SMS na dowolny numer"));
        QCOMPARE(child<QComboBox>(&form, "FlatComboBoxComPort")->currentText(), QStringLiteral("COM 1"));
    }

    void picturesAreStoredWithTheProgramAndFoundInAnyCase()
    {
        for (const char *name : {"info", "ERRO", "Ok"}) {
            const QPixmap pixmap = Pictures::bitmap(QString::fromLatin1(name));
            QVERIFY2(!pixmap.isNull(), name);
            // The magenta background is not drawn.
            const QImage image = pixmap.toImage();
            QCOMPARE(qAlpha(image.pixel(0, image.height() - 1)), 0);
            QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2 + 2)), 255);
        }
        QVERIFY(Pictures::bitmap("none").isNull());
    }

    void messageWindowReportsAndEscClosesIt()
    {
        TMainForm form(ProgramFolders::beside(dir.path()), &dialogs, new FakeSerialPort);
        form.show();
        QVERIFY(form.showKomunikat(false));
        QPointer<TKomunikatForm> k = form.komunikatForm();
        QVERIFY(k);
        QVERIFY(!form.isEnabled());
        QCOMPARE(k->windowTitle(), QStringLiteral("Błąd"));
        QCOMPARE(k->LabelKomunkat->text(), QStringLiteral("Niezgodność danych po weryfikacji!"));
        QCOMPARE(k->LabelKomunkat->pos(), QPoint(64, 22));
        QCOMPARE(k->size(), QSize(297, 90));
        QCOMPARE(k->BitBtnOK->geometry(), QRect(112, 56, 73, 25));
        QVERIFY(k->BitBtnOK->isDefault());
        QVERIFY(k->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!k->ImageInfo->pixmap().isNull());
        QVERIFY(QTest::qWaitForWindowActive(k));

        QSignalSpy clicked(k->BitBtnOK, &QPushButton::clicked);
        QTest::keyClick(k, Qt::Key_Escape);
        QCOMPARE(clicked.count(), 1);
        QTRY_VERIFY(!k);
        QVERIFY(!form.komunikatForm());
        QVERIFY(form.isEnabled());
    }

    void successTextAndCaption()
    {
        TMainForm form(ProgramFolders::beside(dir.path()), &dialogs, new FakeSerialPort);
        form.showKomunikat(true);
        QCOMPARE(form.komunikatForm()->windowTitle(), QStringLiteral("Informacja"));
        QCOMPARE(form.komunikatForm()->LabelKomunkat->text(), QStringLiteral("Programowanie zakończone powodzeniem."));
        QTest::mouseClick(form.komunikatForm()->BitBtnOK, Qt::LeftButton);
        QTRY_VERIFY(!form.komunikatForm());
        QVERIFY(form.isEnabled());
    }

    void closingTheMainWindowClosesTheMessageWindow()
    {
        TMainForm form(ProgramFolders::beside(dir.path()), &dialogs, new FakeSerialPort);
        form.show();
        form.showKomunikat(true);
        QPointer<TKomunikatForm> k = form.komunikatForm();
        QVERIFY(form.close());
        QTRY_VERIFY(!k);
    }

    void screenshotOfTheMainWindow()
    {
        // A picture of the window with a few fields in use, for a person to look at.
        TMainForm form(ProgramFolders::beside(dir.path()), &dialogs, new FakeSerialPort);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (const char *g : {"GroupBoxParametry", "GroupBoxTerminarz", "GroupBoxKsiazka"})
            child<QGroupBox>(&form, g)->setEnabled(true);
        child<QCheckBox>(&form, "CheckBoxPin")->setChecked(true);
        child<QCheckBox>(&form, "CheckBoxPin")->setChecked(false);
        child<QCheckBox>(&form, "CheckBoxCentrum")->setChecked(true);
        child<QLineEdit>(&form, "EditCentrum")->setText("601000310");
        child<QCheckBox>(&form, "CheckBoxAktywny")->setChecked(true);
        for (const char *row : {"CheckBox01", "CheckBox02", "CheckBox09"}) {
            child<QCheckBox>(&form, row)->setEnabled(true);
            child<QCheckBox>(&form, row)->setChecked(true);
        }
        child<QLineEdit>(&form, "EditKsiazka01")->setText("601234567");
        const QString folder = QStringLiteral(VESKOR_BUILD_DIR "/screenshots");
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/main-window.png");
        QVERIFY(form.grab().save(path));
        qInfo("saved %s", qPrintable(path));
    }

    void realMessageBoxesCarryTheirCaptionsAndButtons()
    {
        QtDialogs real;
        QWidget owner;
        struct Case {
            Dialogs::Kind kind;
            QString caption;
            QMessageBox::Icon icon;
            QMessageBox::StandardButtons buttons;
        };
        const Case cases[] = {
            {Dialogs::Kind::Error, "Błąd", QMessageBox::Critical, QMessageBox::Ok},
            {Dialogs::Kind::Warning, "Ostrzeżenie", QMessageBox::Warning, QMessageBox::Ok},
            {Dialogs::Kind::Information, "Informacja", QMessageBox::Information, QMessageBox::Ok},
            {Dialogs::Kind::Question, "Pytanie", QMessageBox::Question, QMessageBox::Yes | QMessageBox::No},
        };
        for (const Case &c : cases) {
            bool seen = false;
            // The box is modal: inspect and dismiss it from the event loop it runs.
            // A check that fails in there returns early: the box is closed all the same
            // (and any box still up after five seconds), so the failure ends the test at once.
            QTimer watchdog;
            watchdog.setSingleShot(true);
            connect(&watchdog, &QTimer::timeout, this, [] {
                if (QWidget *modal = QApplication::activeModalWidget())
                    modal->close();
            });
            watchdog.start(5000);
            QTimer::singleShot(0, this, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                const auto closeBox = qScopeGuard([box] {
                    if (box->isVisible())
                        box->close();
                });
                seen = true;
                QCOMPARE(box->windowTitle(), c.caption);
                QCOMPARE(box->text(), QStringLiteral("treść"));
                QCOMPARE(box->icon(), c.icon);
                QCOMPARE(box->standardButtons(), c.buttons);
                QCOMPARE(box->parentWidget(), &owner);
                if (c.kind == Dialogs::Kind::Question)
                    QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
                QTest::keyClick(box, Qt::Key_Return); // the default button
            });
            QElapsedTimer limit;
            limit.start();
            const bool answer = real.message(&owner, c.kind, QStringLiteral("treść"));
            QVERIFY(seen);
            QVERIFY(limit.elapsed() < 10000);
            QCOMPARE(answer, c.kind != Dialogs::Kind::Question); // Enter answers No to a question
        }
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
