#pragma once

#include <QtTest>

// One row of a data-driven test: its name, then a value for each column in
// the order the columns were added (see QTest::newRow). As a call, a row that
// does not fit on one line is wrapped by clang-format.
template<typename... Values>
void row(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}
