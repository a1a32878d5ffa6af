#pragma once
// Runs one sweep: counts the operations of the clean run, then fails the run at each of
// them in turn and once past the last (where nothing fails), in a sandbox of its own,
// prints what the failure points led to and fails the test for each that broke a rule.
//
// A Sweep has a constructor taking `persistent`, CountOperations() (which may fail the
// test fatally), clean() (the clean run's operations) and RunAt(point, sandbox, tally).
#include <gtest/gtest.h>

#include <iostream>

#include "tests/sweep/sweep_checks.h"
#include "tests/sweep/sweep_sandbox.h"
#include "tests/sweep/sweep_tally.h"

template <typename Sweep>
void RunSweep(bool persistent, const char* title) {
    SweepSandbox sandbox;
    Sweep sweep(persistent);
    sweep.CountOperations();
    if (testing::Test::HasFatalFailure()) return;
    const int operations = static_cast<int>(sweep.clean().size());
    ASSERT_GT(operations, 0);
    SweepTally tally;
    for (int point = 1; point <= operations + 1; ++point) sweep.RunAt(point, sandbox, tally);
    std::cout << tally.Report(title) << "  the clean run's operations:" << OperationsByKind(sweep.clean()) << "\n";
    EXPECT_EQ(tally.points(), operations + 1);
    EXPECT_TRUE(tally.broken().empty()) << tally.broken().size() << " points broke a rule, the first:\n"
                                        << tally.broken().front();
}
