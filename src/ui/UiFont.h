#pragma once

#include <QFont>

// "MS Sans Serif", 8 points at 96 dpi (11 pixels). Where that face is missing the
// nearest metric match stands in, so the fixed layout still fits its texts.
inline QFont uiFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    return font;
}
