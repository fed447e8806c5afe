#include "uMain.h"

#include "ConfigEditor.h"
#include "FlatComboBox.h"
#include "PortListBox.h"
#include "ConfigurationFile.h"
#include "ConfigurationView.h"
#include "Validation.h"
#include "Dialogs.h"
#include "ProtocolReport.h"
#include "PhoneBookEditor.h"
#include "ProfileFile.h"
#include "QtSerialPortService.h"
#include "UiFont.h"
#include "ui_uMain.h"
#include "uKomunikat.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QDateTime>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QSysInfo>

namespace {
const QColor kEditableColour(0xF0, 0xF0, 0xF0);

// The settings file, once the user's has started from the program's (without a
// copy the defaults apply, as without a file): nothing may read it before.
QString startedSettings(const ProgramFolders &folders)
{
    folders.startUserSettings();
    return folders.settingsFile;
}
} // namespace

TMainForm::TMainForm(const ProgramFolders &folders, Dialogs *dialogs, SerialPort *port,
                     std::unique_ptr<PortSource> ports, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TMainForm>()), m_folders(folders),
      m_naming(PortNaming::fromSettings(startedSettings(m_folders)))
{
    ui->setupUi(this);
    setFont(uiFont());
    setFixedSize(1049, 496);
    ui->StatusBarMain->setFixedHeight(19);
    m_statusPanel = new QLabel(ui->StatusBarMain);
    m_statusPanel->setObjectName(QStringLiteral("StatusBarMainPanel"));
    ui->StatusBarMain->addWidget(m_statusPanel, 1);

    QPalette flat = ui->FlatComboBoxComPort->palette();
    flat.setColor(QPalette::Base, kEditableColour);
    flat.setColor(QPalette::Button, kEditableColour);
    ui->FlatComboBoxComPort->setPalette(flat);

    if (!dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>();
        dialogs = m_ownDialogs.get();
    }
    m_dialogs = dialogs;
    m_ports = ports ? std::move(ports) : PortSource::system(m_naming);
    if (!port)
        port = new QtSerialPortService(m_naming, this);
    else
        port->setParent(this);
    m_port = port;
    m_port->setObjectName(QStringLiteral("ApdComPortIrDA"));
    // Before the engine's own handlers, which already send the first request.
    connect(m_port, &SerialPort::portOpened, this, &TMainForm::startLineLog);
    m_engine = new LinkEngine(m_port, this, this);
    m_engine->setLineObserver(&m_lineLog);
    connect(m_port, &SerialPort::portClosed, this, &TMainForm::endLineLog);
    connect(m_engine, &LinkEngine::identified, this, [this] { m_lineLog.note(m_engine->moduleDescription()); });
    m_engine->TimerWatchDog().setObjectName(QStringLiteral("TimerWatchDog"));

    m_editor = new ConfigEditor(this);
    m_phoneBook = new PhoneBookEditor(this, m_editor, [this] { return m_engine->MaxNumbers; });

    m_view = new ConfigurationView(this);

    connect(ui->BitBtnPolacz, &QPushButton::clicked, this, &TMainForm::BitBtnPolaczClick);
    connect(ui->CheckBoxWykrywanieCOM, &QCheckBox::toggled, this, &TMainForm::CheckBoxWykrywanieCOMClick);
    connect(ui->FlatComboBoxComPort, &FlatComboBox::dropDown, this, &TMainForm::FlatComboBoxComPortDropDown);
    connect(ui->BitBtnUtworz, &QPushButton::clicked, this, &TMainForm::BitBtnUtworzClick);
    connect(ui->BitBtnOdczytPlik, &QPushButton::clicked, this, &TMainForm::BitBtnOdczytPlikClick);
    connect(ui->BitBtnZapisPlik, &QPushButton::clicked, this, &TMainForm::BitBtnZapisPlikClick);
    connect(ui->BitBtnOdczytLicznik, &QPushButton::clicked, this, [this] {
        beginJournal(QStringLiteral("odczyt"));
        m_engine->BitBtnOdczytLicznikClick();
    });
    connect(ui->BitBtnZapisLicznik, &QPushButton::clicked, this, [this] {
        beginJournal(QStringLiteral("zapis"));
        m_engine->BitBtnZapisLicznikClick();
        if (!m_engine->IsWritening) // refused by validation: the module was not touched
            m_entry.operation.clear();
    });
    FormCreate();
}

