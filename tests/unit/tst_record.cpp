#include "ConfigurationFile.h"
#include "IntegerText.h"
#include "Journal.h"
#include "TUstawienie.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

namespace {
// RFC 4180 with ";", written apart from the journal's writer: rows of fields.
QList<QStringList> readCsv(const QString &text)
{
    QList<QStringList> rows{{}};
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QString next = text.mid(i + 1, 1);
        if (quoted && c == '"' && next == "\"") {
            field += text[++i];
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ';' || (c == '\r' && next == "\n"))) {
            rows.last() << std::exchange(field, QString());
            if (c == '\r')
                rows << QStringList(), ++i;
        } else {
            field += c;
        }
    }
    rows.removeLast(); // after the last CRLF
    return rows;
}

// A file image written straight from the offset table, without the record type.
class Image {
public:
    Image() : bytes(523, '\0') {}
    void str(int offset, int capacity, const QByteArray &value)
    {
        QVERIFY(value.size() <= capacity);
        bytes[offset] = char(value.size());
        bytes.replace(offset + 1, value.size(), value);
    }
    void byte(int offset, int value) { bytes[offset] = char(value); }
    QByteArray bytes;
};

TUstawienie distinctRecord()
{
    TUstawienie r = emptyConfiguration();
    r.Identyfikator.setText("40012345");
    r.Pin.setText("12345678");
    r.Centrum.setText("+48601000310");
    r.AccessCode.setText("7315");
    r.MeterPassword.setText("hasło     ");
    r.Harmonogram_rodzaj = 1;
    r.Harmonogram_dzien = 28;
    r.Harmonogram_godzina = 23;
    r.Harmonogram_minuta = 59;
    for (int n = 0; n < 4; ++n)
        r.Modem[n].setText(QStringLiteral("AT+CMD%1").arg(n + 1));
    for (int n = 0; n < 16; ++n) {
        r.Telefony[n].setText(QStringLiteral("+486010000%1").arg(n, 2, 10, QLatin1Char('0')));
        r.S[n] = n % 2 == 0;
        r.C[n] = n % 3 == 0;
        r.L[n] = n % 5 == 0;
    }
    r.AllNumbers = true;
    return r;
}

Image distinctImage()
{
    Image im;
    im.str(0, 8, "40012345");
    im.str(9, 8, "12345678");
    im.str(18, 15, "+48601000310");
    im.str(34, 4, "7315");
    im.str(39, 10, "has\xb3o     ");
    im.byte(50, 1);
    im.byte(51, 28);
    im.byte(52, 23);
    im.byte(53, 59);
    for (int n = 0; n < 4; ++n)
        im.str(54 + 41 * n, 40, "AT+CMD" + QByteArray::number(n + 1));
    for (int n = 0; n < 16; ++n) {
        im.str(218 + 16 * n, 15, "+486010000" + QByteArray::number(n).rightJustified(2, '0'));
        im.byte(474 + n, n % 2 == 0);
        im.byte(490 + n, n % 3 == 0);
        im.byte(506 + n, n % 5 == 0);
    }
    im.byte(522, 1);
    return im;
}
} // namespace

class TestRecord : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

