#pragma once

#include <QProxyStyle>

// Fusion with a focus frame that can be seen on a dark palette: Fusion draws
// it at a fifth of the highlight's strength, which all but vanishes there
// around a radio button or a list.
class FocusFrameStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};
