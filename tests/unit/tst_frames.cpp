#include "Frames.h"
#include "LineLog.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <QTest>

using namespace Frames;

namespace {
QByteArray answer(const QByteArray &code, const QByteArray &payload)
{
    return SOH + code + STX + '(' + payload + ')' + EOT;
}
} // namespace

class TestFrames : public QObject {
    Q_OBJECT
private slots:
    void requestsHaveTheirExactBytes()
    {
        QCOMPARE(readRequest("G00"), QByteArray::fromHex("014730300204"));
        const QByteArray empty = writeRequest("S30", "");
        QCOMPARE(empty.size(), 8);
        QCOMPARE(empty, QByteArray("\x01S30\x02[]\x04"));
        QCOMPARE(writeRequest("S70", "05,1430"), QByteArray("\x01S70\x02[05,1430]\x04"));
    }

    void echoOfTheRequestCompletesNothing()
    {
        QByteArray buffer = readRequest("G10");
        QVERIFY(!hasAnswerEnd(buffer));
        QVERIFY(!hasAck(buffer));
        QVERIFY(!hasReadHeader(buffer, "G10"));
        buffer += answer("G10", "7315");
        QVERIFY(hasAnswerEnd(buffer));
        QVERIFY(hasReadHeader(buffer, "G10"));
        QCOMPARE(answerPayload(buffer), QByteArray("7315"));
    }

    void splitAnswerCompletesOnlyWithItsEnd()
    {
        const QByteArray whole = answer("G30", "+48601000310");
        QByteArray buffer;
        for (int i = 0; i < whole.size() - 1; ++i) {
            buffer += whole.at(i);
            QVERIFY2(!hasAnswerEnd(buffer), qPrintable(QString::number(i)));
        }
        buffer += whole.back();
        QVERIFY(hasAnswerEnd(buffer));
        QCOMPARE(answerPayload(buffer), QByteArray("+48601000310"));
    }

    void payloadEdgeCases()
    {
        QCOMPARE(answerPayload(""), QByteArray());
        QCOMPARE(answerPayload(")("), QByteArray()); // close before open
        QCOMPARE(answerPayload("(abc"), QByteArray());
        // A ")" inside a payload cuts it: nothing is escaped on this line.
        QCOMPARE(answerPayload(answer("G40", "AT(x)y")), QByteArray("AT(x"));
    }

    void serialNumberTakesTheLastOfSeveralAnswers()
    {
        QByteArray payload;
        QVERIFY(serialNumberPayload(answer("G00", "11111111") + answer("G00", "22222222"), &payload));
        QCOMPARE(payload, QByteArray("22222222"));

        // The first answer is complete but the last header is not yet: keep waiting.
        QVERIFY(!serialNumberPayload(answer("G00", "11111111") + SOH + "G00" + STX + "(2222", &payload));
        QVERIFY(!serialNumberPayload(readRequest("G00"), &payload));

        QVERIFY(serialNumberPayload(readRequest("G00") + answer("G00", ""), &payload));
        QCOMPARE(payload, QByteArray());
    }