private slots:
    // Rows come back whole, from several writers at once; the mark and the header come
    // once; a row that cannot be written waits for the next append that can.
    void theJournalKeepsEveryRowWhole()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("teczka"), "a file where the folder should be");
        Journal::Entry e;
        e.start = QDateTime::currentDateTime();
        e.file = QStringLiteral("wzór; \"nowy\"\r\nłącze.qovsms");
        e.result = QStringLiteral("Błąd: ;\"");
        e.port = QStringLiteral("COM 9; sonda 2"); // a ";" alone must be quoted too
        Journal waiting(dir.filePath("teczka/dziennik.csv"));
        QVERIFY(!waiting.append(e) && !waiting.errorString().isEmpty());
        QFile::remove(dir.filePath("teczka"));
        QVERIFY(waiting.append(e)); // and the one before it
        std::vector<std::thread> writers;
        for (int t = 0; t < 4; ++t)
            writers.emplace_back([&] {
                Journal j(dir.filePath("teczka/dziennik.csv"));
                for (int i = 0; i < 10; ++i)
                    QVERIFY(j.append(e));
            });
        for (std::thread &w : writers)
            w.join();
        const QByteArray bytes = readFile(dir.filePath("teczka/dziennik.csv"));
        QVERIFY(bytes.startsWith("\xef\xbb\xbf") && bytes.lastIndexOf("\xef\xbb\xbf") == 0);
        const QList<QStringList> rows = readCsv(QString::fromUtf8(bytes.mid(3)));
        QCOMPARE(rows.size(), 1 + 2 + 40);
        QCOMPARE(rows.first(), Journal::header());
        for (const QStringList &row : rows.mid(1))
            QVERIFY(row == e.fields());
    }

    void savedFileMatchesTheOffsetTable()
    {
        const QString path = dir.filePath("golden.qovsms");
        QString error;
        QVERIFY2(ConfigurationFile::save(path, distinctRecord(), &error), qPrintable(error));
        QCOMPARE(readFile(path), distinctImage().bytes);
    }

    void loadingTheImageGivesEveryField()
    {
        const QString path = dir.filePath("image.qovsms");
        writeFile(path, distinctImage().bytes);
        TUstawienie r = emptyConfiguration();
        QCOMPARE(ConfigurationFile::load(path, r), ConfigurationFile::LoadResult::Loaded);
        const TUstawienie expected = distinctRecord();
        QCOMPARE(r.Identyfikator.text(), QStringLiteral("40012345"));
        QCOMPARE(r.Pin.text(), QStringLiteral("12345678"));
        QCOMPARE(r.Centrum.text(), QStringLiteral("+48601000310"));
        QCOMPARE(r.AccessCode.text(), QStringLiteral("7315"));
        QCOMPARE(r.MeterPassword.text(), QStringLiteral("hasło     "));
        QCOMPARE(int(r.Harmonogram_rodzaj), 1);
        QCOMPARE(int(r.Harmonogram_dzien), 28);
        QCOMPARE(int(r.Harmonogram_godzina), 23);
        QCOMPARE(int(r.Harmonogram_minuta), 59);
        for (int n = 0; n < 4; ++n)
            QCOMPARE(r.Modem[n].text(), expected.Modem[n].text());
        for (int n = 0; n < 16; ++n) {
            QCOMPARE(r.Telefony[n].text(), expected.Telefony[n].text());
            QCOMPARE(bool(r.S[n]), bool(expected.S[n]));
            QCOMPARE(bool(r.C[n]), bool(expected.C[n]));
            QCOMPARE(bool(r.L[n]), bool(expected.L[n]));
        }
        QVERIFY(r.AllNumbers);
    }

    void zeroFileIsAnEmptyConfiguration()
    {
        TUstawienie r = distinctRecord();
        QVERIFY(ConfigurationFile::fromBytes(QByteArray(523, '\0'), r));
        QVERIFY(r.Identyfikator.isEmpty() && r.Pin.isEmpty() && r.Centrum.isEmpty());
        QVERIFY(r.AccessCode.isEmpty() && r.MeterPassword.isEmpty());
        QCOMPARE(int(r.Harmonogram_rodzaj), 0);
        for (int n = 0; n < 16; ++n)
            QVERIFY(r.Telefony[n].isEmpty() && !r.S[n] && !r.C[n] && !r.L[n]);
        QVERIFY(!r.AllNumbers);
    }

    void aShortFileIsRefusedAndChangesNothing()
    {
        const QString path = dir.filePath("short.qovsms");
        writeFile(path, QByteArray(522, '\x07'));
        TUstawienie r = distinctRecord();
        QCOMPARE(ConfigurationFile::load(path, r), ConfigurationFile::LoadResult::TooShort);
        QCOMPARE(ConfigurationFile::toBytes(r), distinctImage().bytes);

        writeFile(path, QByteArray());
        QCOMPARE(ConfigurationFile::load(path, r), ConfigurationFile::LoadResult::TooShort);
        QCOMPARE(ConfigurationFile::toBytes(r), distinctImage().bytes);
    }

    void aLongFileGivesItsFirst523Bytes()
    {
        const QString path = dir.filePath("long.qovsms");
        writeFile(path, distinctImage().bytes + QByteArray(77, '\xff'));
        TUstawienie r = emptyConfiguration();
        QCOMPARE(ConfigurationFile::load(path, r), ConfigurationFile::LoadResult::Loaded);
        const QString again = dir.filePath("again.qovsms");
        QVERIFY(ConfigurationFile::save(again, r));
        QCOMPARE(readFile(again), distinctImage().bytes);
    }

    void aMissingFileSaysWhy()
    {
        TUstawienie r = distinctRecord();
        QString error;
        QCOMPARE(ConfigurationFile::load(dir.filePath("none.qovsms"), r, &error),
                 ConfigurationFile::LoadResult::CannotOpen);
        QVERIFY(!error.isEmpty());
        QCOMPARE(ConfigurationFile::toBytes(r), distinctImage().bytes);
    }

    void aFailedSaveKeepsThePreviousFile()
    {
        QTemporaryDir target;
        const QString path = target.filePath("keep.qovsms");
        writeFile(path, distinctImage().bytes);
        QFile::setPermissions(target.path(), QFile::ReadOwner | QFile::ExeOwner);
        QString error;
        const bool saved = ConfigurationFile::save(path, emptyConfiguration(), &error);
        QFile::setPermissions(target.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (saved)
            QSKIP("running as root: a read-only folder does not stop us");
        QVERIFY(!error.isEmpty());
        QCOMPARE(readFile(path), distinctImage().bytes);
    }

    void aSaveIntoAMissingFolderFailsWithAReason()
    {
        QString error;
        QVERIFY(!ConfigurationFile::save(dir.filePath("no/such/folder/x.qovsms"), distinctRecord(), &error));
        QVERIFY(!error.isEmpty());
    }

    void oversizedLengthBytesAreClampedToTheField()
    {
        // Every length byte 255: each value stops at its own field's end.
        QByteArray bytes = distinctImage().bytes;
        for (int offset : {0, 9, 18, 34, 39, 54, 95, 136, 177})
            bytes[offset] = char(255);
        for (int n = 0; n < 16; ++n)
            bytes[218 + 16 * n] = char(255);
        TUstawienie r = emptyConfiguration();
        QVERIFY(ConfigurationFile::fromBytes(bytes, r));
        QCOMPARE(r.Identyfikator.bytes(), bytes.mid(1, 8));
        QCOMPARE(r.AccessCode.bytes(), bytes.mid(35, 4));
        QCOMPARE(r.MeterPassword.bytes(), bytes.mid(40, 10));
        QCOMPARE(r.Modem[3].bytes(), bytes.mid(178, 40));
        QCOMPARE(r.Telefony[15].bytes(), bytes.mid(459, 15));
        QCOMPARE(r.Telefony[15].size(), 15);
        QCOMPARE(r.Centrum.text().size(), 15);
        QCOMPARE(r.Pin.bytes(), bytes.mid(10, 8));
    }

    void aShorterValueKeepsTheTailAndTheLengthDecides()
    {
        TUstawienie r = emptyConfiguration();
        r.Pin.setText("12345678");
        r.Pin.setText("99");
        QCOMPARE(r.Pin.text(), QStringLiteral("99"));
        QCOMPARE(QByteArray(r.Pin.chars, 8), QByteArray("99345678"));
        r.Modem[0].setText(QString(50, QLatin1Char('x')));
        QCOMPARE(r.Modem[0].size(), 40);
        QCOMPARE(r.Modem[1].size(), 0); // nothing ran over into the next field
    }

    void booleansReadAnyNonZeroAsTrue()
    {
        QByteArray bytes(523, '\0');
        bytes[474] = char(0x80);
        bytes[522] = char(2);
        TUstawienie r = emptyConfiguration();
        QVERIFY(ConfigurationFile::fromBytes(bytes, r));
        QVERIFY(r.S[0]);
        QVERIFY(r.AllNumbers);
        r.AllNumbers = true;
        QCOMPARE(ConfigurationFile::toBytes(r).at(522), '\x01');
    }

    void polishLettersRoundTripThroughTheCodePage()
    {
        TUstawienie r = emptyConfiguration();
        r.MeterPassword.setText(QStringLiteral("Żółć"));
        QCOMPARE(r.MeterPassword.bytes(), QByteArray("\xaf\xf3\xb3\xe6"));
        QCOMPARE(r.MeterPassword.text(), QStringLiteral("Żółć"));
        r.MeterPassword.setText(QStringLiteral("a€b✓c"));
        QCOMPARE(r.MeterPassword.text(), QStringLiteral("a€b?c")); // € is in the code page, ✓ is not
        r.MeterPassword.setText(QStringLiteral("😀x"));
        QCOMPARE(r.MeterPassword.text(), QStringLiteral("?x"));
        // The bytes the code page leaves undefined read as their C1 controls on every
        // system and come back as they were; so do their neighbours.
        r.MeterPassword.setBytes("\x81\x83\x88\x90\x98\xa0\x80\x9f");
        QCOMPARE(r.MeterPassword.text(), QStringLiteral("\u0081\u0083\u0088\u0090\u0098\u00a0\u20ac\u017a"));
        r.MeterPassword.setText(r.MeterPassword.text());
        QCOMPARE(r.MeterPassword.bytes(), QByteArray("\x81\x83\x88\x90\x98\xa0\x80\x9f"));
        r.MeterPassword.setText(QStringLiteral("\u0080\uFFFD"));
        QCOMPARE(r.MeterPassword.bytes(), QByteArray("??"));
    }

    void phoneNumbersCarryThePrefix()
    {
        TUstawienie r = emptyConfiguration();
        storePhoneNumber(r.Telefony[0], "601234567");
        QCOMPARE(r.Telefony[0].text(), QStringLiteral("+48601234567"));
        storePhoneNumber(r.Telefony[1], "6012345678901234");
        QCOMPARE(r.Telefony[1].text(), QStringLiteral("+48601234567890")); // cut to 15
        QCOMPARE(shownPhoneNumber(r.Telefony[1]), QStringLiteral("601234567890"));
        r.Telefony[2].setText("0048601234567"); // whatever the first three characters are
        QCOMPARE(shownPhoneNumber(r.Telefony[2]), QStringLiteral("8601234567"));
        QCOMPARE(shownPhoneNumber(r.Telefony[3]), QString());
        QCOMPARE(NumberLength, 9);
        QCOMPARE(SuffixLength, 12);
    }

    void integerTexts()
    {
        using namespace IntegerText;
        QCOMPARE(lenient(u" 5"), std::optional<qint32>(5));
        QCOMPARE(lenient(u"+7"), std::optional<qint32>(7));
        QCOMPARE(lenient(u"-1"), std::optional<qint32>(-1));
        QCOMPARE(lenient(u"5 "), std::nullopt);
        QCOMPARE(lenient(u"  "), std::nullopt);
        QCOMPARE(lenient(u"0x1"), std::nullopt);
        QCOMPARE(signedDecimal(u" 5"), std::nullopt);
        QCOMPARE(signedDecimal(u"-2147483648"), std::optional<qint32>(-2147483647 - 1));
        QCOMPARE(signedDecimal(u"2147483648"), std::nullopt);
        QCOMPARE(signedDecimal(u"99999999999999999999"), std::nullopt);
        QCOMPARE(signedDecimal(u"+"), std::nullopt);
        QVERIFY(isDigits(u"0123"));
        QVERIFY(!isDigits(u"+123"));
        QVERIFY(!isDigits(u"-123"));
        QVERIFY(!isDigits(u""));
        QVERIFY(!isDigits(u"١٢")); // other scripts' digits are not ours
    }
};

QTEST_APPLESS_MAIN(TestRecord)
#include "tst_record.moc"
