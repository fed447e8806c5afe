#include "TypingLimit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

namespace {
const QString kName = QStringLiteral("TypingLimit");

TypingLimit *limitOf(const QLineEdit *edit)
{
    return edit->findChild<TypingLimit *>(kName, Qt::FindDirectChildrenOnly);
}
} // namespace

TypingLimit::TypingLimit(QLineEdit *edit, int limit) : QObject(edit), m_edit(edit), m_limit(limit)
{
    setObjectName(kName);
    edit->setAcceptDrops(false); // a drop would go around the limit
    edit->installEventFilter(this);
}

bool TypingLimit::hasRoom(int n) const
{
    return m_limit <= 0 || m_edit->text().size() - m_edit->selectedText().size() + n <= m_limit;
}

void TypingLimit::paste()
{
    if (m_edit->isReadOnly())
        return;
    QString text = QGuiApplication::clipboard()->text();
    if (m_limit > 0)
        text = text.left(qMax<qsizetype>(0, m_limit - (m_edit->text().size() - m_edit->selectedText().size())));
    if (!text.isEmpty())
        m_edit->insert(text);
}

bool TypingLimit::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            paste();
            return true;
        }
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        const QString text = key->text();
        const bool printable = !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
        return printable && !hasRoom(1);
    }
    if (event->type() == QEvent::ContextMenu) {
        // The standard menu, with its Paste held to the limit too.
        QMenu *menu = m_edit->createStandardContextMenu();
        if (QAction *pasteAction = menu->findChild<QAction *>(QStringLiteral("edit-paste"))) {
            pasteAction->disconnect();
            connect(pasteAction, &QAction::triggered, this, &TypingLimit::paste);
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    return false;
}

void setTypingLimit(QLineEdit *edit, int limit)
{
    if (TypingLimit *t = limitOf(edit))
        t->setLimit(limit);
    else
        new TypingLimit(edit, limit);
}

int typingLimit(const QLineEdit *edit)
{
    const TypingLimit *t = limitOf(edit);
    return t ? t->limit() : 0;
}

bool hasTypingRoom(const QLineEdit *edit, int n)
{
    const TypingLimit *t = limitOf(edit);
    return !t || t->hasRoom(n);
}
