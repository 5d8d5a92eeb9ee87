#include "studio/vs_widgets/WheelFilter.h"

#include <QApplication>
#include <QComboBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>

class tst_WheelFilter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void wheelOverBox_data();
    void wheelOverBox();
    void policiesAndOtherEvents();

private:
    // A wheel turn as the window system delivers it: spontaneous, so that
    // QApplication offers an unaccepted event to the parents.
    void turnWheel(QWidget *target, int steps);

    std::unique_ptr<QScrollArea> area;
    QComboBox *box = nullptr;
    QWidget *other = nullptr;
};

void tst_WheelFilter::init()
{
    area = std::make_unique<QScrollArea>();
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    box = new QComboBox(content);
    for (int i = 0; i < 10; ++i)
        box->addItem(QString::number(i));
    box->setCurrentIndex(5);
    other = new QWidget(content);
    other->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(box);
    layout->addWidget(other);
    layout->addSpacing(3000);
    area->setWidget(content);
    area->resize(300, 200);
    auto *filter = new WheelFilter(area.get());
    filter->watch(box);
    area->show();
    area->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(area.get()));
}

void tst_WheelFilter::cleanup() { area.reset(); }

void tst_WheelFilter::turnWheel(QWidget *target, int steps)
{
    const QPoint pos = target->rect().center();
    QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, -120 * steps),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(target, &event);
}

// Guards the point of the filter: without focus the page scrolls and the
// box keeps its value; with focus the box takes the wheel.
void tst_WheelFilter::wheelOverBox_data()
{
    QTest::addColumn<bool>("focused");
    QTest::addColumn<bool>("scrolls");
    QTest::addColumn<int>("index");
    QTest::newRow("without focus") << false << true << 5;
    QTest::newRow("with focus") << true << false << 6;
}

void tst_WheelFilter::wheelOverBox()
{
    QFETCH(bool, focused);
    QFETCH(bool, scrolls);
    QFETCH(int, index);

    if (focused) {
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
    } else {
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
    }
    QScrollBar *bar = area->verticalScrollBar();
    QCOMPARE(bar->value(), 0);

    turnWheel(box, 1);
    QCOMPARE(bar->value() > 0, scrolls);
    QCOMPARE(box->currentIndex(), index);
    QCOMPARE(box->hasFocus(), focused); // the wheel gives no focus
}

// Guards installing: the wheel may no longer take focus, a box that takes
// no focus at all keeps that, and other events pass untouched.
void tst_WheelFilter::policiesAndOtherEvents()
{
    QCOMPARE(box->focusPolicy(), Qt::StrongFocus);
    QComboBox noFocus;
    noFocus.setFocusPolicy(Qt::NoFocus);
    WheelFilter filter(&noFocus);
    filter.watch(&noFocus);
    QCOMPARE(noFocus.focusPolicy(), Qt::NoFocus);

    QKeyEvent key(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QVERIFY(!filter.eventFilter(&noFocus, &key));
    QWheelEvent wheel(QPointF(), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QVERIFY(filter.eventFilter(&noFocus, &wheel));
    QVERIFY(!wheel.isAccepted());
    QVERIFY(!filter.eventFilter(&filter, &wheel)); // not a widget
}

QTEST_MAIN(tst_WheelFilter)
#include "tst_wheelfilter.moc"
