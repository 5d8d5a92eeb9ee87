#include "StyledPopup.h"

#include <QComboBox>
#include <QListView>

void setStyledPopup(QComboBox *box)
{
    auto *view = new QListView(box);
    view->setStyleSheet(
            QStringLiteral("QListView{background:black;}QListView::item{height:25px;}"));
    box->setView(view);
}
