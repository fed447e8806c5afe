#include "ScriptedDialogs.h"

bool ScriptedDialogs::message(QWidget *, Kind kind, const QString &text)
{
    shown.append({kind, caption(kind), text});
    if (onMessage)
        onMessage();
    if (kind != Kind::Question)
        return true;
    return answers.isEmpty() ? false : answers.takeFirst();
}

QString ScriptedDialogs::openConfigurationFile(QWidget *, const QString &folder)
{
    folders.append(folder);
    return openNames.isEmpty() ? QString() : openNames.takeFirst();
}

QString ScriptedDialogs::saveConfigurationFile(QWidget *, const QString &folder)
{
    folders.append(folder);
    return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
}
