#include "PhoneBookEditor.h"

#include "ConfigEditor.h"
#include "FieldLook.h"
#include "TUstawienie.h"
#include "TypingLimit.h"

#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QRegularExpression>

PhoneBookEditor::PhoneBookEditor(QWidget *form, ConfigEditor *keys, std::function<int()> maxNumbers)
    : QObject(form), m_form(form), m_maxNumbers(std::move(maxNumbers))
{
    GroupBoxKsiazka = form->findChild<QGroupBox *>(QStringLiteral("GroupBoxKsiazka"));
    chbAllNumbers = form->findChild<QCheckBox *>(QStringLiteral("chbAllNumbers"));
    Q_ASSERT(GroupBoxKsiazka && chbAllNumbers);

    QFont mono;
    mono.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPixelSize(11);
    for (int row = 1; row <= kRows; ++row) {
        const QString nn = rowSuffix(row);
        auto *box = form->findChild<QCheckBox *>(QStringLiteral("CheckBox") + nn);
        auto *edit = form->findChild<QLineEdit *>(QStringLiteral("EditKsiazka") + nn);
        Q_ASSERT(box && edit);
        box->setFont(mono);
        FieldLook::setBackground(edit, FieldLook::locked());
        setTypingLimit(edit, NumberLength);
        keys->installKeyFilter(edit, EditorRules::KeySet::PhoneNumber);
        connect(box, &QCheckBox::toggled, this, [this, box] { CheckBox01Click(box); });
    }
    connect(chbAllNumbers, &QCheckBox::toggled, this, &PhoneBookEditor::chbAllNumbersClick);

    // The column rules are silver; the upright headings are in Tahoma.
    const QColor silver(0xC0, 0xC0, 0xC0);
    for (QWidget *rule : form->findChildren<QWidget *>(QRegularExpression(QStringLiteral("^Rule[VH]\\d+$")))) {
        FieldLook::setRole(rule, QPalette::Window, silver);
        rule->setAutoFillBackground(true);
    }
    QFont tahoma;
    tahoma.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    tahoma.setPixelSize(11);
    for (QWidget *heading : form->findChildren<QWidget *>(QRegularExpression(QStringLiteral("^LabelKolumna"))))
        heading->setFont(tahoma);
    // The headings and the "+48" before each number are never disabled themselves:
    // they read the same whether their group takes input or not.
    for (QWidget *label :
         form->findChildren<QWidget *>(QRegularExpression(QStringLiteral("^(LabelKolumna|lblBook\\d+$|lblSMSCenter$)"))))
        FieldLook::setRole(label, QPalette::WindowText, label->palette().color(QPalette::Active, QPalette::WindowText));
}

void PhoneBookEditor::CheckBox01Click(QObject *sender)
{
    auto *box = qobject_cast<QCheckBox *>(sender);
    if (!box)
        return;
    const QString suffix = box->objectName().mid(int(qstrlen("CheckBox")));
    auto *number = m_form->findChild<QLineEdit *>(QStringLiteral("EditKsiazka") + suffix);
    auto *reply = m_form->findChild<QCheckBox *>(QStringLiteral("CheckBoxC") + suffix);
    auto *schedule = m_form->findChild<QCheckBox *>(QStringLiteral("CheckBoxS") + suffix);
    auto *power = m_form->findChild<QCheckBox *>(QStringLiteral("CheckBoxL") + suffix);
    if (!number || !reply || !schedule || !power)
        return;

    const bool inUse = box->isChecked();
    number->setEnabled(inUse);
    reply->setEnabled(inUse && !chbAllNumbers->isChecked());
    schedule->setEnabled(inUse);
    power->setEnabled(inUse);
    if (inUse) {
        // A number just added may reply at first, even while any number may be sent to.
        reply->setChecked(true);
        FieldLook::setBackground(number, FieldLook::editable());
        if (GroupBoxKsiazka->isEnabled()) {
            number->setFocus();
            number->end(false);
        }
    } else {
        setRuleText(number, QString());
        FieldLook::setBackground(number, FieldLook::locked());
        reply->setChecked(false);
        schedule->setChecked(false);
        power->setChecked(false);
    }
}

void PhoneBookEditor::chbAllNumbersClick()
{
    const int rows = qBound(0, m_maxNumbers(), kRows);
    for (int row = 1; row <= rows; ++row) {
        const QString nn = rowSuffix(row);
        auto *reply = m_form->findChild<QCheckBox *>(QStringLiteral("CheckBoxC") + nn);
        auto *box = m_form->findChild<QCheckBox *>(QStringLiteral("CheckBox") + nn);
        if (reply && box)
            reply->setEnabled(!chbAllNumbers->isChecked() && box->isChecked());
    }
}
