#include "RotatedLabel.h"

#include <QFontMetrics>
#include <QPainter>

void RotatedLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    // Where the intended face is missing a wider one may stand in: shrink it to fit the strip.
    QFont f = font();
    while (f.pixelSize() > 6 && QFontMetrics(f).horizontalAdvance(text()) > height())
        f.setPixelSize(f.pixelSize() - 1);
    p.setFont(f);
    p.translate(0, height());
    p.rotate(-90);
    // In the turned frame the strip is height() wide and width() high.
    p.drawText(QRect(0, 0, height(), width()), Qt::AlignCenter, text());
}
