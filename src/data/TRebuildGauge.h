// Turns the engine's progress reports during an index rebuild into the percentage the
// rebuild window's bar shows. Owned by the rebuild run.
//
// While records are packed the bar shows the engine's percentage as it comes. While the tags
// are built, every tag reports 0 to 100 in turn; the bar shows the sum of all rises so far
// divided by 21, rounded, and never more than 100.
#pragma once

#include "Progress.h"

#include <functional>

class TRebuildGauge : public xbase::ProgressHook
{
public:
    enum class Phase { Packing, Indexing };

    // `show` receives each new bar position; `cancelled` (optional) is asked after each report.
    explicit TRebuildGauge(std::function<void(int)> show, std::function<bool()> cancelled = {});

    void setPhase(Phase phase);
    Phase phase() const { return m_phase; }
    // The bar position last shown; -1 until the first report of a phase.
    int position() const { return m_position; }

    bool report(int percent) override;

private:
    std::function<void(int)> m_show;
    std::function<bool()> m_cancelled;
    Phase m_phase = Phase::Packing;
    int m_last = 0;   // the last percentage of the tag being built
    long m_rises = 0; // the sum of every rise reported while indexing
    int m_position = -1;
};
