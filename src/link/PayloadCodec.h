#pragma once

#include "TUstawienie.h"

#include <QByteArray>

// Register payloads: the text between "[" and "]" of a write, and the decoding
// of the text between "(" and ")" of a read answer into a record. Pure text work.
namespace PayloadCodec {

// Encoders. Entries are 1-based, as the module numbers them (frame "S60" is entry 1).
QByteArray accessCode(const TUstawienie &r);    // S10
QByteArray pin(const TUstawienie &r);           // S20
QByteArray centrum(const TUstawienie &r);       // S30
QByteArray meterPassword(const TUstawienie &r); // S90: left-aligned, space-padded to 10
QByteArray scheduleOn(const TUstawienie &r);    // S80: "1" for a monthly or daily schedule
QByteArray scheduleTime(const TUstawienie &r);  // S70: dd,hhmm, each at least two digits
QByteArray allNumbers(const TUstawienie &r);    // SA0
// S6k: empty for an empty number, else number "," and the rights C, S (and L on
// modules with the extended book), always in that order.
QByteArray bookEntry(const TUstawienie &r, int entry, bool extendedBook);

// Decoders into the record (Odczytanie, as the read goes).
void decodeIdentyfikator(const QByteArray &p, TUstawienie &r); // G00
void decodeAccessCode(const QByteArray &p, TUstawienie &r);    // G10
void decodePin(const QByteArray &p, TUstawienie &r);           // G20
void decodeCentrum(const QByteArray &p, TUstawienie &r);       // G30
void decodeModem(const QByteArray &p, int command, TUstawienie &r); // G40..G43 as 1..4
void decodeMeterPassword(const QByteArray &p, TUstawienie &r); // G90
// G80: true when the schedule is on ("1" exactly) and G70 follows; otherwise the
// four schedule fields are cleared and false is returned.
bool decodeScheduleOn(const QByteArray &p, TUstawienie &r);
void decodeScheduleTime(const QByteArray &p, TUstawienie &r); // G70
void decodeAllNumbers(const QByteArray &p, TUstawienie &r);   // GA0
// G6k into entry (1-based); L is touched only on modules with the extended book.
void decodeBookEntry(const QByteArray &p, int entry, bool extendedBook, TUstawienie &r);

// The hexadecimal index character of an entry: entry 11 is 'A'.
char bookIndexDigit(int entry);

} // namespace PayloadCodec
