#pragma once

#include <QObject>

#include <functional>

class ConfigEditor;
class QCheckBox;
class QGroupBox;
class QWidget;

// The rules of the sixteen phone-book rows and of the any-number box. Rows are
// found by composing their names ("CheckBox07", "EditKsiazka07", "CheckBoxC07").
class PhoneBookEditor : public QObject {
    Q_OBJECT
public:
    static constexpr int kRows = 16;

    // maxNumbers tells how many rows the connected module has.
    PhoneBookEditor(QWidget *form, ConfigEditor *keys, std::function<int()> maxNumbers);

    void CheckBox01Click(QObject *sender);
    void chbAllNumbersClick();

    static QString rowSuffix(int row) { return QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0')); }

private:
    QWidget *m_form;
    QGroupBox *GroupBoxKsiazka;
    QCheckBox *chbAllNumbers;
    std::function<int()> m_maxNumbers;
};
