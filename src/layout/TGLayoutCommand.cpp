#include "TGLayoutCommand.h"

#include "TGBasePanel.h"

TGLayoutCommand::TGLayoutCommand(TGBasePanel *surface, const QString &text, TGLayoutSnapshot before,
                                 TGLayoutSnapshot after, int mergeId)
    : QUndoCommand(text), m_surface(surface), m_before(std::move(before)), m_after(std::move(after)),
      m_mergeId(mergeId)
{
}

void TGLayoutCommand::undo()
{
    m_surface->restoreSnapshot(m_before);
    m_done = false;
}

void TGLayoutCommand::redo()
{
    if (m_done)
        return; // pushed after the edit was made
    m_surface->restoreSnapshot(m_after);
    m_done = true;
}

bool TGLayoutCommand::mergeWith(const QUndoCommand *other)
{
    if (other->id() != m_mergeId)
        return false;
    const auto *next = static_cast<const TGLayoutCommand *>(other);
    if (next->m_surface != m_surface)
        return false;
    m_after = next->m_after;
    return true;
}
