#include "FlatEdit.h"

#include <QPainter>

FlatEdit::FlatEdit(QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    const QColor base = palette().color(QPalette::Base);
    m_focused = m_border = m_flat = base;
}

void FlatEdit::setColorFocused(const QColor &c)
{
    m_focused = c;
    applyBackground();
}

void FlatEdit::setColorBorder(const QColor &c)
{
    m_border = c;
    update();
}

void FlatEdit::setColorFlat(const QColor &c)
{
    m_flat = c;
    applyBackground();
}

void FlatEdit::setColors(const QColor &c)
{
    m_focused = m_border = m_flat = c;
    applyBackground();
}

void FlatEdit::applyBackground()
{
    QPalette p = palette();
    const QColor c = hasFocus() ? m_focused : m_flat;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, c);
    setPalette(p);
    update();
}

void FlatEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    applyBackground();
}

void FlatEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    applyBackground();
}

void FlatEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(m_border);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
