#pragma once

#include "EditorRules.h"

#include <QHash>
#include <QObject>

class FlatEdit;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;
class SpinButton;

// The rules of the parameters, schedule and modem-command groups. It keeps no
// data: the controls are the working copy of the configuration. Every rule runs
// on a change of state, whether the technician or the program made it.
class ConfigEditor : public QObject {
    Q_OBJECT
public:
    // form holds the controls, found by their names.
    explicit ConfigEditor(QWidget *form);

    // Rules, named after the events that run them.
    void CheckBoxPinClick();
    void CheckBoxCentrumClick(QObject *sender);
    void CheckBoxAktywnyClick();
    void RadioButtonMiesiacClick();
    void RadioButtonCodziennieClick();
    void EditDzienExit();
    void FlatEditGodzinaEnter();
    void FlatEditGodzinaExit();
    void FlatEditMinutaEnter();
    void FlatEditMinutaExit();
    // Up and Down step the field and are consumed (key set to 0).
    void FlatEditGodzinaKeyDown(int &key);
    void FlatEditMinutaKeyDown(int &key);
    void RxSpinButtonCzasTopClick();
    void RxSpinButtonCzasBottomClick();

    // Gives an edit its key set and the editor's focus and key rules (the phone book shares them).
    void installKeyFilter(QLineEdit *edit, EditorRules::KeySet set);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template <typename T> T *control(const char *name);
    void normaliseTime(QLineEdit *field, int max);
    void step(QLineEdit *field, int max, bool up);
    void spin(bool up);
    void setScheduleTimeLook(bool editable);

    QWidget *m_form;
    QGroupBox *GroupBoxParametry;
    QCheckBox *CheckBoxPin;
    QWidget *PanelPin;
    QLineEdit *EditPin;
    QCheckBox *CheckBoxCentrum;
    QCheckBox *CheckBoxAktywny;
    QRadioButton *RadioButtonMiesiac;
    QRadioButton *RadioButtonCodziennie;
    QLabel *LabelDzien;
    QLineEdit *EditDzien;
    QLabel *LabelCzas;
    QWidget *PanelGodzina;
    QLabel *PanelDwukropek;
    FlatEdit *FlatEditGodzina;
    FlatEdit *FlatEditMinuta;
    SpinButton *RxSpinButtonCzas;
};
