#pragma once

#include <QLabel>

// A label whose text runs upwards: turned 90 degrees anticlockwise, centred.
class RotatedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};
