#include "TRebuildGauge.h"

#include <algorithm>
#include <utility>

TRebuildGauge::TRebuildGauge(std::function<void(int)> show, std::function<bool()> cancelled)
    : m_show(std::move(show)), m_cancelled(std::move(cancelled))
{
}

void TRebuildGauge::setPhase(Phase phase)
{
    m_phase = phase;
    m_last = 0;
    m_rises = 0;
    // The first report of the new phase is always shown, so the window can change its text.
    m_position = -1;
}

bool TRebuildGauge::report(int percent)
{
    percent = std::clamp(percent, 0, 100);
    int position = percent;
    if (m_phase == Phase::Indexing) {
        // A report below the last one starts the next tag.
        if (percent < m_last)
            m_last = 0;
        m_rises += percent - m_last;
        m_last = percent;
        position = std::min(100, int((m_rises + 10) / 21));
    }
    if (position != m_position) {
        m_position = position;
        if (m_show)
            m_show(position);
    }
    return !(m_cancelled && m_cancelled());
}
