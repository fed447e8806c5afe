#include "TypingLimit.h"

#include <QKeyEvent>

namespace {
const QString kName = QStringLiteral("TypingLimit");

TypingLimit *ruleOf(const QLineEdit *edit)
{
    return edit->findChild<TypingLimit *>(kName, Qt::FindDirectChildrenOnly);
}

TypingLimit *ensureRule(QLineEdit *edit)
{
    if (TypingLimit *t = ruleOf(edit))
        return t;
    return new TypingLimit(edit, 0);
}
} // namespace

TypingLimit::TypingLimit(QLineEdit *edit, int limit)
    : QObject(edit), m_edit(edit), m_limit(limit), m_before(edit->text())
{
    setObjectName(kName);
    // textEdited comes for every change the technician makes and never for the
    // program's setText; textChanged (after it) keeps the text to compare with.
    // It is read from the edit: after a correction made inside textEdited, the
    // edit still signals the text it had before the correction.
    connect(edit, &QLineEdit::textEdited, this, &TypingLimit::onEdited);
    connect(edit, &QLineEdit::textChanged, this, [this] { m_before = m_edit->text(); });
    edit->installEventFilter(this);
}

bool TypingLimit::hasRoom(int n) const
{
    return m_limit <= 0 || m_edit->text().size() - m_edit->selectedText().size() + n <= m_limit;
}

void TypingLimit::onEdited(const QString &after)
{
    const QString before = m_before; // a copy: putting text back updates m_before
    // The edit replaced one stretch of the text. Every way of entering text leaves
    // the caret behind what it entered, so what follows the caret is what stayed
    // behind; what stayed in front is found by comparing (undo may put the caret
    // elsewhere: then what stayed behind is found by comparing too).
    qsizetype back = after.size() - m_edit->cursorPosition();
    if (back > before.size() || !after.endsWith(QStringView(before).right(back))) {
        back = 0;
        while (back < before.size() && back < after.size() &&
               before.at(before.size() - 1 - back) == after.at(after.size() - 1 - back))
            ++back;
    }
    const qsizetype frontRoom = qMin(before.size(), after.size()) - back;
    qsizetype front = 0;
    while (front < frontRoom && before.at(front) == after.at(front))
        ++front;
    const QString entered = after.mid(front, after.size() - front - back);
    const qsizetype kept = front + back; // what the edit left of the old text
    QString allowed;
    if (entered.size() > 1) {
        // A paste goes in as it is meant or not at all: never as another value.
        const auto pasted = EditorRules::pastedText(m_keys, entered);
        if (pasted && (m_limit <= 0 || kept + pasted->size() <= m_limit))
            allowed = *pasted;
    } else {
        for (const QChar c : entered) {
            if (const char16_t code = EditorRules::filterKey(m_keys, c.unicode()); code >= 32)
                allowed.append(QChar(code));
        }
        if (m_limit > 0)
            allowed.truncate(qMax<qsizetype>(0, m_limit - kept));
    }
    if (allowed == entered)
        return;
    // Put back what the rule allows; the technician cannot undo into the refused text.
    if (allowed.isEmpty()) {
        // Refused whole, like a swallowed key: what was selected stays, selected.
        const auto removed = static_cast<int>(before.size() - kept);
        m_edit->setText(before);
        if (removed > 0)
            m_edit->setSelection(static_cast<int>(front), removed);
        else
            m_edit->setCursorPosition(static_cast<int>(front));
        return;
    }
    m_edit->setText(before.left(front) + allowed + before.right(back));
    m_edit->setCursorPosition(static_cast<int>(front + allowed.size()));
}

bool TypingLimit::eventFilter(QObject *, QEvent *event)
{
    // A key whose character the edit itself would not enter (Enter, Escape) still
    // types a space into the meter password, as every refused key there does.
    if (event->type() != QEvent::KeyPress || m_keys != EditorRules::KeySet::MeterPassword || m_edit->isReadOnly())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    if (text.size() != 1 || text.at(0).unicode() >= 32 || key->key() == Qt::Key_Backspace ||
        key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
        (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return false;
    if (hasRoom(1))
        m_edit->insert(QStringLiteral(" "));
    return true;
}

void setTypingLimit(QLineEdit *edit, int limit)
{
    ensureRule(edit)->setLimit(limit);
}

int typingLimit(const QLineEdit *edit)
{
    const TypingLimit *t = ruleOf(edit);
    return t ? t->limit() : 0;
}

void setTypingKeys(QLineEdit *edit, EditorRules::KeySet keys)
{
    ensureRule(edit)->setKeys(keys);
}

bool hasTypingRoom(const QLineEdit *edit, int n)
{
    const TypingLimit *t = ruleOf(edit);
    return !t || t->hasRoom(n);
}

void setRuleText(QLineEdit *edit, const QString &text)
{
    edit->setText(text); // unlike clear() and insert(), setText leaves no undo step
}
