#pragma once

#include <QString>

#include <optional>

// The value rules of the editor's fields, free of widgets.
namespace EditorRules {

enum class KeySet {
    Digits,        // Backspace and "0" to "9"
    PhoneNumber,   // the same, in a field shown behind "+48"
    MeterPassword, // Backspace and what the line carries into the meter: codes 32 to 126 but ")" and "]"
                   // (they end an answer); anything else types a space
    Unfiltered,    // every key up to 255 (the PIN field while it shows "no PIN")
};

// What a typed character becomes: 0 when it is dropped, else the code to type.
char16_t filterKey(KeySet set, char16_t code);

// What a paste, drop or input-method commit of more than one character puts in:
// the text itself when it means exactly that in the field, nothing when it must be
// refused whole. A digit field drops spaces and dashes, a phone number also a
// leading "+48" or "0048"; nothing else is dropped or changed.
std::optional<QString> pastedText(KeySet set, const QString &text);

// The day of month once the field is left: not a number or 1 or less gives 1,
// 32 or more gives 28.
int dayOnExit(const QString &text);

// A time field's value: its number when it lies in 1..max, else 0.
int timeValue(const QString &text, int max);
// "00" to "23" / "59".
QString timeText(int value);
int stepUp(int value, int max);
int stepDown(int value, int max);

constexpr int kMaxHour = 23;
constexpr int kMaxMinute = 59;

} // namespace EditorRules
