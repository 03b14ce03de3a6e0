#pragma once

namespace TestSupport {

// A constraint the layout has to refuse ("Unable to simultaneously satisfy constraints.") is a fault
// of the screen that asked for it: while a test runs, every such report fails it, with the report as
// the message. A test that makes conflicts on purpose says so with an `ExpectedLayoutConflicts`, or
// captures the log itself.
class ExpectedLayoutConflicts {
public:
    ExpectedLayoutConflicts();
    ~ExpectedLayoutConflicts();
    ExpectedLayoutConflicts(const ExpectedLayoutConflicts&) = delete;
    ExpectedLayoutConflicts& operator=(const ExpectedLayoutConflicts&) = delete;
};

// Installs the watch for every test of the process; the test main calls it.
void watchLayoutConflicts();

} // namespace TestSupport
