// Reading, writing and verifying a module's configuration: chains of single
// request/answer steps, each answer recognised by the receive handler.
#include "Frames.h"
#include "LinkEngine.h"
#include "PayloadCodec.h"

#include <QCryptographicHash>

namespace {
QByteArray bookCode(char direction, int index)
{
    return QByteArray(1, direction) + '6' + PayloadCodec::bookIndexDigit(index + 1);
}
} // namespace

int LinkEngine::readSteps() const
{
    // G00 to G90 (nine steps after the first), G80 and G70 as one, GA0 on modules
    // with the extended book, and every entry but the last.
    return 1 + 9 + 1 + (IsExtendedBook() ? 1 : 0) + (MaxNumbers - 1);
}

int LinkEngine::writeSteps() const
{
    // The opening frame, S10/S20/S90/S30 as the module takes them, S80 and S70
    // as one, SA0 on modules with the extended book, and every entry but the last.
    const int parameters = IsLatch ? 4 : 2;
    return 1 + 1 + parameters + 1 + (IsExtendedBook() ? 1 : 0) + (MaxNumbers - 1);
}

bool LinkEngine::belowVersion(const QByteArray &version) const
{
    return DeviceType == dtMKVx && Frames::versionLess(DeviceVersion, version);
}

void LinkEngine::showReadProgress()
{
    m_host->setStatus(QStringLiteral("Status: Odczyt konfiguracji %1 z %2").arg(ACount_Order).arg(AMAX_Order));
}

void LinkEngine::showWriteProgress()
{
    m_host->setStatus(QStringLiteral("Status: Zapis konfiguracji %1 z %2").arg(ACount_Order).arg(AMAX_Order));
}

void LinkEngine::setOperationButtons(bool enabled)
{
    for (auto b : {LinkHost::Button::Utworz, LinkHost::Button::OdczytPlik, LinkHost::Button::ZapisPlik,
                   LinkHost::Button::OdczytLicznik, LinkHost::Button::ZapisLicznik})
        m_host->setButtonEnabled(b, enabled);
}

void LinkEngine::countStep()
{
    ++ACount_Order;
    if (IsWritening)
        showWriteProgress();
    else
        showReadProgress();
}

// ---- reading ----

void LinkEngine::BitBtnOdczytLicznikClick()
{
    setOperationButtons(false);
    disableWatchDog();
    startRead(false);
}

void LinkEngine::startRead(bool verification)
{
    IsReading = true;
    IsWritening = false;
    IsVerification = verification;
    // A sequence abandoned by closing the port may have left an entry index behind.
    Ksiazka = 0;
    ACount_Order = 1;
    AMAX_Order = readSteps();
    showReadProgress();
    IsWaitG00 = true;
    IrDABuffer.clear();
    send(Frames::readRequest("G00"));
}

void LinkEngine::firstReadStep()
{
    QByteArray serial;
    if (!Frames::hasReadHeader(IrDABuffer, "G00") || !Frames::hasAnswerEnd(IrDABuffer) ||
        !Frames::serialNumberPayload(IrDABuffer, &serial)) {
        enableWatchDogIfDisabled();
        return;
    }
    IsWaitG00 = false;
    disableWatchDog();
    ++ACount_Order;
    PayloadCodec::decodeIdentyfikator(serial, m_host->odczytanie());
    showReadProgress();
    nextRead("G10");
}

void LinkEngine::answerDispatch()
{
    if (IsWritening) {
        // Only an acknowledgement advances a write. A read answer here is late or
        // repeated: it goes, and the write keeps waiting for its ACK.
        if (Frames::hasAck(IrDABuffer)) {
            IrDABuffer.clear();
            writeChain();
        } else {
            Frames::keepOnlyAnswerTo(IrDABuffer, QByteArray()); // no read answer is awaited
        }
        return;
    }
    // Only the answer to the request just sent (S_Command) advances a read;
    // another one goes, and the request keeps waiting as for a lost answer.
    IrDABuffer.replace(QByteArray(1, Frames::ACK), QByteArray()); // an ACK answers no read
    if (Frames::keepOnlyAnswerTo(IrDABuffer, S_Command))
        readChain(S_Command);
}

void LinkEngine::nextRead(const QByteArray &code)
{
    IrDABuffer.clear();
    S_Command = code; // the one answer that may advance the read
    send(Frames::readRequest(code));
}

