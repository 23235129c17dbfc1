// One edit of a design surface as an undoable step: the layout's stream and selection before
// and after the edit. Undo and redo put the surface's objects back exactly as the stream held
// them, so undoing returns the layout's bytes to what they were. Consecutive nudges merge
// into one step. The surface's undo stack owns its commands; the surface outlives the stack.
#pragma once

#include <QByteArray>
#include <QList>
#include <QUndoCommand>

class TGBasePanel;

// What a surface looked like at one moment, as far as an edit can change it.
struct TGLayoutSnapshot {
    QByteArray bytes;         // every object as one list, bottom of the z-order first
    QList<int> selection;     // positions of the selected objects in that list, selection order
    float scaleFactor = 1.0f; // the zoom the geometry in `bytes` belongs to
};

class TGLayoutCommand : public QUndoCommand
{
public:
    // Merge ids: consecutive commands with the same id become one step.
    static constexpr int kNudgeId = 1;

    // The edit has already been done: the first redo (when the stack takes the command) does
    // nothing.
    TGLayoutCommand(TGBasePanel *surface, const QString &text, TGLayoutSnapshot before,
                    TGLayoutSnapshot after, int mergeId = -1);

    void undo() override;
    void redo() override;
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    TGBasePanel *m_surface;
    TGLayoutSnapshot m_before;
    TGLayoutSnapshot m_after;
    int m_mergeId;
    bool m_done = true;
};
