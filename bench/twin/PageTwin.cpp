// The yardstick for the studio's settings dialog: the same dialog, style and
// Device page, built from the project's own forms, with nothing the
// plug-in and the stand-in peers add (no plug-in file, no stores, no
// address scan). It does what `studio --settings --dump` does around the
// dialog: show it on the Device page, process the pending events, close.
//
//   uis_bench_page_twin [--address TEXT]... [--screenshot FILE]
//
// The addresses are the ones the studio's page lists on this machine; with
// them the two screenshots must be identical.
#include "TwinPage.h"

#include "Screenshot.h"
#include "SettingsDialog.h"
#include "StudioStyle.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// Named as the studio's own step, so that one callgrind pattern
// (*runDialog*) counts the same span in both programs.
Q_NEVER_INLINE int runDialog(const QStringList &addresses, const QString &screenshot)
{
    SettingsDialog dialog({std::make_shared<TwinPage>(addresses)});
    dialog.setMessageBoxesEnabled(false);
    dialog.setDeviceActive(false);
    dialog.selectPage("Device");
    dialog.show();
    QCoreApplication::processEvents();
    QString error;
    const bool saved = screenshot.isEmpty() || Screenshot::save(&dialog, screenshot, &error);
    if (!saved)
        std::fprintf(stderr, "uis_bench_page_twin: %s\n", error.toLocal8Bit().constData());
    dialog.done(QDialog::Accepted);
    return saved ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("uis-studio"));
    StudioStyle::apply();
    QStringList addresses;
    QString screenshot;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--address") == 0)
            addresses << QString::fromLocal8Bit(argv[i + 1]);
        else if (std::strcmp(argv[i], "--screenshot") == 0)
            screenshot = QString::fromLocal8Bit(argv[i + 1]);
    }
    return runDialog(addresses, screenshot);
}