void LinkEngine::readChain(const QByteArray &code)
{
    using namespace PayloadCodec;
    TUstawienie &r = m_host->odczytanie();
    const QByteArray p = Frames::answerPayload(IrDABuffer);
    const QByteArray afterSchedule = IsExtendedBook() ? QByteArray("GA0") : bookCode('G', 0);

    if (code == "G80") {
        if (decodeScheduleOn(p, r)) {
            nextRead("G70"); // counted together with G70
            return;
        }
        if (belowVersion("02.00"))
            Ksiazka = 0;
        countStep();
        nextRead(afterSchedule);
        return;
    }
    if (code == "G70") {
        decodeScheduleTime(p, r);
        if (belowVersion("02.00"))
            Ksiazka = 0;
        countStep();
        nextRead(afterSchedule);
        return;
    }
    if (code == "GA0") {
        decodeAllNumbers(p, r);
        Ksiazka = 0;
        countStep();
        nextRead(bookCode('G', 0));
        return;
    }
    if (code.startsWith("G6")) {
        ++Ksiazka;
        decodeBookEntry(p, Ksiazka, IsExtendedBook(), r);
        if (Ksiazka > MaxNumbers - 1) {
            endOfRead();
            return;
        }
        countStep();
        nextRead(bookCode('G', Ksiazka));
        return;
    }

    QByteArray next;
    if (code == "G10") {
        decodeAccessCode(p, r);
        next = "G20";
    } else if (code == "G20") {
        decodePin(p, r);
        next = "G30";
    } else if (code == "G30") {
        decodeCentrum(p, r);
        next = "G40";
    } else if (code.startsWith("G4")) {
        const int command = code.at(2) - '0' + 1;
        decodeModem(p, command, r);
        next = command < 4 ? "G4" + QByteArray::number(command) : QByteArray("G90");
    } else if (code == "G90") {
        decodeMeterPassword(p, r);
        next = "G80";
    }
    countStep();
    nextRead(next);
}

void LinkEngine::copyReadIntoSettings()
{
    TUstawienie &u = m_host->ustawienie();
    const TUstawienie &o = m_host->odczytanie();
    u.Identyfikator = o.Identyfikator;
    u.Pin = o.Pin;
    u.Centrum = o.Centrum;
    u.AccessCode = o.AccessCode;
    u.MeterPassword = o.MeterPassword;
    u.Harmonogram_rodzaj = o.Harmonogram_rodzaj;
    u.Harmonogram_dzien = o.Harmonogram_dzien;
    u.Harmonogram_godzina = o.Harmonogram_godzina;
    u.Harmonogram_minuta = o.Harmonogram_minuta;
    for (int i = 0; i < qBound(0, MaxNumbers, 16); ++i) {
        if (i < 4)
            u.Modem[i] = o.Modem[i];
        u.Telefony[i] = o.Telefony[i];
        u.C[i] = o.C[i];
        u.S[i] = o.S[i];
        if (IsExtendedBook())
            u.L[i] = o.L[i];
    }
    if (IsExtendedBook())
        u.AllNumbers = o.AllNumbers;
}

bool LinkEngine::verificationSucceeded() const
{
    // The host is not const, but comparing changes nothing.
    return differences(m_host->ustawienie(), m_host->odczytanie()).isEmpty();
}

QStringList LinkEngine::differences(const TUstawienie &u, const TUstawienie &o) const
{
    QStringList out;
    auto same = [](const auto &a, const auto &b) { return a.bytes() == b.bytes(); };
    if (!same(u.Pin, o.Pin))
        out << QStringLiteral("PIN");
    if (!same(u.Centrum, o.Centrum))
        out << QStringLiteral("Centrum SMS");
    if (IsLatch && !same(u.AccessCode, o.AccessCode))
        out << QStringLiteral("Kod autoryzacyjny");
    if (IsLatch && !same(u.MeterPassword, o.MeterPassword))
        out << QStringLiteral("Hasło do licznika");
    if (u.Harmonogram_rodzaj != o.Harmonogram_rodzaj || u.Harmonogram_dzien != o.Harmonogram_dzien ||
        u.Harmonogram_godzina != o.Harmonogram_godzina || u.Harmonogram_minuta != o.Harmonogram_minuta)
        out << QStringLiteral("Harmonogram");
    for (int i = 0; i < qBound(0, MaxNumbers, 16); ++i) {
        if (!same(u.Telefony[i], o.Telefony[i]))
            out << QStringLiteral("numer %1").arg(i + 1);
        // L is written to modules with the extended book, so it is checked there too.
        if (bool(u.S[i]) != bool(o.S[i]) || bool(u.C[i]) != bool(o.C[i]) ||
            (IsExtendedBook() && bool(u.L[i]) != bool(o.L[i])))
            out << QStringLiteral("uprawnienia numeru %1").arg(i + 1);
    }
    if (IsExtendedBook() && bool(u.AllNumbers) != bool(o.AllNumbers))
        out << QStringLiteral("Wyślij SMS na dowolny numer");
    return out;
}

