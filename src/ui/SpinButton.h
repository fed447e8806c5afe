#pragma once

#include <QTimer>
#include <QWidget>

// A square button cut along the diagonal from its lower-left to its upper-right
// corner: the upper-left half is an up arrow, the lower-right half a down arrow.
// It takes no focus. A press steps once; holding repeats after 400 ms, then
// every 100 ms, until released.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFirstRepeat = 400;
    static constexpr int kRepeat = 100;

    explicit SpinButton(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {20, 20}; }
    // True when the point lies in the upper arrow's half.
    bool isTop(const QPoint &pos) const;

signals:
    void topClick();
    void bottomClick();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    enum class Half { None, Top, Bottom };
    void fire();
    void stop();

    Half m_pressed = Half::None;
    QTimer m_repeat;
};
