// The studio host's entry point: what must happen before Qt starts, then
// one run of the studio (StudioMain).

#include "StandardStreams.h"
#include "StudioMain.h"

#include <QApplication>

namespace {

// Qt's offscreen platform warns about features it lacks on every dialog,
// and QStandardPaths about a missing runtime folder; neither concerns the
// person running the studio, so those two are dropped and the rest kept.
QtMessageHandler qtHandler = nullptr;

void filterMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg &&
        (message.startsWith(QLatin1String("This plugin does not support")) ||
         message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))))
        return;
    qtHandler(type, context, message);
}

// Without any display the studio still runs its batch work, offscreen.
bool fallBackWithoutDisplay()
{
    const bool none = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (none)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return none;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool outputOpen = StandardStreams::guard();
    qtHandler = qInstallMessageHandler(filterMessages);
    const bool fellBack = fallBackWithoutDisplay();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("uis-studio"));
    return StudioMain(outputOpen, fellBack).exec();
}
