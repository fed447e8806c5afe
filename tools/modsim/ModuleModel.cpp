#include "ModuleModel.h"

#include "PayloadCodec.h"

namespace {
constexpr char SOH = 0x01;
constexpr char STX = 0x02;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;

QByteArray bookRegister(int entry)
{
    return QByteArray("G6") + PayloadCodec::bookIndexDigit(entry);
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
    using namespace PayloadCodec;
    m_registers["G00"] = config.Identyfikator.bytes();
    m_registers["G10"] = accessCode(config);
    m_registers["G20"] = pin(config);
    m_registers["G30"] = centrum(config);
    for (int n = 1; n <= 4; ++n)
        m_registers["G4" + QByteArray::number(n - 1)] = config.Modem[n - 1].bytes();
    m_registers["G70"] = scheduleTime(config);
    m_registers["G80"] = scheduleOn(config);
    m_registers["G90"] = meterPassword(config);
    m_registers["GA0"] = allNumbers(config);
    for (int entry = 1; entry <= 16; ++entry)
        m_registers[bookRegister(entry)] = bookEntry(config, entry, hasExtendedBook());
}

TUstawienie ModuleModel::configuration() const
{
    using namespace PayloadCodec;
    TUstawienie config = emptyConfiguration();
    decodeIdentyfikator(reg("G00"), config);
    decodeAccessCode(reg("G10"), config);
    decodePin(reg("G20"), config);
    decodeCentrum(reg("G30"), config);
    for (int n = 1; n <= 4; ++n)
        decodeModem(reg("G4" + QByteArray::number(n - 1)), n, config);
    decodeMeterPassword(reg("G90"), config);
    if (decodeScheduleOn(reg("G80"), config))
        decodeScheduleTime(reg("G70"), config);
    if (hasExtendedBook())
        decodeAllNumbers(reg("GA0"), config);
    for (int entry = 1; entry <= maxNumbers(); ++entry)
        decodeBookEntry(reg(bookRegister(entry)), entry, hasExtendedBook(), config);
    return config;
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
        return SOH + code + STX + '(' + p + ')' + EOT;
    }
    // Writable registers only: never the serial number, the modem strings or identification.
    static const QByteArray writable = "12356789A";
    if (code.at(0) != 'S' || !writable.contains(reg))
        return {};
    QByteArray stored = payload;
    if (code == m_storeDifferently)
        stored = stored.isEmpty() ? QByteArray("X") : stored.left(stored.size() - 1) + (stored.endsWith('X') ? 'Y' : 'X');
    QByteArray readCode = code;
    readCode[0] = 'G';
    m_registers[readCode] = stored;
    return QByteArray(1, ACK);
}
