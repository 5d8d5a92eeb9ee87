#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

class QWidget;

// What a person sees of a window's controls, as JSON: per named control
// its kind, text or items and current item, and whether it is visible,
// enabled and editable. Lets a run on one system be compared with a run on
// another, control by control, where screenshots differ in every pixel.
class PageState
{
    Q_DECLARE_TR_FUNCTIONS(PageState)

public:
    static QJsonObject describe(const QWidget *window);
    static bool save(const QWidget *window, const QString &file, QString *error);
};
