#include "EditorRules.h"

#include <QTest>

using namespace EditorRules;

class TestEditorRules : public QObject {
    Q_OBJECT
private slots:
    void keyFilters()
    {
        QCOMPARE(filterKey(KeySet::Digits, u'7'), u'7');
        QCOMPARE(filterKey(KeySet::Digits, 8), char16_t(8));
        for (char16_t c : {u'a', u'+', u' ', u'-', char16_t(13), char16_t(0x663) /* Arabic-Indic 3 */})
            QCOMPARE(filterKey(KeySet::Digits, c), char16_t(0));

        for (char16_t c : {u'\u00f3' /* ó, code 243 */, u')', u']', char16_t(127), char16_t(255)})
            QCOMPARE(filterKey(KeySet::MeterPassword, c), u' '); // the line carries 32 to 126, an answer ends at ")"
        QCOMPARE(filterKey(KeySet::MeterPassword, u'~'), u'~');
        QCOMPARE(filterKey(KeySet::MeterPassword, u'\u0142'), u' ');      // ł, code 322
        QCOMPARE(filterKey(KeySet::MeterPassword, char16_t(13)), u' ');   // Enter
        QCOMPARE(filterKey(KeySet::MeterPassword, char16_t(8)), char16_t(8));

        QCOMPARE(filterKey(KeySet::Unfiltered, u'x'), u'x');
        QCOMPARE(filterKey(KeySet::Unfiltered, u'\u0142'), char16_t(0)); // above 255: always refused
    }

    void dayOnLeaving_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("day");
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("00") << "00" << 1;
        QTest::newRow("07") << "07" << 7;
        QTest::newRow("29") << "29" << 29;
        QTest::newRow("31") << "31" << 31;
        QTest::newRow("32") << "32" << 28;
        QTest::newRow("99") << "99" << 28;
        QTest::newRow("pasted text") << "x1" << 1;
        QTest::newRow("pasted sign") << "+5" << 5;
        QTest::newRow("huge") << "99999999999" << 1;
    }

    void dayOnLeaving()
    {
        QFETCH(QString, typed);
        QFETCH(int, day);
        QCOMPARE(dayOnExit(typed), day);
    }

    void timeValuesAndSteps()
    {
        QCOMPARE(timeValue("7", kMaxHour), 7);
        QCOMPARE(timeText(timeValue("7", kMaxHour)), QStringLiteral("07"));
        QCOMPARE(timeValue("24", kMaxHour), 0);
        QCOMPARE(timeValue("60", kMaxMinute), 0);
        QCOMPARE(timeValue("", kMaxMinute), 0);
        QCOMPARE(timeValue("ab", kMaxMinute), 0);
        QCOMPARE(timeValue("-5", kMaxMinute), 0);
        QCOMPARE(stepUp(23, kMaxHour), 0);
        QCOMPARE(stepDown(0, kMaxHour), 23);
        QCOMPARE(stepUp(59, kMaxMinute), 0);
        QCOMPARE(stepDown(0, kMaxMinute), 59);
        QCOMPARE(stepUp(timeValue("x", kMaxMinute), kMaxMinute), 1);
    }
};

QTEST_APPLESS_MAIN(TestEditorRules)
#include "tst_editorrules.moc"
