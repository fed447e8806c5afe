#include "Frames.h"

#include <algorithm>

namespace Frames {

namespace {
const QByteArray kAnswerEnd = QByteArray(")") + EOT;

QByteArray header(const QByteArray &code)
{
    return SOH + code + STX;
}
} // namespace

QByteArray readRequest(const QByteArray &code)
{
    return header(code) + EOT;
}

QByteArray writeRequest(const QByteArray &code, const QByteArray &payload)
{
    return header(code) + '[' + payload + ']' + EOT;
}

bool hasAnswerEnd(const QByteArray &buffer)
{
    return buffer.contains(kAnswerEnd);
}

bool hasReadHeader(const QByteArray &buffer, const QByteArray &code)
{
    return buffer.contains(header(code) + '(');
}

bool hasAck(const QByteArray &buffer)
{
    return buffer.contains(ACK);
}

bool keepOnlyAnswerTo(QByteArray &buffer, const QByteArray &code)
{
    const QByteArray wanted = header(code) + '(';
    for (;;) {
        const qsizetype end = buffer.indexOf(kAnswerEnd);
        if (end < 0)
            return false;
        const qsizetype at = buffer.indexOf(wanted);
        if (at >= 0 && at < end) {
            buffer.remove(0, at);
            return true;
        }
        // A complete answer to something else (a late or repeated one): it goes.
        buffer.remove(0, end + kAnswerEnd.size());
    }
}

QByteArray answerPayload(const QByteArray &buffer)
{
    const qsizetype open = buffer.indexOf('(');
    const qsizetype close = buffer.indexOf(')');
    if (open < 0 || close <= open)
        return {};
    return buffer.mid(open + 1, close - open - 1);
}

bool serialNumberPayload(const QByteArray &buffer, QByteArray *payload)
{
    const QByteArray g00 = header("G00") + '(';
    const qsizetype last = buffer.lastIndexOf(g00);
    if (last < 0)
        return false;
    const QByteArray rest = buffer.mid(last + g00.size());
    const qsizetype end = rest.indexOf(kAnswerEnd);
    if (end < 0)
        return false;
    *payload = rest.left(end);
    return true;
}

Identification parseIdentification(const QByteArray &buffer)
{
    Identification id;
    const QByteArray ge0 = header("GE0");
    const qsizetype mkv = buffer.indexOf(ge0 + "(MKV-");
    qsizetype rw5 = buffer.indexOf(ge0 + "(RW-5/GSM");
    if (rw5 < 0)
        rw5 = buffer.indexOf(ge0 + "(RW-5/SMS");
    if (!hasAnswerEnd(buffer) || (mkv < 0 && rw5 < 0))
        return id;

    // The version follows the family prefix and its fixed-width model field.
    qsizetype versionStart;
    if (mkv >= 0) {
        id.family = Family::MKV;
        versionStart = mkv + 13;
    } else {
        id.family = Family::RW5;
        versionStart = rw5 + 16;
    }
    const QByteArray tail = buffer.mid(versionStart);
    const qsizetype space = tail.indexOf(' ');
    if (space < 0)
        return id;
    id.complete = true;
    id.versionText = tail.left(space);
    return id;
}

bool versionLess(const QByteArray &a, const QByteArray &b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

} // namespace Frames
