#include "ConfigurationView.h"

#include "FieldLook.h"
#include "FlatEdit.h"
#include "PhoneBookEditor.h"
#include "TypingLimit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using Validation::Field;

namespace {
const QString kNoPin = QStringLiteral("Karta bez numeru PIN");

QString row(const QString &prefix, int n)
{
    return prefix + PhoneBookEditor::rowSuffix(n);
}

// At least two digits, as the time fields show them.
QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}
} // namespace

ConfigurationView::ConfigurationView(QWidget *form) : QObject(form), m_form(form) {}

template <typename T> T *ConfigurationView::control(const QString &name) const
{
    T *c = m_form->findChild<T *>(name);
    Q_ASSERT_X(c, "ConfigurationView", qPrintable(name));
    return c;
}

void ConfigurationView::ShowConfiguration(const TUstawienie &u, const Context &context)
{
    showParameters(u, context);
    showSchedule(u);
    showModemCommands(u);
    showPhoneBook(u, context);
    widget(QStringLiteral("BitBtnZapisPlik"))->setEnabled(true);
}

void ConfigurationView::showParameters(const TUstawienie &u, const Context &context)
{
    auto *group = control<QGroupBox>(QStringLiteral("GroupBoxParametry"));
    group->setEnabled(false);
    widget(QStringLiteral("PanelIdentyfikator"))->setEnabled(false);

    QLineEdit *serial = edit(QStringLiteral("EditIdentyfikator"));
    const bool hasSerial = u.Identyfikator.size() == 8;
    widget(QStringLiteral("LabelIndentyfikator"))->setEnabled(hasSerial);
    FieldLook::setBackground(serial, hasSerial ? FieldLook::editable() : FieldLook::locked());
    serial->setText(hasSerial ? u.Identyfikator.text() : QString());

    QCheckBox *pinBox = box(QStringLiteral("CheckBoxPin"));
    QLineEdit *pin = edit(QStringLiteral("EditPin"));
    pinBox->setEnabled(true);
    FieldLook::setBackground(pin, FieldLook::editable());
    if (!u.Pin.isEmpty()) {
        pinBox->setChecked(true);
        FieldLook::setTextColour(pin, Qt::black);
        setTypingLimit(pin, 8);
        pin->setText(u.Pin.text());
    } else {
        pinBox->setChecked(false);
        FieldLook::setTextColour(pin, QColor(255, 0, 0));
        setTypingLimit(pin, 0);
        pin->setText(kNoPin);
    }

    QCheckBox *centreBox = box(QStringLiteral("CheckBoxCentrum"));
    centreBox->setEnabled(true);
    centreBox->setChecked(!u.Centrum.isEmpty());
    if (centreBox->isChecked())
        edit(QStringLiteral("EditCentrum"))->setText(shownPhoneNumber(u.Centrum));

    QLineEdit *access = edit(QStringLiteral("edtAccessCode"));
    QLineEdit *password = edit(QStringLiteral("edtMeterPwd"));
    const bool offered = context.isLatch || context.isFromFile;
    for (const char *name : {"lblAccessCode", "pnlAccessCode", "lblMeterPwd", "pnlMeterPwd"})
        widget(QLatin1String(name))->setEnabled(offered);
    FieldLook::setBackground(access, offered ? FieldLook::editable() : FieldLook::locked());
    FieldLook::setBackground(password, offered ? FieldLook::editable() : FieldLook::locked());
    if (!offered)
        widget(QStringLiteral("chbAllNumbers"))->setEnabled(false);
    else if (context.isFromFile || context.extendedBook)
        widget(QStringLiteral("chbAllNumbers"))->setEnabled(true);
    access->setText(u.AccessCode.text());
    password->setText(u.MeterPassword.text());

    group->setEnabled(true);
    if (m_form->isEnabled()) {
        QWidget *target = nullptr;
        if (widget(QStringLiteral("PanelIdentyfikator"))->isEnabled())
            target = serial;
        else if (widget(QStringLiteral("PanelPin"))->isEnabled())
            target = pin;
        if (target) {
            target->setFocus();
            static_cast<QLineEdit *>(target)->end(false);
        }
    }
}

