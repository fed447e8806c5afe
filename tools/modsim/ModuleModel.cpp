#include "ModuleModel.h"

#include <QString>

namespace {
constexpr char SOH = 0x01;
constexpr char STX = 0x02;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;

// The module's own reading of its registers, written apart from the program's
// codec so that a fault there cannot agree with itself here.
QByteArray bookRegister(int entry)
{
    return QByteArray("G6") + "0123456789ABCDEF"[entry - 1];
}

QByteArray twoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

// The first two characters of text as a number from 0 to max, else 0 (a leading
// space or sign is taken, as the module's firmware does).
int number(const QByteArray &text, int max)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok && v >= 0 && v <= max ? v : 0;
}

QByteArray entryRegister(const TUstawienie &c, int i, bool withL)
{
    const QByteArray phone = c.Telefony[i].bytes();
    if (phone.isEmpty())
        return {};
    QByteArray p = phone + ',';
    if (c.C[i])
        p += 'C';
    if (c.S[i])
        p += 'S';
    if (withL && c.L[i])
        p += 'L';
    return p;
}
} // namespace

ModuleModel::ModuleModel()
{
    loadSampleRegisters();
}

void ModuleModel::setIdentity(Family family, const QByteArray &versionText)
{
    m_family = family;
    m_version = versionText;
    m_identOverride.clear();
}

QByteArray ModuleModel::identificationPayload() const
{
    if (!m_identOverride.isEmpty())
        return m_identOverride;
    // The fixed-width model field sits between the family prefix and the version.
    switch (m_family) {
    case Family::MKV:
        return "MKV-3/G" + m_version + " GSM/GPRS";
    case Family::RW5GSM:
        return "RW-5/GSM-v" + m_version + " modem";
    case Family::RW5SMS:
        return "RW-5/SMS-v" + m_version + " modem";
    }
    return {};
}

int ModuleModel::maxNumbers() const
{
    return m_family == Family::MKV ? 16 : 8;
}

bool ModuleModel::hasExtendedBook() const
{
    if (m_family != Family::MKV)
        return true;
    QByteArray v = m_version;
    if (v.endsWith('l'))
        v.chop(1);
    return !(v < QByteArray("02.00"));
}

void ModuleModel::loadSampleRegisters()
{
    m_registers.clear();
    m_registers["G00"] = "40012345";
    m_registers["G10"] = "7315";
    m_registers["G20"] = "1234";
    m_registers["G30"] = "+48601000310";
    m_registers["G40"] = "AT+CMGF=1";
    m_registers["G41"] = "AT+CNMI=2,1,0,0,0";
    m_registers["G42"] = "AT+CSCS=\"GSM\"";
    m_registers["G43"] = "";
    m_registers["G70"] = "05,0730";
    m_registers["G80"] = "1";
    m_registers["G90"] = "licznik   ";
    m_registers["GA0"] = "0";
    for (int entry = 1; entry <= 16; ++entry)
        m_registers[bookRegister(entry)] = "";
    m_registers["G60"] = "+48601234567,CSL";
    m_registers["G61"] = "+48502765432,S";
}

void ModuleModel::loadConfiguration(const TUstawienie &config)
{
    m_registers["G00"] = config.Identyfikator.bytes();
    m_registers["G10"] = config.AccessCode.bytes();
    m_registers["G20"] = config.Pin.bytes();
    m_registers["G30"] = config.Centrum.bytes();
    for (int n = 0; n < 4; ++n)
        m_registers["G4" + QByteArray::number(n)] = config.Modem[n].bytes();
    const bool on = config.Harmonogram_rodzaj == 1 || config.Harmonogram_rodzaj == 2;
    m_registers["G80"] = on ? "1" : "0";
    m_registers["G70"] = twoDigits(config.Harmonogram_dzien) + ',' + twoDigits(config.Harmonogram_godzina) +
                         twoDigits(config.Harmonogram_minuta);
    m_registers["G90"] = config.MeterPassword.bytes().leftJustified(10, ' ', true);
    m_registers["GA0"] = config.AllNumbers ? "1" : "0";
    for (int entry = 1; entry <= 16; ++entry)
        m_registers[bookRegister(entry)] = entryRegister(config, entry - 1, hasExtendedBook());
}

