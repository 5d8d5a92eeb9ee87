#pragma once

#include <string>
#include <vector>

class BenchTable;

// The studio's settings dialog against its static twin (bench/twin), in
// fresh processes taken in turns: whole-process and dialog instructions,
// CPU time, peak memory and wall time. The twin is a fair yardstick only
// while both show the same pixels, so a screenshot of each is compared
// first; when they differ, the rows say so instead of a ratio.
class TwinBench
{
public:
    explicit TwinBench(BenchTable &table);
    ~TwinBench();
    TwinBench(const TwinBench &) = delete;
    TwinBench &operator=(const TwinBench &) = delete;

    void run();

private:
    // The two programs' commands, each with its extra arguments.
    std::vector<std::string> studio(const std::vector<std::string> &extra = {}) const;
    std::vector<std::string> twin(const std::vector<std::string> &extra = {}) const;
    // "" when both screenshots are byte for byte the same, else why not.
    std::string compareScreenshots() const;
    void timeRows(const std::string &error);
    void instructionRows(const std::string &error);

    BenchTable &m_table;
    std::string m_folder; // the studio's empty configuration and the screenshots
    std::vector<std::string> m_addresses;
};
