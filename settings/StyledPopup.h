#pragma once

#include <QtGlobal>

QT_BEGIN_NAMESPACE
class QComboBox;
QT_END_NAMESPACE

// Gives `box` a list view of its own as popup, in the settings dialog's
// dark style with 25-pixel rows.
void setStyledPopup(QComboBox *box);