QString LinkEngine::fingerprint(const TUstawienie &u) const
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const auto add = [&hash](const QString &name, const QByteArray &value) {
        hash.addData(name.toLatin1() + '=' + value.toHex() + '\n');
    };
    add(QStringLiteral("Centrum"), u.Centrum.bytes());
    const char schedule[] = {char(u.Harmonogram_rodzaj), char(u.Harmonogram_dzien), char(u.Harmonogram_godzina),
                             char(u.Harmonogram_minuta)};
    add(QStringLiteral("Harmonogram"), QByteArray(schedule, sizeof schedule));
    for (int i = 0; i < qBound(0, MaxNumbers, 16); ++i) {
        QByteArray rights = QByteArray(1, char(bool(u.S[i]))) + char(bool(u.C[i]));
        if (IsExtendedBook())
            rights += char(bool(u.L[i]));
        add(QStringLiteral("numer%1").arg(i + 1), u.Telefony[i].bytes() + '|' + rights);
    }
    if (IsExtendedBook())
        add(QStringLiteral("AllNumbers"), QByteArray(1, char(bool(u.AllNumbers))));
    return QString::fromLatin1(hash.result().toHex().left(16));
}

QString LinkEngine::moduleName() const
{
    if (DeviceType == dtNone)
        return {};
    return (DeviceType == dtMKVx ? QStringLiteral("MKV ") : QStringLiteral("RW-5 ")) + QString::fromLatin1(DeviceVersion);
}

void LinkEngine::endOfRead()
{
    Ksiazka = 0;
    IsReading = false;
    bool success = true;
    if (IsVerification) {
        success = verificationSucceeded();
        m_host->showVerificationResult(success);
    }
    if (!IsVerification || success) {
        copyReadIntoSettings();
        m_host->showConfiguration();
    }
    setOperationButtons(true);
    m_host->setStatus(QStringLiteral("Status: Połączony"));
}

// ---- writing ----

void LinkEngine::sendOpeningWriteFrame()
{
    const TUstawienie &u = m_host->ustawienie();
    if (IsLatch)
        send(Frames::writeRequest("S10", PayloadCodec::accessCode(u)));
    else
        send(Frames::writeRequest("S20", PayloadCodec::pin(u)));
}

void LinkEngine::BitBtnZapisLicznikClick()
{
    if (!m_host->validateConfiguration())
        return;
    setOperationButtons(false);
    disableWatchDog();
    IsReading = false;
    IsVerification = false;
    IsWritening = true;
    Ksiazka = 0;
    ACount_Order = 1;
    AMAX_Order = writeSteps();
    showWriteProgress();
    IsWaitS00 = true;
    S_Command.clear();
    IrDABuffer.clear();
    sendOpeningWriteFrame();
}

void LinkEngine::openingWriteStep()
{
    if (!Frames::hasAck(IrDABuffer)) {
        enableWatchDogIfDisabled();
        return;
    }
    IsWaitS00 = false;
    disableWatchDog();
    ++ACount_Order;
    showWriteProgress();
    // This acknowledgement is used up: the next frame waits for its own, so that
    // nothing is sent while the module answers (an infrared probe is half-duplex).
    IrDABuffer.clear();
    S_Command = IsLatch ? "S10" : "S20";
    sendOpeningWriteFrame();
}

void LinkEngine::nextWrite(const QByteArray &tag, const QByteArray &code, const QByteArray &payload)
{
    S_Command = tag;
    send(Frames::writeRequest(code, payload));
}

void LinkEngine::writeChain()
{
    using namespace PayloadCodec;
    const TUstawienie &u = m_host->ustawienie();

    if (S_Command == "S10") {
        countStep();
        nextWrite("S20", "S20", pin(u));
    } else if (S_Command == "S20") {
        countStep();
        if (IsLatch)
            nextWrite("S90", "S90", meterPassword(u));
        else
            nextWrite("S30", "S30", centrum(u));
    } else if (S_Command == "S90") {
        countStep();
        nextWrite("S30", "S30", centrum(u));
    } else if (S_Command == "S30") {
        countStep();
        const QByteArray on = scheduleOn(u);
        nextWrite("S80[" + on + ']', "S80", on);
    } else if (S_Command == "S80[1]") {
        nextWrite("S70", "S70", scheduleTime(u)); // counted together with S80
    } else if (S_Command == "S70" || S_Command == "S80[0]") {
        if (belowVersion("02.00"))
            Ksiazka = 0;
        countStep();
        if (IsExtendedBook())
            nextWrite("SA0", "SA0", allNumbers(u));
        else
            nextWrite(bookCode('S', Ksiazka), bookCode('S', Ksiazka), bookEntry(u, Ksiazka + 1, false));
    } else if (S_Command == "SA0") {
        Ksiazka = 0;
        countStep();
        nextWrite(bookCode('S', 0), bookCode('S', 0), bookEntry(u, 1, IsExtendedBook()));
    } else if (S_Command == bookCode('S', Ksiazka)) {
        ++Ksiazka;
        if (Ksiazka > MaxNumbers - 1) {
            endOfWrite();
            return;
        }
        countStep();
        nextWrite(bookCode('S', Ksiazka), bookCode('S', Ksiazka), bookEntry(u, Ksiazka + 1, IsExtendedBook()));
    }
    // Any other tag (none awaited) does nothing.
}

void LinkEngine::endOfWrite()
{
    disableWatchDog();
    startRead(true); // the verification: everything read back
}
