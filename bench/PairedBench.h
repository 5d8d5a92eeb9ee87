#pragma once

#include <string>

class BenchTable;

// The rows that Google Benchmark's repetitions cannot measure honestly:
// first calls in fresh processes, calls right after a network change, and
// pairs with Qt or a minimal Qt program, and the scripted scan's sizes,
// taken in turns in the same run, so both sides of a ratio meet the same
// machine state. Each sample goes into the table under its row name.
class PairedBench
{
public:
    PairedBench(std::string self, BenchTable &table);

    void run();

    // `uis_bench --uis-child MODE`: one first call in this fresh process
    // ("scan", "qt" or "page"); prints its seconds. Returns the exit status.
    static int child(const std::string &mode);

private:
    void freshProcessRows();
    void inProcessRows();
    void namespaceRows();
    void scriptedRows();
    void studioRows();

    std::string m_self;
    BenchTable &m_table;
};
