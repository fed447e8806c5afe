#include "ConfigEditor.h"

#include "FieldLook.h"
#include "FlatEdit.h"
#include "SpinButton.h"
#include "TUstawienie.h"
#include "TypingLimit.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using EditorRules::KeySet;

namespace {
const QString kNoPin = QStringLiteral("Karta bez numeru PIN");

// Focus that comes and goes with the whole window is not the technician moving
// between fields: the enter and exit rules ignore it.
bool movesBetweenFields(const QFocusEvent *e)
{
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}
} // namespace

template <typename T> T *ConfigEditor::control(const char *name)
{
    T *c = m_form->findChild<T *>(QLatin1String(name));
    Q_ASSERT_X(c, "ConfigEditor", name);
    return c;
}

ConfigEditor::ConfigEditor(QWidget *form) : QObject(form), m_form(form)
{
    GroupBoxParametry = control<QGroupBox>("GroupBoxParametry");
    CheckBoxPin = control<QCheckBox>("CheckBoxPin");
    PanelPin = control<QWidget>("PanelPin");
    EditPin = control<QLineEdit>("EditPin");
    CheckBoxCentrum = control<QCheckBox>("CheckBoxCentrum");
    CheckBoxAktywny = control<QCheckBox>("CheckBoxAktywny");
    RadioButtonMiesiac = control<QRadioButton>("RadioButtonMiesiac");
    RadioButtonCodziennie = control<QRadioButton>("RadioButtonCodziennie");
    LabelDzien = control<QLabel>("LabelDzien");
    EditDzien = control<QLineEdit>("EditDzien");
    LabelCzas = control<QLabel>("LabelCzas");
    PanelGodzina = control<QWidget>("PanelGodzina");
    PanelDwukropek = control<QLabel>("PanelDwukropek");
    FlatEditGodzina = control<FlatEdit>("FlatEditGodzina");
    FlatEditMinuta = control<FlatEdit>("FlatEditMinuta");
    RxSpinButtonCzas = control<SpinButton>("RxSpinButtonCzas");

    // The look at start: every field locked, the time editor framed in black.
    const char *lockedEdits[] = {"EditIdentyfikator", "EditPin", "EditCentrum", "edtAccessCode", "edtMeterPwd",
                                 "EditDzien", "EditInicjalizacja1", "EditInicjalizacja2", "EditInicjalizacja3",
                                 "EditInicjalizacja4"};
    for (const char *name : lockedEdits)
        FieldLook::setBackground(control<QWidget>(name), FieldLook::locked());
    FieldLook::setRole(PanelGodzina, QPalette::Window, Qt::black);
    FieldLook::setBackground(PanelDwukropek, FieldLook::locked());
    FlatEditGodzina->setColors(FieldLook::locked());
    FlatEditMinuta->setColors(FieldLook::locked());
    PanelDwukropek->raise(); // the separator overlaps the minute's edge; it must stay visible
    FlatEditGodzina->setFixedHeight(18);
    FlatEditMinuta->setFixedHeight(18);

    const std::pair<const char *, int> limits[] = {
        {"EditIdentyfikator", 8}, {"EditPin", 8}, {"EditCentrum", NumberLength}, {"edtAccessCode", 4},
        {"edtMeterPwd", 10}, {"EditDzien", 2}, {"FlatEditGodzina", 2}, {"FlatEditMinuta", 2},
        {"EditInicjalizacja1", 40}, {"EditInicjalizacja2", 40}, {"EditInicjalizacja3", 40}, {"EditInicjalizacja4", 40}};
    for (const auto &[name, limit] : limits)
        setTypingLimit(control<QLineEdit>(name), limit);

    installKeyFilter(EditPin, KeySet::Digits); // enabled only while the box is ticked
    installKeyFilter(control<QLineEdit>("EditCentrum"), KeySet::PhoneNumber);
    installKeyFilter(control<QLineEdit>("edtAccessCode"), KeySet::Digits);
    installKeyFilter(control<QLineEdit>("edtMeterPwd"), KeySet::MeterPassword);
    installKeyFilter(EditDzien, KeySet::Digits);
    installKeyFilter(FlatEditGodzina, KeySet::Digits);
    installKeyFilter(FlatEditMinuta, KeySet::Digits);

    connect(CheckBoxPin, &QCheckBox::toggled, this, &ConfigEditor::CheckBoxPinClick);
    connect(CheckBoxCentrum, &QCheckBox::toggled, this, [this] { CheckBoxCentrumClick(CheckBoxCentrum); });
    connect(CheckBoxAktywny, &QCheckBox::toggled, this, &ConfigEditor::CheckBoxAktywnyClick);
    connect(RadioButtonMiesiac, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButtonMiesiacClick();
    });
    connect(RadioButtonCodziennie, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButtonCodziennieClick();
    });
    connect(RxSpinButtonCzas, &SpinButton::topClick, this, &ConfigEditor::RxSpinButtonCzasTopClick);
    connect(RxSpinButtonCzas, &SpinButton::bottomClick, this, &ConfigEditor::RxSpinButtonCzasBottomClick);
}

