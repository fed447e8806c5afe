#pragma once

#include <QColor>
#include <QLineEdit>

// A borderless single-line edit with three colours set separately: the
// background while focused, the one-pixel border, and the background otherwise.
class FlatEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FlatEdit(QWidget *parent = nullptr);

    void setColorFocused(const QColor &c);
    void setColorBorder(const QColor &c);
    void setColorFlat(const QColor &c);
    void setColors(const QColor &c); // all three at once
    QColor colorFocused() const { return m_focused; }
    QColor colorBorder() const { return m_border; }
    QColor colorFlat() const { return m_flat; }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyBackground();

    QColor m_focused;
    QColor m_border;
    QColor m_flat;
};
