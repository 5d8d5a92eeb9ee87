#include "settings/FrameRateTables.h"

#include <QtTest>

class tst_FrameRateTables : public QObject
{
    Q_OBJECT

private slots:
    void everyDeviceRateHasTimecodeRates();
};

// Guards against a capture rate offered by either form whose timecode list
// would come up empty (the page would then offer no timecode at all).
void tst_FrameRateTables::everyDeviceRateHasTimecodeRates()
{
    for (int fps : kUniFpsList + kHybridFpsList) {
        const auto it = kFpsTimecodeRates.find(fps);
        QVERIFY2(it != kFpsTimecodeRates.end() && !it->second.empty(),
                 qPrintable(QString::number(fps)));
    }
}

QTEST_GUILESS_MAIN(tst_FrameRateTables)
#include "tst_frameratetables.moc"
