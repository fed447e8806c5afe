#include "SpinButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

SpinButton::SpinButton(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    connect(&m_repeat, &QTimer::timeout, this, [this] {
        m_repeat.setInterval(kRepeat);
        fire();
    });
}

bool SpinButton::isTop(const QPoint &pos) const
{
    // Above the diagonal from (0, h) to (w, 0).
    return double(pos.x()) / width() + double(pos.y()) / height() < 1.0;
}

void SpinButton::fire()
{
    if (m_pressed == Half::Top)
        emit topClick();
    else if (m_pressed == Half::Bottom)
        emit bottomClick();
}

void SpinButton::stop()
{
    m_pressed = Half::None;
    m_repeat.stop();
    update();
}

void SpinButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    m_pressed = isTop(event->position().toPoint()) ? Half::Top : Half::Bottom;
    update();
    m_repeat.start(kFirstRepeat);
    fire();
}

void SpinButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        stop();
}

void SpinButton::hideEvent(QHideEvent *event)
{
    stop();
    QWidget::hideEvent(event);
}

void SpinButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        stop();
    QWidget::changeEvent(event);
}

void SpinButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int w = width();
    const int h = height();
    const QPalette &pal = palette();
    QPainterPath upper;
    upper.moveTo(0, 0);
    upper.lineTo(w, 0);
    upper.lineTo(0, h);
    upper.closeSubpath();
    QPainterPath lower;
    lower.moveTo(w, 0);
    lower.lineTo(w, h);
    lower.lineTo(0, h);
    lower.closeSubpath();
    p.fillPath(upper, m_pressed == Half::Top ? pal.color(QPalette::Mid) : pal.color(QPalette::Button));
    p.fillPath(lower, m_pressed == Half::Bottom ? pal.color(QPalette::Mid) : pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(0, h - 1, w - 1, 0);
    p.drawRect(0, 0, w - 1, h - 1);

    // Small arrows, one in each half.
    const QColor arrow = isEnabled() ? pal.color(QPalette::ButtonText) : pal.color(QPalette::Disabled, QPalette::ButtonText);
    p.setPen(Qt::NoPen);
    p.setBrush(arrow);
    const QPointF up(w * 0.3, h * 0.3);
    p.drawPolygon(QPolygonF({up + QPointF(-3, 2), up + QPointF(3, 2), up + QPointF(0, -2)}));
    const QPointF down(w * 0.7, h * 0.7);
    p.drawPolygon(QPolygonF({down + QPointF(-3, -2), down + QPointF(3, -2), down + QPointF(0, 2)}));
}
