#include "ScriptedDialogs.h"
#include "UiFont.h"
#include "uMain.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QSerialPort>
#include <QTest>

#include <windows.h>

// The Windows program on the system's own window platform and a real COM port:
// under Wine, the module simulator's pseudo-terminal mapped to COM9. The harness
// passes the simulator's frame log in VESKOR_MODSIM_LOG.
class TestWine : public QObject {
    Q_OBJECT
private:
    static QByteArray simulatorLog()
    {
        QFile f(qEnvironmentVariable("VESKOR_MODSIM_LOG"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void everyLetterOfTheWindowShows()
    {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        TMainForm form(ProgramFolders::beside(dir.path()), &dialogs);
        qInfo("window font: %s, hinting %d", qPrintable(QFontInfo(form.font()).family()),
              int(form.font().hintingPreference()));
        int texts = 0;
        for (QWidget *w : form.findChildren<QWidget *>()) {
            QString text;
            if (auto *label = qobject_cast<QLabel *>(w))
                text = label->text();
            else if (auto *button = qobject_cast<QAbstractButton *>(w))
                text = button->text();
            else if (auto *group = qobject_cast<QGroupBox *>(w))
                text = group->title();
            text.remove(QLatin1Char('&'));
            if (text.isEmpty())
                continue;
            ++texts;
            QVERIFY2(drawsEveryLetter(w->font(), text), qPrintable(w->objectName() + ": " + text));
        }
        QVERIFY(texts > 50);
    }

    void theSystemsPortOpensAndTheModuleIsAsked()
    {
        if (qEnvironmentVariableIsEmpty("VESKOR_MODSIM_LOG"))
            QSKIP("no simulator mapped to COM9 (run by scripts/test-windows)");
        QTemporaryDir dir;
        {
            QFile ini(dir.filePath("QOVMS.ini"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[MAIN]\r\nComPort='COM 9'\r\nDetectCOM=1\r\n");
        }
        ScriptedDialogs dialogs;
        TMainForm form(ProgramFolders::beside(dir.path()), &dialogs); // the real port and the registry's port list
        auto *list = form.findChild<QComboBox *>("FlatComboBoxComPort");
        QVERIFY(list->findText("COM 9") >= 0);
        QCOMPARE(list->currentText(), QStringLiteral("COM 9"));

        form.findChild<QPushButton *>("BitBtnPolacz")->click();
        QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.shown.value(0).text));
        QCOMPARE(form.statusText(), QStringLiteral("Status: Port otwarty"));
        QTRY_VERIFY_WITH_TIMEOUT(simulatorLog().contains("<- <SOH>GE0<STX><EOT>"), 10000);
        // No handshake left from whatever used the port before (what Wine keeps of the
        // device's settings on a pseudo-terminal: not 7E1, not the DSR flags).
        DCB dcb = {};
        dcb.DCBlength = sizeof dcb;
        QVERIFY(GetCommState(form.ApdComPortIrDA()->findChild<QSerialPort *>()->handle(), &dcb));
        QVERIFY(dcb.BaudRate == 4800 && !dcb.fOutxCtsFlow && !dcb.fOutX && !dcb.fInX && !dcb.fNull);
        QVERIFY(dcb.fDtrControl == DTR_CONTROL_ENABLE && dcb.fRtsControl == RTS_CONTROL_ENABLE);

        form.findChild<QPushButton *>("BitBtnPolacz")->click();
        QCOMPARE(form.statusText(), QStringLiteral("Status: Port zamknięty"));
    }
};

QTEST_MAIN(TestWine)
#include "tst_wine.moc"
