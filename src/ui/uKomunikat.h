#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

// The small stay-on-top window that reports how a write to the module ended.
// It deletes itself when closed.
class TKomunikatForm : public QDialog {
    Q_OBJECT
public:
    explicit TKomunikatForm(QWidget *parent = nullptr);

    // Loads the picture from the bitmap resource of that name; false if there is none.
    bool setPicture(const QString &resourceName);
    void setMessage(const QString &text);
    // The fields a failed verification found different ("PIN", "numer 3").
    void setDetails(const QStringList &fields);
    // Shows the window centred on the desktop without waiting for it.
    void showCentred();

    QLabel *ImageInfo;
    QLabel *LabelKomunkat;
    QPushButton *BitBtnOK;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