TUstawienie ModuleModel::configuration() const
{
    TUstawienie c = emptyConfiguration();
    c.Identyfikator.setBytes(reg("G00").left(8));
    c.AccessCode.setBytes(reg("G10").left(4));
    c.Pin.setBytes(reg("G20").left(8));
    c.Centrum.setBytes(reg("G30").left(15));
    for (int n = 0; n < 4; ++n)
        c.Modem[n].setBytes(reg("G4" + QByteArray::number(n)).left(40));
    c.MeterPassword.setBytes(reg("G90").left(10));
    if (reg("G80") == "1") {
        const QByteArray t = reg("G70");
        const int day = number(t.mid(0, 2), 31);
        c.Harmonogram_dzien = static_cast<quint8>(day);
        c.Harmonogram_rodzaj = day != 0 ? 1 : 2;
        c.Harmonogram_godzina = static_cast<quint8>(number(t.mid(3, 2), 23));
        c.Harmonogram_minuta = static_cast<quint8>(number(t.mid(5, 2), 59));
    }
    if (hasExtendedBook())
        c.AllNumbers = reg("GA0") == "1";
    for (int entry = 1; entry <= maxNumbers(); ++entry) {
        const QByteArray p = reg(bookRegister(entry));
        const int i = entry - 1;
        const qsizetype comma = p.indexOf(',');
        c.Telefony[i].setBytes(comma < 0 ? QByteArray() : p.left(comma).left(15));
        const QByteArray rights = comma < 0 ? p : p.mid(comma + 1);
        c.C[i] = rights.contains('C');
        c.S[i] = rights.contains('S');
        if (hasExtendedBook())
            c.L[i] = rights.contains('L');
    }
    return c;
}

bool ModuleModel::parseRequest(const QByteArray &frame, QByteArray *code, bool *isWrite, QByteArray *payload)
{
    if (frame.size() < 6 || frame.at(0) != SOH || frame.at(4) != STX || frame.back() != EOT)
        return false;
    *code = frame.mid(1, 3);
    if (frame.size() == 6) {
        *isWrite = false;
        payload->clear();
        return true;
    }
    if (frame.at(5) != '[' || frame.at(frame.size() - 2) != ']')
        return false;
    *isWrite = true;
    *payload = frame.mid(6, frame.size() - 8);
    return true;
}

QByteArray ModuleModel::answer(const QByteArray &code, bool isWrite, const QByteArray &payload)
{
    const char reg = code.at(1);
    if (reg == '6') {
        bool ok = false;
        const int index = QByteArray(1, code.at(2)).toInt(&ok, 16);
        if (!ok || index >= maxNumbers())
            return {};
    }
    if (reg == 'A' && !hasExtendedBook())
        return {};
    if (!isWrite) {
        if (code.at(0) != 'G')
            return {};
        const QByteArray p = code == "GE0" ? identificationPayload() : m_registers.value(code);
        if (code != "GE0" && !m_registers.contains(code))
            return {};
        QByteArray frame = SOH + code + STX + '(' + p + ')' + EOT;
        for (char &ch : frame) // seven bits a character, as the line carries them
            ch = static_cast<char>(ch & 0x7F);
        return frame;
    }
    // Writable registers only: never the serial number, the modem strings or identification.
    static const QByteArray writable = "12356789A";
    if (code.at(0) != 'S' || !writable.contains(reg))
        return {};
    QByteArray stored = payload;
    if (code == m_storeDifferently)
        stored =
            stored.isEmpty() ? QByteArray("X") : stored.left(stored.size() - 1) + (stored.endsWith('X') ? 'Y' : 'X');
    QByteArray readCode = code;
    readCode[0] = 'G';
    m_registers[readCode] = stored;
    return QByteArray(1, ACK);
}
