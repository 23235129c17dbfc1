// The tagging pass: tags every visible record of a target, in the target's order, a few
// records at a time so that its window can let the user interface run between steps. The
// records are listed first and then tagged one by one, so a record that tagging moves in the
// order, or that leaves or enters the view, is neither passed over nor tagged twice. Created
// by the "Tagging" window for one run.
#pragma once

#include "TResult.h"

#include <QVector>
#include <QtGlobal>

class TTagTarget;

class TTagPass
{
public:
    explicit TTagPass(TTagTarget &target) : m_target(target) {}

    // Goes to the first visible record and lists the visible records (at once when the target
    // can, else by walking them in the first steps).
    void start();
    // Handles at most `records` records (listing or tagging). True while work is left; false
    // once the pass is finished: every record done, cancelled, or stopped by a failure.
    bool step(int records);
    // Stops the pass after the current record.
    void cancel() { m_cancelled = true; }

    bool isFinished() const { return m_finished; }
    bool isCancelled() const { return m_cancelled; }
    // True when the pass finished with every listed record tagged.
    bool isComplete() const
    {
        return m_finished && !m_cancelled && m_failure.ok && m_next >= m_recnos.size();
    }
    // The records tagged so far.
    int taggedCount() const { return m_tagged; }
    // The failure that stopped the pass (ok when none).
    const TResult &failure() const { return m_failure; }

private:
    TTagTarget &m_target;
    QVector<quint32> m_recnos;
    qsizetype m_next = 0;
    bool m_listing = false;
    bool m_started = false;
    bool m_finished = false;
    bool m_cancelled = false;
    int m_tagged = 0;
    TResult m_failure;
};
