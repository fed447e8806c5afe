#include "FakePortSource.h"
#include "PortListBox.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

class TestPortList : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakePortSource::Names> names;
    std::unique_ptr<FakePortSource> source;
    std::unique_ptr<QComboBox> list;
    PortNaming naming;

    QStringList entries() const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->itemText(i);
        return out;
    }
    void refresh(bool detect) { PortList::refresh(list.get(), detect, *source, naming); }

private slots:
    void init()
    {
        names = std::make_shared<FakePortSource::Names>();
        source = std::make_unique<FakePortSource>(names);
        list = std::make_unique<QComboBox>();
    }

    void parsingNames_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("detected");
        QTest::addColumn<QList<int>>("numbers");
        QTest::newRow("sorted numerically") << QStringList{"COM3", "COM10", "COM1"} << true << QList<int>{1, 3, 10};
        QTest::newRow("a name that is not a number") << QStringList{"COM3", "COM3A"} << false << QList<int>{};
        QTest::newRow("no COM names") << QStringList{"LPT1", "com4"} << true << QList<int>{};
        QTest::newRow("duplicates kept") << QStringList{"COM5", "COM2", "COM5"} << true << QList<int>{2, 5, 5};
        QTest::newRow("first COM removed") << QStringList{"\\Device\\COM7"} << false << QList<int>{};
    }

    void parsingNames()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, detected);
        QFETCH(QList<int>, numbers);
        const auto parsed = PortList::parse(names);
        QCOMPARE(bool(parsed), detected);
        if (parsed)
            QCOMPARE(*parsed, numbers);
    }

    void detectedListAndItsFallbacks()
    {
        names->value = QStringList{"COM3", "COM10", "COM1"};
        refresh(true);
        QCOMPARE(entries(), (QStringList{"COM 1", "COM 3", "COM 10"}));
        QCOMPARE(list->currentText(), QStringLiteral("COM 1"));
        QCOMPARE(list->itemData(1, Qt::ToolTipRole).toString(), PortNaming().devicePath(3));

        names->value = QStringList{"COM3A"};
        refresh(true);
        QCOMPARE(entries(), PortList::fixedEntries());

        names->value = std::nullopt; // no key
        list->clear();
        refresh(true);
        QCOMPARE(entries().size(), 16);

        names->value = QStringList{"LPT1"};
        refresh(true);
        QVERIFY(entries().isEmpty());
        QCOMPARE(list->currentIndex(), -1);

        names->value = QStringList{"COM4", "COM4"};
        refresh(true);
        QCOMPARE(entries(), (QStringList{"COM 4", "COM 4"}));
    }

    void theSelectionIsKept()
    {
        names->value = QStringList{"COM1", "COM3", "COM5"};
        refresh(true);
        list->setCurrentIndex(1);
        refresh(false); // detection off: the fixed list, COM 3 still chosen
        QCOMPARE(list->count(), 16);
        QCOMPARE(list->currentText(), QStringLiteral("COM 3"));
        names->value = QStringList{"COM5", "COM1"};
        refresh(true); // COM 3 is gone: the first entry
        QCOMPARE(list->currentText(), QStringLiteral("COM 1"));

        list->setCurrentIndex(1);
        QSignalSpy changed(list.get(), &QComboBox::currentIndexChanged);
        refresh(true); // unchanged ports: nothing changes at all
        QCOMPARE(changed.count(), 0);
        QCOMPARE(list->currentText(), QStringLiteral("COM 5"));
    }
};

QTEST_MAIN(TestPortList)
#include "tst_portlist.moc"
