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
#include <QTest>

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
        QCOMPARE(form.statusText(), QStringLiteral("Status: Port otwarty"));
        QVERIFY(dialogs.shown.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(simulatorLog().contains("<- <SOH>GE0<STX><EOT>"), 10000);

        form.findChild<QPushButton *>("BitBtnPolacz")->click();
        QCOMPARE(form.statusText(), QStringLiteral("Status: Port zamknięty"));
    }
};

QTEST_MAIN(TestWine)
#include "tst_wine.moc"
