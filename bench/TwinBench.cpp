#include "TwinBench.h"

#include "BenchTable.h"
#include "Callgrind.h"
#include "ChildProcess.h"
#include "wmi/MachineInfo.h"

#include <fstream>
#include <iterator>
#include <map>

#include <stdlib.h>

namespace {

const int kSamples = 15;

// The peak resident size of `command`, through GNU time: wait4's own figure
// for a child spawned from this process starts at this process's size (the
// child shares this memory until it runs the program), which hides both.
double peakBytes(const std::vector<std::string> &command, const std::string &report)
{
    std::vector<std::string> arguments{"-f", "%M", "-o", report};
    arguments.insert(arguments.end(), command.begin(), command.end());
    if (!ChildProcess::run("/usr/bin/time", arguments).ok)
        return -1;
    std::ifstream file(report);
    double kibibytes = -1;
    return file >> kibibytes ? kibibytes * 1024 : -1;
}

std::string contents(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

TwinBench::TwinBench(BenchTable &table)
    : m_table(table)
{
    char folder[] = "/tmp/uis-bench-XXXXXX";
    if (::mkdtemp(folder))
        m_folder = folder;
    // The addresses the studio's page lists here, in its order: the twin
    // shows them without a scan of its own.
    for (const QString &address : MachineInfo().localIpAddresses().keys())
        m_addresses.push_back(address.toStdString());
}

TwinBench::~TwinBench()
{
    if (!m_folder.empty())
        ChildProcess::run("rm", {"-rf", m_folder});
}

std::vector<std::string> TwinBench::studio(const std::vector<std::string> &extra) const
{
    std::vector<std::string> command{UIS_STUDIO, "--settings", "--dump", "--config",
                                     m_folder + "/config"};
    command.insert(command.end(), extra.begin(), extra.end());
    return command;
}

std::vector<std::string> TwinBench::twin(const std::vector<std::string> &extra) const
{
    std::vector<std::string> command{UIS_PAGE_TWIN};
    for (const std::string &address : m_addresses)
        command.insert(command.end(), {"--address", address});
    command.insert(command.end(), extra.begin(), extra.end());
    return command;
}

std::string TwinBench::compareScreenshots() const
{
    const std::string studioShot = m_folder + "/studio.png", twinShot = m_folder + "/twin.png";
    const auto shot = [](const std::vector<std::string> &command) {
        return ChildProcess::run(command.front(), {command.begin() + 1, command.end()}).ok;
    };
    if (!shot(studio({"--screenshot", studioShot})) || !shot(twin({"--screenshot", twinShot})))
        return "a screenshot could not be taken";
    const std::string a = contents(studioShot), b = contents(twinShot);
    if (a.empty() || a != b)
        return "the twin's screenshot differs from the studio's: not a fair yardstick";
    return "";
}

void TwinBench::run()
{
    std::string error = m_folder.empty() ? "no temporary folder" : compareScreenshots();
    m_table.addSamples("twin/screenshot", {error.empty() ? 0.0 : 1.0},
                       m_folder.empty() ? error : "");
    timeRows(error);
    instructionRows(error);
}

void TwinBench::timeRows(const std::string &given)
{
    std::map<std::string, std::vector<double>> samples;
    std::string error = given;
    for (int i = 0; i < kSamples && error.empty(); ++i) {
        // Turns about, so that neither always runs right after the other.
        for (const bool isStudio : {i % 2 == 0, i % 2 != 0}) {
            const std::vector<std::string> command = isStudio ? studio() : twin();
            const ChildProcess::Result result =
                    ChildProcess::run(command.front(), {command.begin() + 1, command.end()});
            if (!result.ok)
                error = isStudio ? "the studio did not show its dialog and quit cleanly"
                                 : "the static twin failed";
            const std::string side = isStudio ? "studio/" : "twin/";
            samples[side + "cpu"].push_back(result.cpuSeconds);
            samples[side + "wall"].push_back(result.wallSeconds);
            const double peak = peakBytes(command, m_folder + "/peak");
            if (peak < 0)
                error = "needs GNU time (/usr/bin/time) for the peak memory";
            samples[side + "peak"].push_back(peak);
        }
    }
    for (const char *name :
         {"studio/cpu", "studio/wall", "studio/peak", "twin/cpu", "twin/wall", "twin/peak"})
        m_table.addSamples(name, samples[name], error);
}

void TwinBench::instructionRows(const std::string &given)
{
    // Both programs run the dialog in a function named runDialog: from the
    // dialog's construction through the Device page's first show to its
    // close.
    const std::map<std::string, std::pair<std::vector<std::string>, std::string>> rows{
            {"instructions/studio", {studio(), ""}},
            {"instructions/twin", {twin(), ""}},
            {"instructions/studio-dialog", {studio(), "*runDialog*"}},
            {"instructions/twin-dialog", {twin(), "*runDialog*"}},
    };
    for (const auto &row : rows) {
        const double count =
                given.empty() ? Callgrind::instructions(row.second.first, row.second.second) : -1;
        m_table.addSamples(row.first, {count},
                           !given.empty()      ? given
                                   : count < 0 ? "needs valgrind"
                                               : "");
    }
}