void ConfigurationView::showSchedule(const TUstawienie &u)
{
    auto *group = control<QGroupBox>(QStringLiteral("GroupBoxTerminarz"));
    group->setEnabled(false);
    QCheckBox *active = box(QStringLiteral("CheckBoxAktywny"));
    active->setEnabled(true);
    if (u.Harmonogram_rodzaj == 1 || u.Harmonogram_rodzaj == 2) {
        active->setChecked(true);
        if (u.Harmonogram_rodzaj == 1) {
            control<QRadioButton>(QStringLiteral("RadioButtonMiesiac"))->setChecked(true);
            edit(QStringLiteral("EditDzien"))->setText(QString::number(u.Harmonogram_dzien));
        } else {
            control<QRadioButton>(QStringLiteral("RadioButtonCodziennie"))->setChecked(true);
        }
        edit(QStringLiteral("FlatEditGodzina"))->setText(twoDigits(u.Harmonogram_godzina));
        edit(QStringLiteral("FlatEditMinuta"))->setText(twoDigits(u.Harmonogram_minuta));
    } else {
        active->setChecked(false);
    }
    group->setEnabled(true);
}

void ConfigurationView::showModemCommands(const TUstawienie &u)
{
    widget(QStringLiteral("GroupBoxInicjalizacja"))->setEnabled(false);
    for (int n = 1; n <= 4; ++n) {
        QCheckBox *b = box(QStringLiteral("CheckBoxInicjalizacja%1").arg(n));
        b->setEnabled(false);
        b->setChecked(false);
        edit(QStringLiteral("EditInicjalizacja%1").arg(n))->setText(u.Modem[n - 1].text());
    }
}

void ConfigurationView::showPhoneBook(const TUstawienie &u, const Context &context)
{
    auto *group = control<QGroupBox>(QStringLiteral("GroupBoxKsiazka"));
    group->setEnabled(false);
    const int rows = qBound(0, context.maxNumbers, PhoneBookEditor::kRows);
    for (int n = 1; n <= rows; ++n) {
        QCheckBox *inUse = box(row(QStringLiteral("CheckBox"), n));
        inUse->setEnabled(true);
        const ShortString<15> &number = u.Telefony[n - 1];
        if (!number.isEmpty()) {
            inUse->setChecked(true);
            edit(row(QStringLiteral("EditKsiazka"), n))->setText(shownPhoneNumber(number));
            box(row(QStringLiteral("CheckBoxC"), n))->setChecked(u.C[n - 1]);
            box(row(QStringLiteral("CheckBoxS"), n))->setChecked(u.S[n - 1]);
            if (context.extendedBook)
                box(row(QStringLiteral("CheckBoxL"), n))->setChecked(u.L[n - 1]);
        } else {
            inUse->setChecked(false);
        }
    }
    for (int n = rows + 1; n <= PhoneBookEditor::kRows; ++n)
        box(row(QStringLiteral("CheckBox"), n))->setEnabled(false);
    if (context.extendedBook)
        box(QStringLiteral("chbAllNumbers"))->setChecked(u.AllNumbers);
    group->setEnabled(true);
}

