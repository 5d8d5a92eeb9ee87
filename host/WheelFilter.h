#pragma once

#include "host/VsWidgetsGlobal.h"

#include <QObject>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// Keeps a wheel turned over a settings page from changing the box under the
// cursor while the user only means to scroll the page: a widget that does not
// have keyboard focus passes wheel events on to its parents (a QScrollArea
// around it then scrolls); a focused widget takes the wheel as usual.
class VS_WIDGETS_EXPORT WheelFilter : public QObject
{
    Q_OBJECT

public:
    explicit WheelFilter(QObject *parent);

    // Installs the filter on `widget` and keeps the wheel from giving it focus
    // (Qt::WheelFocus becomes Qt::StrongFocus); a widget with no wheel focus
    // keeps its policy.
    void watch(QWidget *widget);

    bool eventFilter(QObject *watched, QEvent *event) override;
};
