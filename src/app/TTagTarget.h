// What the tagging pass works on: a table with a current record, moves over its visible
// records in its current order, and a way to tag the current record. The address table gives
// one (TAddressTagTarget); a tool that lists records of its own gives another. The target is
// owned by whoever runs the pass and must outlive it.
#pragma once

#include "TResult.h"

#include <QVector>
#include <QtGlobal>

class TTagTarget
{
public:
    virtual ~TTagTarget() = default;

    // Holds back (and then sends once) the display's refreshes; nested.
    virtual void freeze() = 0;
    virtual void unfreeze() = 0;
    // The visible records in the order first() and next() visit them, in one call, without
    // moving; false when the target cannot list them so (the pass then walks them).
    virtual bool listVisible(QVector<quint32> &out)
    {
        Q_UNUSED(out);
        return false;
    }
    // Goes to the first visible record; false when none is visible.
    virtual bool first() = 0;
    // Goes to the next visible record; false at the last one (which stays current).
    virtual bool next() = 0;
    // The current record's number (0 when none is shown).
    virtual quint32 recno() const = 0;
    // Goes to record `recno` when it is visible; false otherwise.
    virtual bool goTo(quint32 recno) = 0;
    // Sets the current record's tag to the current tag identifier and writes the record. A
    // failure drops the edit, so the record stays as it was, and returns the message.
    virtual TResult tagCurrent() = 0;
};