TMainForm::~TMainForm()
{
    m_engine->setLineObserver(nullptr); // the log goes before the engine, a child, does
    if (KomunikatForm)
        delete KomunikatForm.data();
}

void TMainForm::FormCreate()
{
    setWindowTitle(QStringLiteral("Veskor v. " VESKOR_VERSION));
    TMainForm::setStatus(QStringLiteral("Status: Port zamknięty")); // no derived class exists yet
    // The file dialogs start here; without it they still start from this path.
    QDir().mkpath(configurationFolder());

    ProfileFile ini(settingsPath());
    const QString main = QStringLiteral("MAIN");
    if (!ini.load() || ini.keys(main).isEmpty()) {
        RefreshPortList();
        return;
    }
    const bool detect = ini.readBool(main, QStringLiteral("DetectCOM"), true);
    if (!detect)
        ui->CheckBoxWykrywanieCOM->setChecked(false); // its rule refills the list without detection
    else
        RefreshPortList();
    if (ini.contains(main, QStringLiteral("ComPort"))) {
        QString port = ini.readString(main, QStringLiteral("ComPort"), QStringLiteral("COM 1"));
        if (!port.startsWith(QLatin1String("COM ")))
            port = QStringLiteral("COM 1");
        for (int i = 0; i < ui->FlatComboBoxComPort->count(); ++i) {
            if (ui->FlatComboBoxComPort->itemText(i) == port) {
                ui->FlatComboBoxComPort->setCurrentIndex(i);
                break;
            }
        }
    }
}

QString TMainForm::settingsPath() const
{
    return m_folders.settingsFile;
}

QString TMainForm::configurationFolder() const
{
    return m_folders.configurations;
}

void TMainForm::ShowConfiguration()
{
    ConfigurationView::Context context;
    context.isFromFile = IsFromFile;
    context.isLatch = m_engine->IsLatch;
    context.extendedBook = m_engine->IsExtendedBook();
    context.maxNumbers = m_engine->MaxNumbers;
    m_view->ShowConfiguration(Ustawienie, context);
}

void TMainForm::BitBtnUtworzClick()
{
    m_view->BitBtnUtworzClick(m_engine->MaxNumbers);
    clearUnshownFields(Ustawienie, m_engine->MaxNumbers);
}

bool TMainForm::ValidateConfiguration()
{
    return validate(false);
}

bool TMainForm::validate(bool sendsPassword)
{
    const EditorSnapshot editor = m_view->snapshot();
    const auto issue =
        Validation::firstIssue(editor, {m_engine->MaxNumbers, m_engine->IsExtendedBook(), sendsPassword});
    if (issue) {
        if (issue->question) {
            if (m_dialogs->message(this, Dialogs::Kind::Question, issue->message)) {
                StoreConfiguration();
                return true;
            }
        } else {
            m_dialogs->message(this, Dialogs::Kind::Warning, issue->message);
            m_view->correct(*issue);
        }
        // The message box first, the focus once it has closed.
        m_view->focusOn(*issue);
        return false;
    }
    StoreConfiguration();
    return true;
}

void TMainForm::StoreConfiguration()
{
    Validation::store(m_view->snapshot(), {m_engine->MaxNumbers, m_engine->IsExtendedBook()}, Ustawienie);
}

void TMainForm::BitBtnOdczytPlikClick()
{
    const QString path = m_dialogs->openConfigurationFile(this, m_folders.openFolder());
    if (path.isEmpty())
        return;
    TUstawienie loaded = Ustawienie;
    QString reason;
    switch (ConfigurationFile::load(path, loaded, &reason)) {
    case ConfigurationFile::LoadResult::CannotOpen:
        m_dialogs->message(this, Dialogs::Kind::Error,
                           QStringLiteral("Nie można otworzyć pliku %1: %2").arg(QDir::toNativeSeparators(path), reason));
        return;
    case ConfigurationFile::LoadResult::TooShort:
        m_dialogs->message(this, Dialogs::Kind::Error, QStringLiteral("Nie można wczytać pliku z konfiguracją!"));
        return;
    case ConfigurationFile::LoadResult::Loaded:
        break;
    }
    Ustawienie = loaded;
    m_configurationFile = path;
    IsFromFile = true;
    ShowConfiguration();
    IsFromFile = false;
}

