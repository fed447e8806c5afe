#pragma once

#include <QComboBox>

// A flat pick list that says when it is about to drop down, so that the port
// list can be refilled with what is there now.
class FlatComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override
    {
        emit dropDown();
        QComboBox::showPopup();
    }

signals:
    void dropDown();
};