    void identificationOfBothFamilies_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("family");
        QTest::addColumn<QByteArray>("version");
        QTest::newRow("mkv") << QByteArray("MKV-3/G02.00l GSM") << int(Family::MKV) << QByteArray("02.00l");
        QTest::newRow("mkv model field is not read") << QByteArray("MKV-1  01.12 x") << int(Family::MKV)
                                                     << QByteArray("01.12");
        QTest::newRow("rw5 gsm") << QByteArray("RW-5/GSM-v1.03 modem") << int(Family::RW5) << QByteArray("1.03");
        QTest::newRow("rw5 sms") << QByteArray("RW-5/SMS  7 ") << int(Family::RW5) << QByteArray("7");
        QTest::newRow("empty version") << QByteArray("MKV-3/G x") << int(Family::MKV) << QByteArray("");
    }

    void identificationOfBothFamilies()
    {
        QFETCH(QByteArray, payload);
        QFETCH(int, family);
        QFETCH(QByteArray, version);
        const Identification id = parseIdentification(answer("GE0", payload));
        QCOMPARE(int(id.family), family);
        QVERIFY(id.complete);
        QCOMPARE(id.versionText, version);
    }

    void identificationNeedsTheSpaceAfterTheVersion()
    {
        const Identification id = parseIdentification(answer("GE0", "MKV-3/G02.00l"));
        QCOMPARE(id.family, Family::MKV); // the family is known already
        QVERIFY(!id.complete);
    }

    void identificationNeedsTheAnswerEnd()
    {
        const Identification id = parseIdentification(SOH + QByteArray("GE0") + STX + "(MKV-3/G02.00l GSM");
        QCOMPARE(id.family, Family::None);
        QVERIFY(!id.complete);
    }

    void identificationPrefersMkvWhenBothArePresent()
    {
        const QByteArray buffer = answer("GE0", "RW-5/GSM-v1.03 a") + answer("GE0", "MKV-3/G01.15l b");
        const Identification id = parseIdentification(buffer);
        QCOMPARE(id.family, Family::MKV);
        QCOMPARE(id.versionText, QByteArray("01.15l"));
    }

    void identificationFindsTheAnswerBehindNoiseAndEcho()
    {
        const QByteArray buffer = "\x7f~#" + readRequest("GE0") + answer("GE0", "MKV-3/G01.12 GSM");
        const Identification id = parseIdentification(buffer);
        QVERIFY(id.complete);
        QCOMPARE(id.versionText, QByteArray("01.12"));
    }

    void unknownFamilyIsNotRecognised()
    {
        QCOMPARE(parseIdentification(answer("GE0", "RW-6/GSM-v1.0 x")).family, Family::None);
    }

    // A log can be mailed: in every split of the bytes, a secret's payload shows as "*"
    // up to its frame's end, whatever it holds; everything else shows as it came.
    void theLineLogHidesSecrets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a password with brackets") << answer("G90", "ab)cd]fg12")
                                                  << QStringLiteral("<SOH>G90<STX>(**********)<EOT>");
        QTest::newRow("a stray SOH inside a PIN") << answer("G20", "12\x01" "34")
                                                  << QStringLiteral("<SOH>G20<STX>(*****)<EOT>");
        QTest::newRow("an access code behind noise")
            << "\x7f" + answer("G10", "7315") << QStringLiteral("<7f><SOH>G10<STX>(****)<EOT>");
        QTest::newRow("no secret") << answer("G30", "+48601)") << QStringLiteral("<SOH>G30<STX>(+48601))<EOT>");
    }
    void theLineLogHidesSecrets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QTemporaryDir dir;
        for (int piece = 1; piece <= bytes.size(); ++piece) {
            LineLog log;
            QVERIFY(log.open(dir.filePath("l.log"), "COM 9"));
            for (int at = 0; at < bytes.size(); at += piece)
                log.received(bytes.mid(at, piece));
            log.sent(writeRequest(bytes.mid(bytes.indexOf(SOH) + 1, 3).replace('G', 'S'), bytes.mid(bytes.indexOf('(') + 1).chopped(2)));
            log.close("x");
            const QList<QByteArray> lines = readFile(dir.filePath("l.log")).replace("\r\n", "\n").split('\n');
            QVERIFY2(lines.size() > 5 && lines[3].endsWith("<- " + shown.toLatin1()), lines.value(3).constData());
            QString request = shown.mid(shown.indexOf("<SOH>")).replace("G", "S");
            request[request.indexOf('(')] = '[';
            request[request.lastIndexOf(')')] = ']';
            QVERIFY2(lines[4].endsWith("-> " + request.toLatin1()), lines[4].constData());
        }
    }

    void versionsCompareByteByByte()
    {
        QVERIFY(versionLess("01.12", "02.00"));
        QVERIFY(versionLess("01.11", "01.12"));
        QVERIFY(!versionLess("02.00", "02.00"));
        QVERIFY(!versionLess("2.0", "02.00")); // '2' > '0'
        QVERIFY(versionLess("02.0", "02.00")); // a prefix orders first
        QVERIFY(versionLess("", "01.12"));
        QVERIFY(!versionLess("\xff", "02.00")); // bytes are unsigned
    }
};

QTEST_APPLESS_MAIN(TestFrames)
#include "tst_frames.moc"
