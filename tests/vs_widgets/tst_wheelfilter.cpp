#include "host/WheelFilter.h"

#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>

// A wheel turned over a settings page: a box without focus lets the page
// scroll and keeps its value; a focused box takes the wheel.
class tst_WheelFilter : public QObject
{
    Q_OBJECT

private slots:
    void wheelOverBox_data();
    void wheelOverBox();
};

void tst_WheelFilter::wheelOverBox_data()
{
    QTest::addColumn<Qt::FocusPolicy>("policy");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<Qt::FocusPolicy>("policyAfter"); // the wheel never gives focus
    QTest::newRow("without focus") << Qt::WheelFocus << false << Qt::StrongFocus;
    QTest::newRow("with focus") << Qt::WheelFocus << true << Qt::StrongFocus;
    QTest::newRow("takes no focus") << Qt::NoFocus << false << Qt::NoFocus;
}

// Guards against a wheel turn over a closed box changing a setting while the
// user only scrolls the page.
void tst_WheelFilter::wheelOverBox()
{
    QFETCH(Qt::FocusPolicy, policy);
    QFETCH(bool, focused);

    QScrollArea area;
    auto *box = new QComboBox;
    box->addItems(QString("0 1 2 3 4 5 6 7 8 9").split(' '));
    box->setCurrentIndex(5);
    box->setFocusPolicy(policy);
    box->setMinimumHeight(3000); // a page taller than the area, to scroll
    area.setWidget(box);
    area.resize(300, 200);
    (new WheelFilter(&area))->watch(box);
    QTEST(box->focusPolicy(), "policyAfter");
    area.show();
    area.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&area));
    QWidget *focus = focused ? static_cast<QWidget *>(box) : area.verticalScrollBar();
    focus->setFocus();
    QTRY_VERIFY(focus->hasFocus());

    // Spontaneous, as the window system delivers it: only then does Qt offer
    // an unaccepted wheel event to the parents.
    const QPoint pos(10, 10);
    QWheelEvent wheel(pos, box->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(box, &wheel);
    QCOMPARE(area.verticalScrollBar()->value() > 0, !focused);
    QCOMPARE(box->currentIndex(), focused ? 6 : 5);
    QCOMPARE(box->hasFocus(), focused);
}

QTEST_MAIN(tst_WheelFilter)
#include "tst_wheelfilter.moc"
