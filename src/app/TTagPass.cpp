#include "TTagPass.h"

#include "TTagTarget.h"

void TTagPass::start()
{
    m_recnos.clear();
    m_next = 0;
    m_tagged = 0;
    m_failure = TResult::success();
    m_finished = false;
    m_started = true;
    const bool any = m_target.first();
    if (m_target.listVisible(m_recnos)) {
        m_listing = false;
        return;
    }
    m_recnos.clear();
    m_listing = any;
    if (m_listing)
        m_recnos.append(m_target.recno());
}

bool TTagPass::step(int records)
{
    if (!m_started)
        start();
    for (int done = 0; done < records && !m_finished; ++done) {
        if (m_cancelled) {
            m_finished = true;
        } else if (m_listing) {
            m_listing = m_target.next();
            if (m_listing)
                m_recnos.append(m_target.recno());
        } else if (m_next >= m_recnos.size()) {
            m_finished = true;
        } else {
            // A listed record no longer visible (its own filter changed) is left alone.
            if (m_target.goTo(m_recnos[m_next])) {
                const TResult tagged = m_target.tagCurrent();
                if (!tagged.ok) {
                    m_failure = tagged;
                    m_finished = true;
                    break;
                }
                ++m_tagged;
            }
            ++m_next;
            m_finished = m_next >= m_recnos.size();
        }
    }
    return !m_finished;
}
