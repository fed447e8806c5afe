#pragma once

#include "EditorRules.h"

#include <QLineEdit>
#include <QObject>

// What the technician may enter into an edit: which characters (a key set) and
// how many. Held on the edit's own change hook, so typing, composing with dead
// keys or an input method, Alt and AltGr, every way of pasting (shortcut, menu,
// middle click, drop) and undo all obey it. Unlike QLineEdit::maxLength it never
// cuts text the program puts there: a value shown from a file stays whole, so
// validation can judge it, and can still be shortened.
class TypingLimit : public QObject {
    Q_OBJECT
public:
    TypingLimit(QLineEdit *edit, int limit);

    int limit() const { return m_limit; }
    void setLimit(int limit) { m_limit = limit; }
    void setKeys(EditorRules::KeySet keys) { m_keys = keys; }
    // Whether n more characters fit, the selection being replaced.
    bool hasRoom(int n) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onEdited(const QString &text);

    QLineEdit *m_edit;
    int m_limit;
    EditorRules::KeySet m_keys = EditorRules::KeySet::Unfiltered;
    QString m_before; // the text before the edit now being judged
};

// 0 means no limit.
void setTypingLimit(QLineEdit *edit, int limit);
int typingLimit(const QLineEdit *edit);
void setTypingKeys(QLineEdit *edit, EditorRules::KeySet keys);
// True when the edit has no limit or n more characters fit.
bool hasTypingRoom(const QLineEdit *edit, int n);
// Sets the text as a rule does: the technician cannot undo it back.
void setRuleText(QLineEdit *edit, const QString &text);