void ConfigEditor::installKeyFilter(QLineEdit *edit, KeySet set)
{
    setTypingKeys(edit, set);
    edit->installEventFilter(this);
}

bool ConfigEditor::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (edit == FlatEditGodzina || edit == FlatEditMinuta) {
            int code = key->key();
            if (edit == FlatEditGodzina)
                FlatEditGodzinaKeyDown(code);
            else
                FlatEditMinutaKeyDown(code);
            if (code == 0)
                return true;
        }
        return false;
    }
    case QEvent::FocusIn:
        if (movesBetweenFields(static_cast<QFocusEvent *>(event))) {
            if (edit == FlatEditGodzina)
                FlatEditGodzinaEnter();
            else if (edit == FlatEditMinuta)
                FlatEditMinutaEnter();
        }
        return false;
    case QEvent::FocusOut:
        if (movesBetweenFields(static_cast<QFocusEvent *>(event))) {
            if (edit == EditDzien)
                EditDzienExit();
            else if (edit == FlatEditGodzina)
                FlatEditGodzinaExit();
            else if (edit == FlatEditMinuta)
                FlatEditMinutaExit();
        }
        return false;
    default:
        return false;
    }
}

void ConfigEditor::CheckBoxPinClick()
{
    // The PIN field keeps the editable colour: its text colour tells whether a PIN is set.
    if (FieldLook::background(EditPin) != FieldLook::editable())
        FieldLook::setBackground(EditPin, FieldLook::editable());
    const bool checked = CheckBoxPin->isChecked();
    PanelPin->setEnabled(checked);
    if (checked) {
        setRuleText(EditPin, QString());
        FieldLook::setTextColour(EditPin, Qt::black);
        setTypingLimit(EditPin, 8);
        if (GroupBoxParametry->isEnabled())
            EditPin->setFocus();
    } else {
        setTypingLimit(EditPin, 0);
        FieldLook::setTextColour(EditPin, QColor(255, 0, 0));
        EditPin->setText(kNoPin);
    }
}

void ConfigEditor::CheckBoxCentrumClick(QObject *sender)
{
    auto *box = qobject_cast<QCheckBox *>(sender);
    if (!box)
        return;
    // The box's name gives its panel's and edit's: CheckBoxCentrum, PanelCentrum, EditCentrum.
    const QString suffix = box->objectName().mid(int(qstrlen("CheckBox")));
    auto *panel = m_form->findChild<QWidget *>(QStringLiteral("Panel") + suffix);
    auto *edit = m_form->findChild<QLineEdit *>(QStringLiteral("Edit") + suffix);
    if (!panel || !edit)
        return;
    const bool checked = box->isChecked();
    panel->setEnabled(checked);
    if (checked) {
        FieldLook::setBackground(edit, FieldLook::editable());
        if (GroupBoxParametry->isEnabled()) {
            edit->setFocus();
            edit->end(false);
        }
    } else {
        setRuleText(edit, QString());
        FieldLook::setBackground(edit, FieldLook::locked());
    }
}

void ConfigEditor::setScheduleTimeLook(bool editable)
{
    const QColor c = editable ? FieldLook::editable() : FieldLook::locked();
    PanelDwukropek->setText(editable ? QStringLiteral(":") : QString());
    FieldLook::setBackground(PanelDwukropek, c);
    FlatEditGodzina->setColors(c);
    FlatEditMinuta->setColors(c);
}