void TMainForm::BitBtnZapisPlikClick()
{
    if (!ValidateConfiguration())
        return;
    const QString path = m_dialogs->saveConfigurationFile(this, configurationFolder());
    if (path.isEmpty())
        return;
    QString reason;
    if (!ConfigurationFile::save(path, Ustawienie, &reason))
        m_dialogs->message(this, Dialogs::Kind::Error,
                           QStringLiteral("Nie można zapisać pliku %1: %2").arg(QDir::toNativeSeparators(path), reason));
}

void TMainForm::RefreshPortList()
{
    PortList::refresh(ui->FlatComboBoxComPort, ui->CheckBoxWykrywanieCOM->isChecked(), *m_ports, m_naming);
}

void TMainForm::CheckBoxWykrywanieCOMClick()
{
    RefreshPortList();
}

void TMainForm::FlatComboBoxComPortDropDown()
{
    RefreshPortList();
}

void TMainForm::BitBtnPolaczClick()
{
    m_engine->BitBtnPolaczClick();
}

QString TMainForm::statusText() const
{
    return m_statusPanel->text();
}

void TMainForm::setStatus(const QString &text)
{
    m_statusPanel->setText(text);
    // The next step (opening a port, sending a frame) may block the loop for a
    // moment; the text must already be on screen by then.
    m_statusPanel->repaint();
}

void TMainForm::setButtonEnabled(Button button, bool enabled)
{
    QPushButton *b = nullptr;
    switch (button) {
    case Button::Polacz:
        b = ui->BitBtnPolacz;
        break;
    case Button::Utworz:
        b = ui->BitBtnUtworz;
        break;
    case Button::OdczytPlik:
        b = ui->BitBtnOdczytPlik;
        break;
    case Button::ZapisPlik:
        b = ui->BitBtnZapisPlik;
        break;
    case Button::OdczytLicznik:
        b = ui->BitBtnOdczytLicznik;
        break;
    case Button::ZapisLicznik:
        b = ui->BitBtnZapisLicznik;
        break;
    }
    b->setEnabled(enabled);
}

void TMainForm::setPolaczCaption(const QString &caption)
{
    ui->BitBtnPolacz->setText(caption);
}

QString TMainForm::selectedPortEntry() const
{
    return ui->FlatComboBoxComPort->currentText();
}

void TMainForm::startLineLog()
{
    m_lastMessage.clear();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                           QStringLiteral("/logs");
    const QString entry = selectedPortEntry();
    const QString device = m_naming.devicePath(PortNaming::numberFromEntry(entry));
    m_lineLog.openInFolder(folder, entry + QStringLiteral(" (") + QDir::toNativeSeparators(device) + QLatin1Char(')'));
    if (const QString adapter = m_port->adapterNote(); !adapter.isEmpty())
        m_lineLog.note(adapter);
}

void TMainForm::beginJournal(const QString &operation)
{
    if (!m_journal)
        m_journal = std::make_unique<Journal>(Journal::pathFor(settingsPath()));
    m_entry = {};
    m_entry.start = QDateTime::currentDateTime();
    m_entry.program = QStringLiteral("Veskor " VESKOR_VERSION);
    m_entry.port = selectedPortEntry();
    m_entry.operation = operation;
    m_entryClock.start();
}

bool TMainForm::endJournal(const QString &result, const TUstawienie &configuration)
{
    if (m_entry.operation.isEmpty())
        return false;
    m_entry.serial = Odczytanie.Identyfikator.text();
    m_entry.module = m_engine->moduleName();
    if (m_entry.operation == QLatin1String("zapis"))
        m_entry.file = QFileInfo(m_configurationFile).fileName();
    m_entry.fingerprint = m_engine->fingerprint(configuration);
    m_entry.result = result;
    m_entry.seconds = double(m_entryClock.elapsed()) / 1000;
    const bool written = m_journal->append(m_entry);
    m_entry.operation.clear();
    if (!written && !m_journalWarned) { // once: the rows wait for the next append that succeeds
        m_journalWarned = true;
        m_dialogs->message(this, Dialogs::Kind::Warning,
                           QStringLiteral("Nie można zapisać dziennika prac %1: %2")
                               .arg(QDir::toNativeSeparators(m_journal->path()), m_journal->errorString()));
    }
    return true;
}

