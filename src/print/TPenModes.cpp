#include "TPenModes.h"

#include <QPaintEngine>

QPainter::CompositionMode TPenModes::compositionMode(TPenMode mode)
{
    switch (mode) {
    case TPenMode::Copy:
        break;
    case TPenMode::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::NotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case TPenMode::Not:
        return QPainter::RasterOp_NotDestination;
    case TPenMode::Black:
        return QPainter::RasterOp_ClearDestination;
    case TPenMode::White:
        return QPainter::RasterOp_SetDestination;
    case TPenMode::Nop:
        return QPainter::CompositionMode_Destination;
    case TPenMode::NotCopy:
        return QPainter::RasterOp_NotSource;
    case TPenMode::MergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case TPenMode::MaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case TPenMode::MergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case TPenMode::MaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case TPenMode::Merge:
        return QPainter::RasterOp_SourceOrDestination;
    case TPenMode::NotMerge:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case TPenMode::Mask:
        return QPainter::RasterOp_SourceAndDestination;
    case TPenMode::NotMask:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

TPenMode TPenModes::apply(QPainter &painter, TPenMode mode)
{
    const QPaintEngine *engine = painter.paintEngine();
    // The PDF engine (also behind printers) claims raster operations but draws them as copies
    // at best, so only pixel devices combine.
    const bool rasterOps =
        engine && (engine->type() == QPaintEngine::Raster || engine->type() == QPaintEngine::OpenGL2);
    const TPenMode used = rasterOps ? mode : TPenMode::Copy;
    painter.setCompositionMode(compositionMode(used));
    return used;
}

TPenMode TPenModes::fromLayoutIndex(int index)
{
    static constexpr TPenMode kModes[] = {
        TPenMode::Black,       TPenMode::White,      TPenMode::Nop,         TPenMode::Not,
        TPenMode::Copy,        TPenMode::NotCopy,    TPenMode::MergePenNot, TPenMode::MaskPenNot,
        TPenMode::MergeNotPen, TPenMode::MaskNotPen, TPenMode::Merge,       TPenMode::NotMerge,
        TPenMode::Mask,        TPenMode::NotMask,    TPenMode::Xor,         TPenMode::NotXor};
    if (index < 0 || index >= static_cast<int>(sizeof kModes / sizeof kModes[0]))
        return TPenMode::Copy;
    return kModes[index];
}
