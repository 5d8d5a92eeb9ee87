#include "FuzzTargets.h"

#include <QApplication>

void fuzzInitialize(int *argc, char ***argv)
{
    if (QCoreApplication::instance())
        return;
    // The page's widgets need a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives for the process: libFuzzer never returns to main's caller.
    new QApplication(*argc, *argv);
}
