#pragma once

#include <QPixmap>
#include <QString>

namespace Pictures {
// A bitmap stored with the program, found by name without regard to case, with
// the colour of its bottom-left pixel made transparent. Null when there is none.
QPixmap bitmap(const QString &name);
} // namespace Pictures
