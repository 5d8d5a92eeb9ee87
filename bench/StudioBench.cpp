// The studio host from process start to its settings dialog shown on the
// offscreen platform: `studio --settings --screenshot FILE --config DIR`,
// timed from QProcess::start to the process's exit (the screenshot is taken
// once the dialog is shown, then the studio quits).
#include <benchmark/benchmark.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <chrono>

namespace {

void studioToSettings(benchmark::State &state)
{
#ifdef UIS_STUDIO
    QTemporaryDir config;
    const QString shot = config.filePath(QStringLiteral("settings.png"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (auto _ : state) {
        QProcess studio;
        studio.setProcessEnvironment(env);
        studio.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const auto start = std::chrono::steady_clock::now();
        studio.start(QStringLiteral(UIS_STUDIO),
                     {QStringLiteral("--settings"), QStringLiteral("--screenshot"), shot,
                      QStringLiteral("--config"), config.path()});
        const bool finished = studio.waitForFinished(30000);
        state.SetIterationTime(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!finished || studio.exitStatus() != QProcess::NormalExit || studio.exitCode() != 0) {
            state.SkipWithError("studio did not start and quit cleanly");
            break;
        }
    }
#else
    state.SkipWithError("the studio is not part of this build");
    for (auto _ : state) { }
#endif
}
BENCHMARK(studioToSettings)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(7)
        ->Unit(benchmark::kMillisecond);

} // namespace
