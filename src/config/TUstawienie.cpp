#include "TUstawienie.h"

void storePhoneNumber(ShortString<15> &field, const QString &editorText)
{
    field.setText(QStringLiteral("+48") + editorText);
}

QString shownPhoneNumber(const ShortString<15> &field)
{
    return field.text().mid(PrefixLength, SuffixLength);
}
