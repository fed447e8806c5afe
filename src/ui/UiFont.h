#pragma once

#include <QFont>

// The layout was made for "MS Sans Serif", 8 points at 96 dpi (11 pixels). That
// face is a raster font on Windows, which Qt 6 does not draw, so its outline twin
// "Microsoft Sans Serif" is asked for; where that is missing the nearest metric
// match stands in. Made once; needs the application's fonts.
QFont uiFont();

// True when every letter of text leaves ink in that font (spaces aside).
bool drawsEveryLetter(const QFont &font, const QString &text);
