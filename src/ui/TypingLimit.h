#pragma once

#include <QLineEdit>
#include <QValidator>

// How many characters the technician may type or paste into an edit. Unlike
// QLineEdit::maxLength it never cuts text the program puts there: a value shown
// from a file stays whole, so validation can judge it, and can still be shortened.
class TypingLimit : public QValidator {
    Q_OBJECT
public:
    TypingLimit(QLineEdit *edit, int limit) : QValidator(edit), m_limit(limit), m_length(edit->text().size())
    {
        // While validating, the edit already holds the new text: remember the last accepted length.
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { m_length = text.size(); });
    }

    int limit() const { return m_limit; }
    void setLimit(int limit) { m_limit = limit; }

    State validate(QString &input, int &) const override
    {
        const bool grows = input.size() > m_length;
        return (m_limit > 0 && grows && input.size() > m_limit) ? Invalid : Acceptable;
    }

private:
    int m_limit;
    qsizetype m_length;
};

// 0 means no limit.
inline void setTypingLimit(QLineEdit *edit, int limit)
{
    if (auto *v = qobject_cast<TypingLimit *>(const_cast<QValidator *>(edit->validator())))
        v->setLimit(limit);
    else
        edit->setValidator(new TypingLimit(edit, limit));
}

inline int typingLimit(const QLineEdit *edit)
{
    const auto *v = qobject_cast<const TypingLimit *>(edit->validator());
    return v ? v->limit() : 0;
}
