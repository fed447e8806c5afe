#pragma once

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QWidget>

// The two backgrounds of editor fields: light grey where the technician may type,
// the system's button face where the field is locked.
namespace FieldLook {

inline QColor editable()
{
    return QColor(0xF0, 0xF0, 0xF0);
}

inline QColor locked()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

// Same colour whether the field is enabled or not: the colour is the rule's to set.
inline void setRole(QWidget *w, QPalette::ColorRole role, const QColor &c)
{
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, role, c);
    w->setPalette(p);
}

inline void setBackground(QWidget *w, const QColor &c)
{
    setRole(w, QPalette::Base, c);
    setRole(w, QPalette::Window, c);
}

inline QColor background(const QWidget *w)
{
    return w->palette().color(QPalette::Active, QPalette::Base);
}

inline void setTextColour(QWidget *w, const QColor &c)
{
    setRole(w, QPalette::Text, c);
}

} // namespace FieldLook
