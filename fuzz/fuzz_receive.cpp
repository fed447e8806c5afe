// Arbitrary bytes on the line, in arbitrary pieces, in each state of the link
// engine: nothing may crash, the buffer stays bounded and the flags agree.
#include "FakeHost.h"
#include "FakeSerialPort.h"
#include "FuzzCommon.h"
#include "LinkEngine.h"
#include "ModuleModel.h"

#include <QCoreApplication>

namespace {
void checkEngine(const LinkEngine &e)
{
    fuzzCheck(e.IrDABuffer.size() <= LinkEngine::kBufferLimit, "buffer bounded");
    fuzzCheck(!e.IsWaitG00 || e.IsReading, "waiting for G00 only while reading");
    fuzzCheck(!e.IsWaitS00 || e.IsWritening, "waiting for the opening write only while writing");
    fuzzCheck(!(e.IsReading && e.IsWritening), "reading and writing at once");
    fuzzCheck(!e.IsVerification || !e.IsWritening, "verifying while writing");
    // A module repeating an old answer repeats its step, so the count itself is
    // not bounded here; the total is always one of the module's.
    fuzzCheck(e.ACount_Order >= 1, "progress counts from 1");
    fuzzCheck(e.AMAX_Order == 22 || e.AMAX_Order == e.readSteps() || e.AMAX_Order == e.writeSteps(),
              "the total is the sequence's");
    fuzzCheck(e.Ksiazka >= 0 && e.Ksiazka <= e.MaxNumbers, "entry index within the book");
    fuzzCheck(e.MaxNumbers == 8 || e.MaxNumbers == 16, "book size");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_receive";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    if (size < 1)
        return 0;

    FakeHost host;
    FakeSerialPort port;
    LinkEngine engine(&port, &host);
    ModuleModel module;
    const int state = data[0] % 4; // identifying, reading, writing, verifying
    module.setIdentity(data[0] & 4 ? ModuleModel::Family::RW5GSM : ModuleModel::Family::MKV,
                       data[0] & 8 ? "01.15l" : "02.00l");
    if (state > 0) {
        port.attach(&module);
        engine.BitBtnPolaczClick();
        port.pump();
    } else {
        engine.BitBtnPolaczClick();
    }
    if (state == 1)
        engine.BitBtnOdczytLicznikClick();
    if (state >= 2) {
        host.settings = module.configuration();
        engine.BitBtnZapisLicznikClick();
        if (state == 3) {
            while (!engine.IsVerification && !port.pending.isEmpty())
                port.pump(1);
        }
    }
    port.attach(nullptr);
    port.pending.clear();
    checkEngine(engine);

    // The rest: a length byte and that many bytes, or 0xFF for a watchdog tick.
    size_t at = 1;
    while (at < size) {
        const uint8_t head = data[at++];
        if (head == 0xFF) {
            engine.TimerWatchDogTimer();
        } else {
            const size_t n = std::min<size_t>(head % 64 + 1, size - at);
            port.deliver(QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(n)));
            at += n;
        }
        checkEngine(engine);
    }
    return 0;
}