void ConfigEditor::CheckBoxAktywnyClick()
{
    const bool checked = CheckBoxAktywny->isChecked();
    RadioButtonMiesiac->setEnabled(checked);
    RadioButtonCodziennie->setEnabled(checked);
    if (checked) {
        if (!RadioButtonMiesiac->isChecked())
            RadioButtonMiesiac->setChecked(true);
        FlatEditGodzina->setText(QStringLiteral("00"));
        FlatEditMinuta->setText(QStringLiteral("00"));
        return;
    }
    // Neither button stays checked; an exclusive group would not allow that.
    for (QRadioButton *b : {RadioButtonMiesiac, RadioButtonCodziennie}) {
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
    }
    LabelDzien->setEnabled(false);
    EditDzien->setEnabled(false);
    setRuleText(EditDzien, QString());
    FieldLook::setBackground(EditDzien, FieldLook::locked());
    LabelCzas->setEnabled(false);
    PanelGodzina->setEnabled(false);
    setScheduleTimeLook(false);
    setRuleText(FlatEditGodzina, QString());
    setRuleText(FlatEditMinuta, QString());
}

void ConfigEditor::RadioButtonMiesiacClick()
{
    LabelDzien->setEnabled(true);
    EditDzien->setEnabled(true);
    FieldLook::setBackground(EditDzien, FieldLook::editable());
    EditDzien->setText(QStringLiteral("1"));
    LabelCzas->setEnabled(true);
    PanelGodzina->setEnabled(true);
    setScheduleTimeLook(true);
}

void ConfigEditor::RadioButtonCodziennieClick()
{
    LabelDzien->setEnabled(false);
    EditDzien->setEnabled(false);
    FieldLook::setBackground(EditDzien, FieldLook::locked());
    setRuleText(EditDzien, QString());
}

void ConfigEditor::EditDzienExit()
{
    EditDzien->setText(QString::number(EditorRules::dayOnExit(EditDzien->text())));
}

void ConfigEditor::normaliseTime(QLineEdit *field, int max)
{
    field->setText(EditorRules::timeText(EditorRules::timeValue(field->text(), max)));
}

void ConfigEditor::FlatEditGodzinaEnter()
{
    normaliseTime(FlatEditGodzina, EditorRules::kMaxHour);
}

void ConfigEditor::FlatEditGodzinaExit()
{
    normaliseTime(FlatEditGodzina, EditorRules::kMaxHour);
}

void ConfigEditor::FlatEditMinutaEnter()
{
    normaliseTime(FlatEditMinuta, EditorRules::kMaxMinute);
}

void ConfigEditor::FlatEditMinutaExit()
{
    normaliseTime(FlatEditMinuta, EditorRules::kMaxMinute);
}

void ConfigEditor::step(QLineEdit *field, int max, bool up)
{
    const int value = EditorRules::timeValue(field->text(), max);
    field->setText(EditorRules::timeText(up ? EditorRules::stepUp(value, max) : EditorRules::stepDown(value, max)));
    // Both digits selected, so a digit typed next replaces them.
    field->setSelection(0, 2);
}

void ConfigEditor::FlatEditGodzinaKeyDown(int &key)
{
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        step(FlatEditGodzina, EditorRules::kMaxHour, key == Qt::Key_Up);
        key = 0;
    }
}

void ConfigEditor::FlatEditMinutaKeyDown(int &key)
{
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        step(FlatEditMinuta, EditorRules::kMaxMinute, key == Qt::Key_Up);
        key = 0;
    }
}

void ConfigEditor::spin(bool up)
{
    QWidget *focused = m_form->focusWidget();
    if (focused != FlatEditGodzina && focused != FlatEditMinuta) {
        FlatEditGodzina->setFocus();
        // An inactive window takes the focus without telling the field: enter it ourselves.
        if (!FlatEditGodzina->hasFocus())
            FlatEditGodzinaEnter();
        focused = FlatEditGodzina;
    }
    if (focused == FlatEditGodzina)
        step(FlatEditGodzina, EditorRules::kMaxHour, up);
    else
        step(FlatEditMinuta, EditorRules::kMaxMinute, up);
}

void ConfigEditor::RxSpinButtonCzasTopClick()
{
    spin(true);
}

void ConfigEditor::RxSpinButtonCzasBottomClick()
{
    spin(false);
}
