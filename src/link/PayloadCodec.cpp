#include "PayloadCodec.h"

#include "IntegerText.h"

namespace PayloadCodec {

namespace {
QByteArray twoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

// Two characters of a schedule answer as a number in [0, max]; anything else is 0.
quint8 scheduleField(const QByteArray &p, int from, int max)
{
    const auto value = IntegerText::lenient(QString::fromLatin1(p.mid(from, 2)));
    return (value && *value >= 0 && *value <= max) ? static_cast<quint8>(*value) : 0;
}
} // namespace

QByteArray accessCode(const TUstawienie &r)
{
    return r.AccessCode.bytes();
}

QByteArray pin(const TUstawienie &r)
{
    return r.Pin.bytes();
}

QByteArray centrum(const TUstawienie &r)
{
    return r.Centrum.bytes();
}

QByteArray meterPassword(const TUstawienie &r)
{
    return r.MeterPassword.bytes().leftJustified(10, ' ');
}

QByteArray scheduleOn(const TUstawienie &r)
{
    return (r.Harmonogram_rodzaj == 1 || r.Harmonogram_rodzaj == 2) ? "1" : "0";
}

QByteArray scheduleTime(const TUstawienie &r)
{
    return twoDigits(r.Harmonogram_dzien) + ',' + twoDigits(r.Harmonogram_godzina) + twoDigits(r.Harmonogram_minuta);
}

QByteArray allNumbers(const TUstawienie &r)
{
    return r.AllNumbers ? "1" : "0";
}

QByteArray bookEntry(const TUstawienie &r, int entry, bool extendedBook)
{
    const int i = entry - 1;
    if (r.Telefony[i].isEmpty())
        return {};
    QByteArray p = r.Telefony[i].bytes() + ',';
    if (r.C[i])
        p += 'C';
    if (r.S[i])
        p += 'S';
    if (r.L[i] && extendedBook)
        p += 'L';
    return p;
}

void decodeIdentyfikator(const QByteArray &p, TUstawienie &r)
{
    r.Identyfikator.setBytes(p);
}

void decodeAccessCode(const QByteArray &p, TUstawienie &r)
{
    r.AccessCode.setBytes(p);
}

void decodePin(const QByteArray &p, TUstawienie &r)
{
    r.Pin.setBytes(p);
}

void decodeCentrum(const QByteArray &p, TUstawienie &r)
{
    r.Centrum.setBytes(p);
}

void decodeModem(const QByteArray &p, int command, TUstawienie &r)
{
    r.Modem[command - 1].setBytes(p);
}

void decodeMeterPassword(const QByteArray &p, TUstawienie &r)
{
    r.MeterPassword.setBytes(p);
}

bool decodeScheduleOn(const QByteArray &p, TUstawienie &r)
{
    if (p == "1")
        return true;
    r.Harmonogram_rodzaj = 0;
    r.Harmonogram_dzien = 0;
    r.Harmonogram_godzina = 0;
    r.Harmonogram_minuta = 0;
    return false;
}

void decodeScheduleTime(const QByteArray &p, TUstawienie &r)
{
    // Character 3 (the comma) is not looked at.
    r.Harmonogram_dzien = scheduleField(p, 0, 31);
    r.Harmonogram_rodzaj = r.Harmonogram_dzien != 0 ? 1 : 2;
    r.Harmonogram_godzina = scheduleField(p, 3, 23);
    r.Harmonogram_minuta = scheduleField(p, 5, 59);
}

void decodeAllNumbers(const QByteArray &p, TUstawienie &r)
{
    r.AllNumbers = p == "1";
}

void decodeBookEntry(const QByteArray &p, int entry, bool extendedBook, TUstawienie &r)
{
    const int i = entry - 1;
    const qsizetype comma = p.indexOf(',');
    r.Telefony[i].setBytes(comma < 0 ? QByteArray() : p.left(comma));
    r.C[i] = p.contains('C');
    r.S[i] = p.contains('S');
    if (extendedBook)
        r.L[i] = p.contains('L');
}

char bookIndexDigit(int entry)
{
    return "0123456789ABCDEF"[(entry - 1) & 0xF];
}

} // namespace PayloadCodec
