#pragma once

#include "EditorSnapshot.h"
#include "TUstawienie.h"
#include "Validation.h"

#include <QObject>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QWidget;

// Puts a configuration into the editor, starts a new one, and reads the editor
// back for validation and storing. Fills each group while it is disabled, so
// that the editor's rules (which run on every change of state) move no focus.
class ConfigurationView : public QObject {
    Q_OBJECT
public:
    struct Context {
        bool isFromFile = false;
        bool isLatch = false;
        bool extendedBook = false;
        int maxNumbers = 16;
    };

    explicit ConfigurationView(QWidget *form);

    void ShowConfiguration(const TUstawienie &u, const Context &context);
    void BitBtnUtworzClick(int maxNumbers);

    EditorSnapshot snapshot() const;
    // Makes the correction an issue asks for, then moves the focus as it says,
    // if the field's group and the field are enabled.
    void correct(const Validation::Issue &issue);
    void focusOn(const Validation::Issue &issue);

private:
    template <typename T> T *control(const QString &name) const;
    QLineEdit *edit(const QString &name) const { return control<QLineEdit>(name); }
    QCheckBox *box(const QString &name) const { return control<QCheckBox>(name); }
    QWidget *widget(const QString &name) const { return control<QWidget>(name); }
    void showParameters(const TUstawienie &u, const Context &context);
    void showSchedule(const TUstawienie &u);
    void showModemCommands(const TUstawienie &u);
    void showPhoneBook(const TUstawienie &u, const Context &context);
    QWidget *fieldWidget(Validation::Field field, int row) const;

    QWidget *m_form;
};