void ConfigurationView::BitBtnUtworzClick(int maxNumbers)
{
    auto *parameters = control<QGroupBox>(QStringLiteral("GroupBoxParametry"));
    parameters->setEnabled(false);
    QLineEdit *serial = edit(QStringLiteral("EditIdentyfikator"));
    setRuleText(serial, QString());
    widget(QStringLiteral("LabelIndentyfikator"))->setEnabled(false);
    FieldLook::setBackground(serial, FieldLook::locked());

    QCheckBox *pinBox = box(QStringLiteral("CheckBoxPin"));
    QLineEdit *pin = edit(QStringLiteral("EditPin"));
    pinBox->setEnabled(true);
    pinBox->setChecked(false);
    FieldLook::setBackground(pin, FieldLook::editable());
    widget(QStringLiteral("PanelPin"))->setEnabled(false);
    setTypingLimit(pin, 0);
    FieldLook::setTextColour(pin, QColor(255, 0, 0));
    pin->setText(kNoPin);

    QCheckBox *centreBox = box(QStringLiteral("CheckBoxCentrum"));
    centreBox->setEnabled(true);
    centreBox->setChecked(false);
    widget(QStringLiteral("PanelCentrum"))->setEnabled(false);
    setRuleText(edit(QStringLiteral("EditCentrum")), QString());
    FieldLook::setBackground(edit(QStringLiteral("EditCentrum")), FieldLook::locked());

    for (const char *name : {"lblAccessCode", "pnlAccessCode", "lblMeterPwd", "pnlMeterPwd"})
        widget(QLatin1String(name))->setEnabled(true);
    for (const char *name : {"edtAccessCode", "edtMeterPwd"}) {
        setRuleText(edit(QLatin1String(name)), QString());
        FieldLook::setBackground(edit(QLatin1String(name)), FieldLook::editable());
    }
    parameters->setEnabled(true);

    widget(QStringLiteral("GroupBoxTerminarz"))->setEnabled(true);
    QCheckBox *active = box(QStringLiteral("CheckBoxAktywny"));
    active->setEnabled(true);
    active->setChecked(true);
    auto *monthly = control<QRadioButton>(QStringLiteral("RadioButtonMiesiac"));
    if (!monthly->isChecked())
        monthly->setChecked(true);
    else
        edit(QStringLiteral("EditDzien"))->setText(QStringLiteral("1"));
    edit(QStringLiteral("FlatEditGodzina"))->setText(QStringLiteral("00"));
    edit(QStringLiteral("FlatEditMinuta"))->setText(QStringLiteral("00"));

    widget(QStringLiteral("GroupBoxInicjalizacja"))->setEnabled(false);
    for (int n = 1; n <= 4; ++n) {
        QCheckBox *b = box(QStringLiteral("CheckBoxInicjalizacja%1").arg(n));
        b->setEnabled(false);
        b->setChecked(false);
        setRuleText(edit(QStringLiteral("EditInicjalizacja%1").arg(n)), QString());
    }

    auto *book = control<QGroupBox>(QStringLiteral("GroupBoxKsiazka"));
    book->setEnabled(false);
    // Rows above the module's book are emptied too: a module with a longer book
    // identified later would show and store them as part of the new configuration.
    const int rows = qBound(0, maxNumbers, PhoneBookEditor::kRows);
    for (int n = 1; n <= PhoneBookEditor::kRows; ++n) {
        QCheckBox *inUse = box(row(QStringLiteral("CheckBox"), n));
        if (n <= rows)
            inUse->setEnabled(true);
        if (n == 1 && rows >= 1) {
            inUse->setChecked(true);
            setRuleText(edit(row(QStringLiteral("EditKsiazka"), 1)), QString());
            box(row(QStringLiteral("CheckBoxC"), 1))->setChecked(true);
            box(row(QStringLiteral("CheckBoxS"), 1))->setChecked(false);
            box(row(QStringLiteral("CheckBoxL"), 1))->setChecked(false);
        } else {
            inUse->setChecked(false);
        }
    }
    book->setEnabled(true);
    QCheckBox *any = box(QStringLiteral("chbAllNumbers"));
    any->setEnabled(true);
    any->setChecked(false);
    widget(QStringLiteral("BitBtnZapisPlik"))->setEnabled(true);
}

