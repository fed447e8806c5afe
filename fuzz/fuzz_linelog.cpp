// The line log's masker on any bytes, cut into any pieces, with secret frames
// (S10/G10, S20/G20, S90/G90) placed among them: what it gives back is the input
// byte for byte, except that each byte of a secret's payload is a '*'. The payload
// is found here on the whole input at once, independently of the masker's pieces.
#include "FuzzCommon.h"
#include "LineLog.h"

namespace {
constexpr char SOH = 0x01, STX = 0x02, EOT = 0x04;

bool isSecret(const QByteArray &code)
{
    static const QList<QByteArray> secrets{"S10", "G10", "S20", "G20", "S90", "G90"};
    return secrets.contains(code);
}

// Bytes 0xF0-0xF7 of the input stand for whole pieces of frames, so that secrets
// and their ends turn up often; every other byte is itself.
QByteArray lineFrom(const uint8_t *data, size_t size)
{
    static const char *const openings[] = {"S10", "G10", "S20", "G20", "S90", "G90", "G00"};
    QByteArray line;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t b = data[i];
        if (b >= 0xF0 && b <= 0xF6)
            line += SOH + QByteArray(openings[b - 0xF0]) + STX + ((b & 1) ? '[' : '(');
        else if (b == 0xF7)
            line += (i % 2 ? ")" : "]") + QByteArray(1, EOT);
        else
            line += char(b);
    }
    return line;
}

// Which bytes are a secret's payload: after SOH, a secret code, STX and an opening
// bracket, up to the frame's EOT (or the end), less a closing bracket just before it.
QByteArray expectedMask(const QByteArray &line)
{
    QByteArray out = line;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n) {
        if (line[i] != SOH) {
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < n && line[j] != STX && line[j] != SOH)
            ++j;
        if (j >= n)
            break;
        if (line[j] == SOH) {
            i = j;
            continue;
        }
        if (j + 1 >= n)
            break;
        if (!isSecret(line.mid(i + 1, j - i - 1)) || (line[j + 1] != '(' && line[j + 1] != '[')) {
            i = j + 1;
            continue;
        }
        const qsizetype start = j + 2;
        const qsizetype eot = line.indexOf(EOT, start);
        qsizetype end = eot < 0 ? n : eot;
        if (eot > start && (line[eot - 1] == ')' || line[eot - 1] == ']'))
            --end;
        for (qsizetype k = start; k < end; ++k)
            out[k] = '*';
        if (eot < 0)
            break;
        i = eot + 1;
    }
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose the pieces the line arrives in.
    quint32 cut = (quint32(data[0]) << 8) | data[1];
    const QByteArray line = lineFrom(data + 2, size - 2);
    LineLog::Masker masker;
    QByteArray logged;
    for (qsizetype at = 0; at < line.size();) {
        cut = cut * 1103515245u + 12345u;
        const qsizetype piece = 1 + qsizetype((cut >> 16) % 17);
        logged += masker.mask(line.mid(at, piece));
        at += piece;
    }
    logged += masker.drain();
    fuzzCheck(logged == expectedMask(line),
              "every secret payload byte is hidden and every other byte is logged as it came, in order");
    return 0;
}
