#include "FakeSerialPort.h"
#include "ScriptedDialogs.h"
#include "VeskorApplication.h"
#include "uMain.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

// An exception that no handler catches reaches the technician as a message, and
// the window goes on working.
class TestErrorReport : public QObject {
    Q_OBJECT
private slots:
    void anExceptionFromAHandlerIsShownAndTheWindowGoesOn()
    {
        auto *app = static_cast<VeskorApplication *>(QCoreApplication::instance());
        QStringList reported;
        app->setReporter([&](const QString &message) { reported << message; });

        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        TMainForm form(ProgramFolders::beside(dir.path()), &dialogs, new FakeSerialPort);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *button = form.findChild<QPushButton *>("BitBtnUtworz");
        const auto failing = connect(button, &QPushButton::clicked, &form,
                                     [] { throw std::runtime_error("Nie można zapisać pliku: dysk pełny"); });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(reported, QStringList{QStringLiteral("Nie można zapisać pliku: dysk pełny")});

        disconnect(failing);
        QTest::mouseClick(button, Qt::LeftButton); // still works: a new configuration
        QVERIFY(form.findChild<QWidget *>("GroupBoxParametry")->isEnabled());
        QCOMPARE(reported.size(), 1);
    }

    void qtsOwnTextsArePolish()
    {
        QVERIFY(VeskorApplication::loadQtTranslation(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Paste"), QStringLiteral("&Wklej"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("Zachowaj jako")); // Qt's own wording
    }
};

int main(int argc, char *argv[])
{
    VeskorApplication app(argc, argv);
    TestErrorReport test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errorreport.moc"
