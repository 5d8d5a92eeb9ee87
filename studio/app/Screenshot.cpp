#include "Screenshot.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>

namespace {

// Gives the window system time to map and paint the window, without
// blocking forever when it never does.
void waitUntilExposed(QWidget *window)
{
    QDeadlineTimer deadline(5000);
    QWindow *handle = window->windowHandle();
    while (handle && !handle->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    // A few more rounds so the first paint reaches the screen.
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

} // namespace

bool Screenshot::save(QWidget *window, const QString &file, QString *error)
{
    QPixmap pixmap;
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        waitUntilExposed(window);
        if (QScreen *screen = window->screen())
            pixmap = screen->grabWindow(window->winId());
    } else {
        QCoreApplication::processEvents();
    }
    if (pixmap.isNull())
        pixmap = window->grab();
    if (pixmap.isNull()) {
        *error = tr("could not capture the window");
        return false;
    }
    // Through a QSaveFile, which says why a write failed, and leaves no
    // half-written file behind.
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && pixmap.save(&out, "PNG") && out.commit())
        return true;
    *error = tr("could not write the screenshot to “%1”: %2")
                     .arg(QDir::toNativeSeparators(file), out.errorString());
    return false;
}
