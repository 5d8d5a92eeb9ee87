#include "settings/StyledPopup.h"

#include <QComboBox>
#include <QListView>

void setStyledPopup(QComboBox *box)
{
    // Styled once it sits in the popup: styled before, the move into the
    // popup would polish it a second time.
    auto *view = new QListView(box);
    box->setView(view);
    view->setStyleSheet(
            QStringLiteral("QListView{background:black;}QListView::item{height:25px;}"));
}
