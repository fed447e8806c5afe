#include "TUstawienie.h"

#include <algorithm>
#include <iterator>

void storePhoneNumber(ShortString<15> &field, const QString &editorText)
{
    field.setText(QStringLiteral("+48") + editorText);
}

QString shownPhoneNumber(const ShortString<15> &field)
{
    return field.text().mid(PrefixLength, SuffixLength);
}

void clearUnshownFields(TUstawienie &record, int maxNumbers)
{
    const TUstawienie empty = emptyConfiguration();
    std::copy(std::begin(empty.L), std::end(empty.L), std::begin(record.L));
    record.AllNumbers = empty.AllNumbers;
    for (int n = qMax(0, maxNumbers); n < 16; ++n) {
        record.Telefony[n] = empty.Telefony[n];
        record.S[n] = empty.S[n];
        record.C[n] = empty.C[n];
    }
}
