#include "PageState.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSaveFile>

namespace {

QJsonObject describeControl(const QWidget *window, const QWidget *w)
{
    QJsonObject control{{QStringLiteral("visible"), w->isVisibleTo(window)},
                        {QStringLiteral("enabled"), w->isEnabled()}};
    if (const auto *box = qobject_cast<const QComboBox *>(w)) {
        QJsonArray items;
        for (int i = 0; i < box->count(); ++i)
            items.append(box->itemText(i));
        control.insert(QStringLiteral("items"), items);
        control.insert(QStringLiteral("current"), box->currentText());
        control.insert(QStringLiteral("editable"), box->isEditable());
    } else if (const auto *list = qobject_cast<const QListWidget *>(w)) {
        QJsonArray items;
        for (int i = 0; i < list->count(); ++i)
            items.append(list->item(i)->text());
        control.insert(QStringLiteral("items"), items);
        control.insert(QStringLiteral("current"), list->currentRow());
    } else if (const auto *label = qobject_cast<const QLabel *>(w)) {
        control.insert(QStringLiteral("text"), label->text());
    } else if (const auto *edit = qobject_cast<const QLineEdit *>(w)) {
        control.insert(QStringLiteral("text"), edit->text());
        control.insert(QStringLiteral("editable"), !edit->isReadOnly());
    } else if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
        control.insert(QStringLiteral("text"), button->text());
    } else {
        return QJsonObject();
    }
    return control;
}

} // namespace

QJsonObject PageState::describe(const QWidget *window)
{
    QJsonObject state;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        // Qt's own inner widgets (a combo box's line edit, a scroll area's
        // viewport) are part of the control that owns them.
        QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        const QJsonObject control = describeControl(window, w);
        if (control.isEmpty())
            continue;
        for (int n = 2; state.contains(name); ++n)
            name = QStringLiteral("%1#%2").arg(w->objectName()).arg(n);
        state.insert(name, control);
    }
    return state;
}

bool PageState::save(const QWidget *window, const QString &file, QString *error)
{
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) &&
        out.write(QJsonDocument(describe(window)).toJson()) >= 0 && out.commit())
        return true;
    *error = tr("--page-state: could not write “%1”: %2").arg(file, out.errorString());
    return false;
}
