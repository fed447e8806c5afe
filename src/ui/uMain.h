#pragma once

#include "LinkEngine.h"
#include "LinkHost.h"
#include "Journal.h"
#include "PortListBox.h"
#include "ProgramFolders.h"
#include "PortNaming.h"
#include "TUstawienie.h"
#include "uKomunikat.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>

#include <memory>

namespace Ui {
class TMainForm;
}
class ConfigEditor;
class ConfigurationView;
class Dialogs;
class PhoneBookEditor;
class QLabel;
class SerialPort;

// The one main window. It owns the controls, the port, the link engine and the
// dialogs, and its handlers delegate to them.
class TMainForm : public QMainWindow, public LinkHost {
    Q_OBJECT
public:
    // folders: where the settings file and the configurations are kept.
    // Tests pass their own port, dialogs and port list; otherwise the real ones are made.
    explicit TMainForm(const ProgramFolders &folders, Dialogs *dialogs = nullptr, SerialPort *port = nullptr,
                       std::unique_ptr<PortSource> ports = nullptr, QWidget *parent = nullptr);
    ~TMainForm() override;

    LinkEngine *engine() const { return m_engine; }
    SerialPort *ApdComPortIrDA() const { return m_port; }
    Dialogs *dialogs() const { return m_dialogs; }
    QString statusText() const;
    TKomunikatForm *komunikatForm() const { return KomunikatForm.data(); }

    // Shows the outcome of a write in the message window; the main window stays
    // disabled until that window closes. False when the window could not be filled.
    bool showKomunikat(bool success);

    // LinkHost
    void setStatus(const QString &text) override;
    void setButtonEnabled(Button button, bool enabled) override;
    void setPolaczCaption(const QString &caption) override;
    QString selectedPortEntry() const override;
    void showMessage(Message kind, const QString &text) override;
    void closeWindow() override;
    TUstawienie &ustawienie() override { return Ustawienie; }
    TUstawienie &odczytanie() override { return Odczytanie; }
    bool validateConfiguration() override { return validate(m_engine->IsLatch); }
    void showConfiguration() override;
    void showVerificationResult(bool success) override;

    // The session ends (log-off, shut-down): the system may end the program before
    // a queued close runs, so the port is closed and the settings written now.
    void endSession();

    void RefreshPortList();
    void CheckBoxWykrywanieCOMClick();
    void FlatComboBoxComPortDropDown();
    QString settingsPath() const;

    // Configuration in the editor and in files.
    void ShowConfiguration();
    bool ValidateConfiguration();
    void StoreConfiguration();
    QString configurationFolder() const;

    TUstawienie Ustawienie = emptyConfiguration();
    TUstawienie Odczytanie = emptyConfiguration();
    bool IsFromFile = false;

public slots:
    void BitBtnPolaczClick();
    void BitBtnUtworzClick();
    void BitBtnOdczytPlikClick();
    void BitBtnZapisPlikClick();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool validate(bool sendsPassword);
    void FormCreate();
    void startLineLog();
    void endLineLog();
    // The service journal's row of a read or a write on the module.
    void beginJournal(const QString &operation);
    // False when no operation was under way.
    bool endJournal(const QString &result, const TUstawienie &configuration);
    // The protocol of the verified write just journaled, in Protokoły.
    void writeProtocol();
    void FormClose();

    std::unique_ptr<Ui::TMainForm> ui;
    QLabel *m_statusPanel = nullptr;
    ProgramFolders m_folders;
    PortNaming m_naming;
    std::unique_ptr<PortSource> m_ports;
    std::unique_ptr<Dialogs> m_ownDialogs;
    Dialogs *m_dialogs;
    SerialPort *m_port;
    LinkEngine *m_engine;
    ConfigEditor *m_editor;
    ConfigurationView *m_view;
    PhoneBookEditor *m_phoneBook;
    QPointer<TKomunikatForm> KomunikatForm;
    // The line log of the session on the port now open (kept in the user's data folder).
    LineLog m_lineLog;
    QString m_lastMessage;
    std::unique_ptr<Journal> m_journal;
    Journal::Entry m_entry; // the operation under way, its operation empty when none
    QElapsedTimer m_entryClock;
    bool m_journalWarned = false;
    QString m_configurationFile; // the file last loaded, named in a write's row
    bool m_centred = false;
};
