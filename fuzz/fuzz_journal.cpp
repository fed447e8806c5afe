// The journal's rows from any field texts (the input's NUL-separated pieces): a
// reader of RFC 4180 with ";" between fields, written here on its own, gives back
// exactly the fields, and the row is one record ending in CRLF.
#include "FuzzCommon.h"
#include "Journal.h"

namespace {
// One record; false when the bytes are no single well-formed record.
bool readRecord(const QByteArray &row, QStringList *fields)
{
    QByteArray field;
    qsizetype i = 0;
    const qsizetype n = row.size();
    for (;;) {
        field.clear();
        if (i < n && row[i] == '"') {
            ++i;
            for (;;) {
                if (i >= n)
                    return false; // an unclosed quote
                if (row[i] == '"') {
                    if (i + 1 < n && row[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += row[i++];
            }
        } else {
            while (i < n && row[i] != ';' && row[i] != '\r' && row[i] != '\n') {
                if (row[i] == '"')
                    return false; // a quote inside an unquoted field
                field += row[i++];
            }
        }
        *fields << QString::fromUtf8(field);
        if (i < n && row[i] == ';') {
            ++i;
            continue;
        }
        return i + 2 == n && row[i] == '\r' && row[i + 1] == '\n';
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList fields;
    for (const QByteArray &piece : bytes.split('\0'))
        fields << QString::fromUtf8(piece);
    const QByteArray row = Journal::csvRow(fields);
    QStringList read;
    fuzzCheck(readRecord(row, &read), "the row is one record of quoted or plain fields ending in CRLF");
    fuzzCheck(read == fields, "the row reads back as the fields");
    return 0;
}
