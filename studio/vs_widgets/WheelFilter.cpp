#include "host/WheelFilter.h"

#include <QEvent>
#include <QWidget>

WheelFilter::WheelFilter(QObject *parent)
    : QObject(parent)
{ }

void WheelFilter::watch(QWidget *widget)
{
    // Qt hands focus to a WheelFocus widget before any filter sees the
    // wheel event, which would make the very first turn change the box.
    if (widget->focusPolicy() == Qt::WheelFocus)
        widget->setFocusPolicy(Qt::StrongFocus);
    widget->installEventFilter(this);
}

bool WheelFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Wheel || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    if (static_cast<QWidget *>(watched)->hasFocus())
        return false;
    // Filtered but not accepted: QApplication offers a wheel event the
    // receiver leaves unaccepted to the receiver's parents in turn.
    event->ignore();
    return true;
}
