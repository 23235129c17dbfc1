// A run's progress for tests: counts the steps a run reports and asks it to stop once it has
// moved on by a given number of items, as a user pressing Stop at that point would.
#pragma once

#include "TProgress.h"

#include <climits>

class CancelAfter : public TProgress
{
public:
    // Cancelled once `steps` steps were reported; INT_MAX never cancels.
    explicit CancelAfter(int steps = INT_MAX) : m_limit(steps) {}

    void setTotal(int items) override { m_total = items; }
    void step() override { ++m_steps; }
    bool cancelled() const override { return m_steps >= m_limit; }

    int steps() const { return m_steps; }
    int total() const { return m_total; }

private:
    int m_limit;
    int m_steps = 0;
    int m_total = 0;
};
