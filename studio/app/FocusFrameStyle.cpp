#include "FocusFrameStyle.h"

#include <QPainter>
#include <QStyleOption>

void FocusFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                    QPainter *painter, const QWidget *widget) const
{
    // As Fusion: only once focus has moved by keyboard.
    if (element != PE_FrameFocusRect || !option->state.testFlag(State_KeyboardFocusChange)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setPen(QPen(option->palette.highlight().color(), 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}
