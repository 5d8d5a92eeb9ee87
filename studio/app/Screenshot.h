#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

// Saves what a shown top-level widget looks like as a PNG file. On a real
// display it takes the window's pixels from the screen once the window is
// exposed; on the offscreen platform, where there is no screen to read,
// it renders the widget.
class Screenshot
{
    Q_DECLARE_TR_FUNCTIONS(Screenshot)

public:
    static bool save(QWidget *window, const QString &file, QString *error);
};
