#include "settings/FrameRateTables.h"

#include <QtTest>

#include <algorithm>

class tst_FrameRateTables : public QObject
{
    Q_OBJECT

private slots:
    void timecodeRates_data();
    void timecodeRates();
    void everyDeviceRateHasTimecodeRates();
    void listsKeepTheirOrder();
};

// Guards the capture-rate to timecode-rate table: content, order, misses.
void tst_FrameRateTables::timecodeRates_data()
{
    QTest::addColumn<int>("fps");
    QTest::addColumn<QVector<int>>("allowed"); // empty: not a key
    QTest::newRow("50") << 50 << QVector<int>{25};
    QTest::newRow("60") << 60 << QVector<int>{30};
    QTest::newRow("90") << 90 << QVector<int>{30};
    QTest::newRow("96") << 96 << QVector<int>{24};
    QTest::newRow("100") << 100 << QVector<int>{25};
    QTest::newRow("120: 24 before 30") << 120 << QVector<int>{24, 30};
    QTest::newRow("240: 24 before 30") << 240 << QVector<int>{24, 30};
    QTest::newRow("200, in no device list") << 200 << QVector<int>{25};
    QTest::newRow("30 is no capture rate") << 30 << QVector<int>{};
    QTest::newRow("0") << 0 << QVector<int>{};
    QTest::newRow("negative") << -96 << QVector<int>{};
}

void tst_FrameRateTables::timecodeRates()
{
    QFETCH(int, fps);
    QFETCH(QVector<int>, allowed);
    const auto it = kFpsTimecodeRates.find(fps);
    if (allowed.isEmpty()) {
        QVERIFY(it == kFpsTimecodeRates.end());
        return;
    }
    QVERIFY(it != kFpsTimecodeRates.end());
    QCOMPARE(QVector<int>(it->second.begin(), it->second.end()), allowed);
}

// Guards against a device rate whose timecode list would come up empty.
void tst_FrameRateTables::everyDeviceRateHasTimecodeRates()
{
    QCOMPARE(kFpsTimecodeRates.size(), size_t(8));
    for (int fps : kUniFpsList + kHybridFpsList)
        QVERIFY2(kFpsTimecodeRates.count(fps), qPrintable(QString::number(fps)));
    QVERIFY(!kUniFpsList.contains(200) && !kHybridFpsList.contains(200));
}

// Guards the positions the forms' combo items stand for.
void tst_FrameRateTables::listsKeepTheirOrder()
{
    QCOMPARE(kUniFpsList, (QVector<int>{50, 60, 90, 96, 100, 120, 240}));
    QCOMPARE(kHybridFpsList, (QVector<int>{60, 90, 96, 100, 120, 240}));
}

QTEST_GUILESS_MAIN(tst_FrameRateTables)
#include "tst_frameratetables.moc"
