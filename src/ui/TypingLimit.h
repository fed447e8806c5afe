#pragma once

#include <QLineEdit>
#include <QObject>

// How many characters the technician may type or paste into an edit. Unlike
// QLineEdit::maxLength it never cuts text the program puts there: a value shown
// from a file stays whole, so validation can judge it, and can still be shortened.
class TypingLimit : public QObject {
    Q_OBJECT
public:
    TypingLimit(QLineEdit *edit, int limit);

    int limit() const { return m_limit; }
    void setLimit(int limit) { m_limit = limit; }
    // Whether n more characters fit, the selection being replaced.
    bool hasRoom(int n) const;
    // Pastes what fits of the clipboard, as a limited Windows edit does.
    void paste();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_edit;
    int m_limit;
};

// 0 means no limit.
void setTypingLimit(QLineEdit *edit, int limit);
int typingLimit(const QLineEdit *edit);
// True when the edit has no limit or n more characters fit.
bool hasTypingRoom(const QLineEdit *edit, int n);
