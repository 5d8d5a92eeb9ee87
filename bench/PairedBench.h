#pragma once

#include <string>
#include <vector>

class BenchTable;

// The rows that Google Benchmark's repetitions cannot measure honestly:
// first calls in fresh processes, calls right after a network change, and
// pairs with Qt or the bare netlink floor, and the scripted scan's sizes,
// taken in turns in the same run, so both sides of a ratio meet the same
// machine state. Each sample goes into the table under its row name.
class PairedBench
{
public:
    PairedBench(std::string self, BenchTable &table);

    void run();

    // `uis_bench --uis-child MODE`: one first call in this fresh process
    // ("scan", "qt", "floor" or "page"), or a warm scan of N scripted
    // adapters ("scripted-N"); prints its seconds. Returns the exit status.
    static int child(const std::string &mode);

private:
    void freshProcessRows();
    void inProcessRows();
    void namespaceRows();
    void scriptedRows();
    // One callgrind count of a child's measured call as the row's sample.
    void addInstructions(const std::string &row, std::vector<std::string> command,
                         const std::string &mode);

    std::string m_self;
    BenchTable &m_table;
};
