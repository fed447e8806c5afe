#pragma once

#include <QByteArray>

// Byte-level protocol spoken with the module: request building and the markers by
// which answers are recognised in the receive buffer. No widgets, no port.
namespace Frames {

constexpr char SOH = 0x01;
constexpr char STX = 0x02;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;

// SOH code STX EOT: always six bytes for a three-character code.
QByteArray readRequest(const QByteArray &code);
// SOH code STX "[" payload "]" EOT, handed to the port in one call.
QByteArray writeRequest(const QByteArray &code, const QByteArray &payload);

// ")" EOT anywhere in the buffer.
bool hasAnswerEnd(const QByteArray &buffer);
// SOH code STX "(" anywhere in the buffer.
bool hasReadHeader(const QByteArray &buffer, const QByteArray &code);
bool hasAck(const QByteArray &buffer);
// Takes the first complete answer that is not the one awaited (code) out of the
// front of the buffer, with whatever came before it; the awaited answer, when it
// is complete, is moved to the front. True while the awaited answer is there.
bool keepOnlyAnswerTo(QByteArray &buffer, const QByteArray &code);

// Text strictly between the first "(" and the first ")"; empty when either is
// missing or the ")" comes first.
QByteArray answerPayload(const QByteArray &buffer);

// The serial-number answer: the text after the last SOH "G00" STX "(" up to the
// first ")" EOT that follows it. False when no complete answer follows the last header.
bool serialNumberPayload(const QByteArray &buffer, QByteArray *payload);

enum class Family { None, MKV, RW5 };

struct Identification {
    Family family = Family::None;
    // False while the answer is still arriving: no ")" EOT, or no space after the version.
    bool complete = false;
    // Version text as sent, up to the first space ("02.00l"); valid when complete.
    QByteArray versionText;
};

// Finds an identification answer of either family in the buffer. "(MKV-" takes
// precedence over "(RW-5/" when both are present. Family is set as soon as a
// header and ")" EOT are present, even if the version is not complete yet.
Identification parseIdentification(const QByteArray &buffer);

// Firmware versions compare as plain byte strings; a prefix orders first.
bool versionLess(const QByteArray &a, const QByteArray &b);

} // namespace Frames