EditorSnapshot ConfigurationView::snapshot() const
{
    EditorSnapshot s;
    s.identyfikator = edit(QStringLiteral("EditIdentyfikator"))->text();
    s.pinChecked = box(QStringLiteral("CheckBoxPin"))->isChecked();
    s.pin = edit(QStringLiteral("EditPin"))->text();
    s.centrumChecked = box(QStringLiteral("CheckBoxCentrum"))->isChecked();
    s.centrum = edit(QStringLiteral("EditCentrum"))->text();
    s.accessCode = edit(QStringLiteral("edtAccessCode"))->text();
    s.meterPassword = edit(QStringLiteral("edtMeterPwd"))->text();
    s.aktywny = box(QStringLiteral("CheckBoxAktywny"))->isChecked();
    s.miesiac = control<QRadioButton>(QStringLiteral("RadioButtonMiesiac"))->isChecked();
    s.codziennie = control<QRadioButton>(QStringLiteral("RadioButtonCodziennie"))->isChecked();
    s.dzien = edit(QStringLiteral("EditDzien"))->text();
    s.godzina = edit(QStringLiteral("FlatEditGodzina"))->text();
    s.minuta = edit(QStringLiteral("FlatEditMinuta"))->text();
    for (int n = 1; n <= 4; ++n) {
        s.modemChecked[n - 1] = box(QStringLiteral("CheckBoxInicjalizacja%1").arg(n))->isChecked();
        s.modem[n - 1] = edit(QStringLiteral("EditInicjalizacja%1").arg(n))->text();
    }
    for (int n = 1; n <= PhoneBookEditor::kRows; ++n) {
        EditorSnapshot::Row &r = s.rows[n - 1];
        r.inUse = box(row(QStringLiteral("CheckBox"), n))->isChecked();
        r.number = edit(row(QStringLiteral("EditKsiazka"), n))->text();
        r.c = box(row(QStringLiteral("CheckBoxC"), n))->isChecked();
        r.s = box(row(QStringLiteral("CheckBoxS"), n))->isChecked();
        r.l = box(row(QStringLiteral("CheckBoxL"), n))->isChecked();
    }
    s.allNumbers = box(QStringLiteral("chbAllNumbers"))->isChecked();
    return s;
}

QWidget *ConfigurationView::fieldWidget(Field field, int n) const
{
    switch (field) {
    case Field::None:
        return nullptr;
    case Field::EditPin:
        return widget(QStringLiteral("EditPin"));
    case Field::EditCentrum:
        return widget(QStringLiteral("EditCentrum"));
    case Field::edtAccessCode:
        return widget(QStringLiteral("edtAccessCode"));
    case Field::edtMeterPwd:
        return widget(QStringLiteral("edtMeterPwd"));
    case Field::EditDzien:
        return widget(QStringLiteral("EditDzien"));
    case Field::FlatEditGodzina:
        return widget(QStringLiteral("FlatEditGodzina"));
    case Field::FlatEditMinuta:
        return widget(QStringLiteral("FlatEditMinuta"));
    case Field::EditKsiazka:
        return widget(row(QStringLiteral("EditKsiazka"), n));
    case Field::CheckBoxC:
        return widget(row(QStringLiteral("CheckBoxC"), n));
    }
    return nullptr;
}

void ConfigurationView::correct(const Validation::Issue &issue)
{
    if (!issue.correction)
        return;
    if (auto *e = qobject_cast<QLineEdit *>(fieldWidget(issue.corrected, issue.row)))
        e->setText(*issue.correction);
}

void ConfigurationView::focusOn(const Validation::Issue &issue)
{
    QWidget *target = fieldWidget(issue.focus, issue.row);
    if (!target)
        return;
    // A field focuses only when its group and the field (or its panel) are enabled;
    // isEnabled() of the field covers all of its containers.
    if (!target->isEnabled())
        return;
    target->setFocus();
    if (auto *e = qobject_cast<QLineEdit *>(target)) {
        if (issue.focus == Field::FlatEditGodzina || issue.focus == Field::FlatEditMinuta)
            e->setSelection(0, 2);
        else
            e->end(false);
    }
}