void TMainForm::writeProtocol()
{
    ProtocolReport::Content content;
    content.entry = m_entry;
    content.technician = ProtocolReport::technician(settingsPath());
    content.computer = QSysInfo::machineHostName();
    content.written = Ustawienie;
    content.traits = {m_engine->MaxNumbers, m_engine->IsExtendedBook(), m_engine->IsLatch};
    content.verified = true;
    const QString path = ProtocolReport::folderBeside(m_folders.configurations) + QLatin1Char('/') +
                         ProtocolReport::fileName(m_entry.serial, m_entry.start);
    QString error;
    if (!ProtocolReport::write(path, content, &error))
        m_dialogs->message(this, Dialogs::Kind::Warning, QStringLiteral("Nie można zapisać protokołu: ") + error);
}

void TMainForm::showConfiguration()
{
    if (m_entry.operation == QLatin1String("odczyt"))
        endJournal(QStringLiteral("powodzenie"), Odczytanie);
    ShowConfiguration();
}

void TMainForm::endLineLog()
{
    endJournal(m_lastMessage.isEmpty() ? QStringLiteral("port zamknięty przed końcem") : m_lastMessage, Odczytanie);
    m_lineLog.close(m_lastMessage.isEmpty() ? QStringLiteral("bez błędów") : m_lastMessage);
}

void TMainForm::showMessage(Message kind, const QString &text)
{
    m_lastMessage = text;
    m_lineLog.note(text);
    Dialogs::Kind k = Dialogs::Kind::Error;
    if (kind == Message::Warning)
        k = Dialogs::Kind::Warning;
    else if (kind == Message::Information)
        k = Dialogs::Kind::Information;
    m_dialogs->message(this, k, text);
}

void TMainForm::closeWindow()
{
    // Queued: this runs inside the close query that started it, and a nested
    // close would be ignored.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

bool TMainForm::showKomunikat(bool success)
{
    setEnabled(false);
    // An earlier window is forgotten, not closed; it still enables us when it goes.
    auto *form = new TKomunikatForm();
    connect(form, &QObject::destroyed, this, [this] { setEnabled(true); });
    KomunikatForm = form;
    const bool filled = form->setPicture(success ? QStringLiteral("info") : QStringLiteral("erro"));
    form->setWindowTitle(success ? QStringLiteral("Informacja") : QStringLiteral("Błąd"));
    form->setMessage(success ? QStringLiteral("Programowanie zakończone powodzeniem.")
                             : QStringLiteral("Niezgodność danych po weryfikacji!"));
    if (const QStringList differ = m_engine->differences(Ustawienie, Odczytanie); !success && !differ.isEmpty())
        form->setDetails(differ);
    form->showCentred();
    return filled;
}

void TMainForm::showVerificationResult(bool success)
{
    m_lastMessage = success ? QStringLiteral("Programowanie zakończone powodzeniem.")
                            : QStringLiteral("Niezgodność danych po weryfikacji!");
    if (endJournal(success ? QStringLiteral("powodzenie") : m_lastMessage, Ustawienie) && success)
        writeProtocol();
    m_lineLog.note(m_lastMessage);
    if (showKomunikat(success))
        return;
    // The window could not be filled: say so in a plain box, and let the technician go on.
    if (KomunikatForm)
        KomunikatForm->close();
    setEnabled(true);
    m_dialogs->message(this, Dialogs::Kind::Error,
                       success ? QStringLiteral("Programowanie zakończone powodzeniem.")
                               : QStringLiteral("Niezgodność danych po weryfikacji!"));
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    bool canClose = true;
    m_engine->FormCloseQuery(canClose);
    if (!canClose) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TMainForm::endSession()
{
    bool canClose = true;
    m_engine->FormCloseQuery(canClose);
    FormClose();
}

void TMainForm::FormClose()
{
    m_engine->TimerWatchDog().stop();
    ProfileFile ini(settingsPath());
    const bool loaded = ini.load(); // whatever else the file holds is kept as it is
    const QString selected = ui->FlatComboBoxComPort->currentIndex() >= 0 ? ui->FlatComboBoxComPort->currentText()
                                                                          : QStringLiteral("COM 1");
    ini.writeString(QStringLiteral("MAIN"), QStringLiteral("ComPort"), QLatin1Char('\'') + selected + QLatin1Char('\''));
    ini.writeString(QStringLiteral("MAIN"), QStringLiteral("DetectCOM"),
                    ui->CheckBoxWykrywanieCOM->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    // A settings file that cannot be written must not keep the program from closing;
    // one that could not be read is not replaced by the two keys alone.
    if (!loaded || !ini.save())
        m_dialogs->message(this, Dialogs::Kind::Error,
                           QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(settingsPath()));
    if (KomunikatForm)
        KomunikatForm->close();
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
