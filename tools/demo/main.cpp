// veskor-demo: drives one real session through the real window, for machines
// without a screen: opens the port, reads the module's configuration, saves it
// to a file and takes a picture of the window. Usage: veskor-demo FOLDER
// (the folder holds QOVMS.ini mapping the selected port to the simulator).
#include "Dialogs.h"
#include "VeskorApplication.h"
#include "uMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include <functional>

namespace {
QTextStream out(stdout);

// Answers the save dialog with a fixed file and prints every message.
class DemoDialogs : public Dialogs {
public:
    explicit DemoDialogs(QString saveAs) : m_saveAs(std::move(saveAs)) {}
    bool message(QWidget *, Kind kind, const QString &text) override
    {
        out << "demo: message \"" << caption(kind) << "\": " << text << Qt::endl;
        return kind != Kind::Question;
    }
    QString openConfigurationFile(QWidget *, const QString &) override { return {}; }
    QString saveConfigurationFile(QWidget *, const QString &) override { return m_saveAs; }

private:
    QString m_saveAs;
};

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

QString text(TMainForm &form, const char *name)
{
    return form.findChild<QLineEdit *>(QLatin1String(name))->text();
}
} // namespace

int main(int argc, char *argv[])
{
    VeskorApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: veskor-demo FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString saved = folder.filePath(QStringLiteral("odczyt.qovsms"));
    const QString picture = folder.filePath(QStringLiteral("veskor.png"));
    QFile::remove(saved);

    DemoDialogs dialogs(saved);
    TMainForm form(ProgramFolders::beside(folder.path()), &dialogs);
    form.show();
    auto button = [&](const char *name) { return form.findChild<QPushButton *>(QLatin1String(name)); };

    bool identified = false;
    QObject::connect(form.engine(), &LinkEngine::identified, [&] { identified = true; });
    out << "demo: opening " << form.selectedPortEntry() << Qt::endl;
    button("BitBtnPolacz")->click();
    if (!waitUntil([&] { return identified; }, 10000)) {
        out << "demo: the module did not answer (" << form.statusText() << ")" << Qt::endl;
        return 1;
    }
    out << "demo: identified " << (form.engine()->DeviceType == dtMKVx ? "MKV" : "RW-5") << " firmware "
        << QString::fromLatin1(form.engine()->DeviceVersion) << Qt::endl;

    button("BitBtnOdczytLicznik")->click();
    if (!waitUntil([&] { return form.statusText() == QStringLiteral("Status: Połączony"); }, 30000)) {
        out << "demo: the read did not finish (" << form.statusText() << ")" << Qt::endl;
        return 1;
    }
    out << "demo: read: serial " << text(form, "EditIdentyfikator") << ", PIN " << text(form, "EditPin")
        << ", SMS centre +48" << text(form, "EditCentrum") << ", schedule day " << text(form, "EditDzien") << " at "
        << text(form, "FlatEditGodzina") << ':' << text(form, "FlatEditMinuta") << Qt::endl;
    for (int n = 1; n <= form.engine()->MaxNumbers; ++n) {
        const QString number = text(form, qPrintable(QStringLiteral("EditKsiazka%1").arg(n, 2, 10, QLatin1Char('0'))));
        if (!number.isEmpty())
            out << "demo: phone book " << n << ": +48" << number << Qt::endl;
    }

    button("BitBtnZapisPlik")->click();
    if (!QFile::exists(saved)) {
        out << "demo: the configuration was not saved" << Qt::endl;
        return 1;
    }
    form.grab().save(picture);
    out << "demo: saved " << QDir::toNativeSeparators(saved) << " (" << QFileInfo(saved).size() << " bytes)"
        << Qt::endl;
    out << "demo: picture " << QDir::toNativeSeparators(picture) << Qt::endl;

    button("BitBtnPolacz")->click();
    form.close();
    return 0;
}
