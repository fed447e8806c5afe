#pragma once

#include "Windows1250.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstring>
#include <type_traits>

// One length byte and N character bytes. Only the first `length` characters
// count; a shorter value leaves the bytes after it as an earlier one left them.
template <int N> struct ShortString {
    quint8 length;
    char chars[N];

    static constexpr int capacity = N;

    // A length byte beyond the capacity is taken as the capacity: no value is
    // ever read from outside its field.
    int size() const { return length < N ? length : N; }
    bool isEmpty() const { return size() == 0; }
    QByteArray bytes() const { return QByteArray(chars, size()); }
    // Cut to the capacity.
    void setBytes(const QByteArray &value)
    {
        const int n = value.size() < N ? static_cast<int>(value.size()) : N;
        length = static_cast<quint8>(n);
        std::memcpy(chars, value.constData(), static_cast<size_t>(n));
    }
    QString text() const { return Windows1250::decode(bytes()); }
    void setText(const QString &value) { setBytes(Windows1250::encode(value)); }
};

// A one-byte Boolean: any nonzero byte reads as true, written as 0 or 1.
struct Bool8 {
    quint8 value;
    operator bool() const { return value != 0; }
    Bool8 &operator=(bool b)
    {
        value = b ? 1 : 0;
        return *this;
    }
};

// The configuration of a module, and byte for byte the content of a
// configuration file. Rows (Modem, Telefony, S, C, L) are indexed from 0 here;
// entry n of the phone book is index n - 1.
#pragma pack(push, 1)
struct TUstawienie {
    ShortString<8> Identyfikator;
    ShortString<8> Pin;
    ShortString<15> Centrum;
    ShortString<4> AccessCode;
    ShortString<10> MeterPassword;
    quint8 Harmonogram_rodzaj;
    quint8 Harmonogram_dzien;
    quint8 Harmonogram_godzina;
    quint8 Harmonogram_minuta;
    ShortString<40> Modem[4];
    ShortString<15> Telefony[16];
    Bool8 S[16];
    Bool8 C[16];
    Bool8 L[16];
    Bool8 AllNumbers;
};
#pragma pack(pop)

static_assert(sizeof(TUstawienie) == 523, "a configuration file is 523 bytes");
static_assert(std::is_trivially_copyable_v<TUstawienie>, "the record is copied as bytes");
static_assert(std::is_standard_layout_v<TUstawienie>, "offsets must be those of the file");
static_assert(offsetof(TUstawienie, Pin) == 9);
static_assert(offsetof(TUstawienie, Centrum) == 18);
static_assert(offsetof(TUstawienie, AccessCode) == 34);
static_assert(offsetof(TUstawienie, MeterPassword) == 39);
static_assert(offsetof(TUstawienie, Harmonogram_rodzaj) == 50);
static_assert(offsetof(TUstawienie, Harmonogram_minuta) == 53);
static_assert(offsetof(TUstawienie, Modem) == 54);
static_assert(offsetof(TUstawienie, Telefony) == 218);
static_assert(offsetof(TUstawienie, S) == 474);
static_assert(offsetof(TUstawienie, C) == 490);
static_assert(offsetof(TUstawienie, L) == 506);
static_assert(offsetof(TUstawienie, AllNumbers) == 522);

// A record of zero bytes: how the main window starts.
inline TUstawienie emptyConfiguration()
{
    TUstawienie r;
    std::memset(&r, 0, sizeof r);
    return r;
}

// What a new configuration holds where the editor shows nothing: no power-switch
// rights, no "any number", and no rows above the module's phone book (zero bytes,
// as in a fresh record). Without it a new configuration would keep the previous
// one's hidden rights.
void clearUnshownFields(TUstawienie &record, int maxNumbers);

// Phone numbers carry the fixed prefix "+48": these fix how much of a stored
// number the editor shows and how long a national number is.
constexpr int PrefixLength = 3;
constexpr int SuffixLength = 15 - PrefixLength;
constexpr int NumberLength = SuffixLength - 3;

// "+48" followed by the editor's text, cut to the field.
void storePhoneNumber(ShortString<15> &field, const QString &editorText);
// What the editor shows of a stored number: whatever follows the first three characters.
QString shownPhoneNumber(const ShortString<15> &field);
