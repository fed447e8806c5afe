#include "UiFont.h"

#include <QImage>
#include <QPainter>

namespace {
// The letters of the window's texts; a thin stem ("I", "l") is what vanishes.
const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPRSTUWYZĄĆĘŁŃÓŚŹŻabcdefghijklmnoprstuwyząćęłńóśźż0123456789:+");

bool leavesInk(const QFont &font, QChar letter)
{
    const int size = 3 * font.pixelSize();
    QImage image(size, size, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString(letter));
    painter.end();
    for (int y = 0; y < size; ++y) {
        const uchar *row = image.constScanLine(y);
        for (int x = 0; x < size; ++x) {
            if (row[x] < 200)
                return true;
        }
    }
    return false;
}
} // namespace

bool drawsEveryLetter(const QFont &font, const QString &text)
{
    for (const QChar c : text) {
        if (!c.isSpace() && !leavesInk(font, c))
            return false;
    }
    return true;
}

QFont uiFont()
{
    static const QFont chosen = [] {
        QFont font;
        font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
        font.setPixelSize(11);
        // Full hinting at 11 pixels can reduce a stem to nothing (Liberation Sans
        // under Wine loses its capital I): then only the height is hinted, which
        // keeps the line metrics the layout needs.
        if (!drawsEveryLetter(font, kLetters))
            font.setHintingPreference(QFont::PreferVerticalHinting);
        return font;
    }();
    return chosen;
}
