#pragma once

#include <QStringView>

#include <optional>

// Whole numbers typed or received as text. One place decides what counts as a
// number, for the record, the codec and validation alike.
namespace IntegerText {

// Leading spaces, then an optional sign, then decimal digits, within 32 bits.
// This is what the module's two-character schedule fields are read with.
std::optional<qint32> lenient(QStringView text);
// An optional sign, then decimal digits, within 32 bits; nothing else.
std::optional<qint32> signedDecimal(QStringView text);
// Decimal digits only: no sign, no space. For PINs, codes and phone numbers.
bool isDigits(QStringView text);

} // namespace IntegerText
