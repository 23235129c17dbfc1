#include "TGBasePanel.h"

#include "LayoutStreamWriter.h"
#include "TGGraphicControl.h"
#include "TGLabelObjectFiler.h"
#include "TGLayoutCommand.h"
#include "TGOwner.h"
#include "TProgramFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

TGBasePanel::TGBasePanel(TGOwner *owner, double pixelsPerInch)
    : m_owner(owner), m_undo(std::make_unique<QUndoStack>())
{
    setPixelsPerInch(pixelsPerInch);
}

TGBasePanel::~TGBasePanel()
{
    m_undo->clear();
    m_handle.ClearSelection();
    while (!m_objects.empty()) {
        delete m_objects.back();
        m_objects.pop_back();
    }
    // The clipboard and working files go with the surface; errors are of no interest here.
    if (!m_clipboardFile.isEmpty())
        QFile::remove(m_clipboardFile);
    if (!m_workingFile.isEmpty())
        QFile::remove(m_workingFile);
}

void TGBasePanel::setSize(int width, int height)
{
    m_width = width;
    m_height = height;
    Invalidate();
}

void TGBasePanel::setPointing(bool pointing)
{
    m_pointing = pointing;
    m_cursor = pointing ? TGCursor::Default : TGCursor::Drag;
}

TGGraphicControl *TGBasePanel::insertObject(std::unique_ptr<TGGraphicControl> object)
{
    TGGraphicControl *o = object.release();
    o->m_parent = this;
    m_objects.push_back(o);
    Invalidate();
    return o;
}

void TGBasePanel::deleteObject(TGGraphicControl *object)
{
    const auto it = std::find(m_objects.begin(), m_objects.end(), object);
    if (it == m_objects.end())
        return;
    m_handle.RemoveFromSelection(object);
    if (m_hover == object)
        m_hover = nullptr;
    m_objects.erase(it);
    delete object;
    Invalidate();
}

TGGraphicControl *TGBasePanel::objectAt(const QPoint &point) const
{
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it)
        if ((*it)->isVisible() && (*it)->BoundsRect().contains(point))
            return *it;
    return nullptr;
}

void TGBasePanel::moveToFront(TGGraphicControl *object)
{
    const auto it = std::find(m_objects.begin(), m_objects.end(), object);
    if (it == m_objects.end())
        return;
    m_objects.erase(it);
    m_objects.push_back(object);
    Invalidate();
}

void TGBasePanel::moveToBack(TGGraphicControl *object)
{
    const auto it = std::find(m_objects.begin(), m_objects.end(), object);
    if (it == m_objects.end())
        return;
    m_objects.erase(it);
    m_objects.insert(m_objects.begin(), object);
    Invalidate();
}

void TGBasePanel::setGridSize(TGridSize size)
{
    m_gridSize = size;
    const int step = size == gs4x4 ? 4 : 8;
    m_handle.SetGridX(step);
    m_handle.SetGridY(step);
    Invalidate();
}

void TGBasePanel::setSnapToGrid(bool on)
{
    if (on == m_snapToGrid)
        return;
    m_snapToGrid = on;
    m_handle.SetSnapToGrid(on);
    if (on) {
        const int step = m_gridSize == gs4x4 ? 4 : 8;
        m_handle.SetGridX(step);
        m_handle.SetGridY(step);
    }
}

qint64 TGBasePanel::tickCount() const
{
    return TickCountSource ? TickCountSource() : systemTickCount();
}

qint64 TGBasePanel::systemTickCount()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed() + 1;
}

void TGBasePanel::PostFrameRefit()
{
    if (m_refitPosted)
        return;
    m_refitPosted = true;
    if (FrameRefitEvent)
        FrameRefitEvent();
}

void TGBasePanel::DeliverPosted()
{
    if (!m_refitPosted)
        return;
    m_refitPosted = false;
    m_handle.RefitFrame();
}

bool TGBasePanel::KeyDown(int key, Qt::KeyboardModifiers shift)
{
    return m_handle.KeyDown(key, shift);
}

bool TGBasePanel::KeyUp(int key)
{
    beginEdit();
    const bool nudged = m_handle.KeyUp(key);
    endEdit(QStringLiteral("Nudge"), TGLayoutCommand::kNudgeId);
    return nudged;
}

QImage TGBasePanel::renderBackground() const
{
    const int w = std::max(m_width, 1);
    const int h = std::max(m_height, 1);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);

    // The surface shape over Width + 1 by Height + 1 pixels; round corners 24 pixels across.
    QPainterPath shape;
    const QRectF area(0, 0, m_width + 1, m_height + 1);
    switch (m_shape) {
    case lsRectangle:
        shape.addRect(area);
        break;
    case lsRoundRect:
        shape.addRoundedRect(area, 12, 12);
        break;
    case lsEllipse:
        shape.addEllipse(area);
        break;
    }

    QPainter p(&image);
    for (const TGPicture *picture : {&m_picture, &m_colorPicture}) {
        if (!picture->hasGraphic() || picture->image().isNull())
            continue;
        p.save();
        p.setClipPath(shape);
        p.drawImage(QRect(0, 0, m_width, m_height), picture->image());
        p.restore();
    }
    if (m_drawOutline) {
        p.save();
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        switch (m_shape) {
        case lsRectangle:
            p.drawRect(QRect(0, 0, m_width, m_height));
            break;
        case lsRoundRect:
            p.drawRoundedRect(QRect(0, 0, m_width, m_height), 12, 12);
            break;
        case lsEllipse:
            p.drawEllipse(QRect(0, 0, m_width, m_height));
            break;
        }
        p.restore();
    }
    p.end();

    if (m_showGrid) {
        // Within the shape, dots in dark green: each dot pixel is ANDed with (0, 128, 0).
        QImage mask(w, h, QImage::Format_Grayscale8);
        mask.fill(0);
        QPainter mp(&mask);
        mp.fillPath(shape, Qt::white);
        mp.end();
        const int step = m_gridSize == gs4x4 ? 4 : 8;
        for (int y = 2; y < h; y += step) {
            QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            const uchar *inside = mask.constScanLine(y);
            for (int x = 2; x < w; x += step)
                if (inside[x])
                    line[x] = qRgb(0, qGreen(line[x]) & 0x80, 0);
        }
    }
    return image;
}

void TGBasePanel::Paint(QPainter &painter)
{
    QImage image = renderBackground();
    QPainter p(&image);
    p.save();
    PaintGuides(p);
    p.restore();
    for (TGGraphicControl *o : m_objects) {
        if (!o->isVisible())
            continue;
        p.save();
        p.translate(o->Left(), o->Top());
        p.setClipRect(QRect(0, 0, o->Width(), o->Height()));
        o->Paint(p);
        p.restore();
    }
    // The marks in a pass of their own, so no object's clip cuts them.
    m_handle.PaintMarks(p);
    // The band and the outline of a drag or nudge, in XOR as the band is.
    const QRect feedback = m_handle.feedback();
    if (m_bandActive || !feedback.isNull()) {
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        if (m_bandActive)
            p.drawRect(rubberBand().normalized());
        if (!feedback.isNull())
            p.drawRect(feedback);
    }
    p.end();
    painter.drawImage(0, 0, image);
}

void TGBasePanel::CreateObject(const QRect &) {}

void TGBasePanel::ObjectMouseDown(TGGraphicControl *object, Qt::MouseButton button,
                                  Qt::KeyboardModifiers shift, int x, int y)
{
    const QPoint surfacePoint(object->Left() + x, object->Top() + y);
    if (!m_pointing || object->Unselectable()) {
        // Handled as a press on the surface: a band or a new object starts over the object.
        if (button == Qt::LeftButton) {
            m_bandActive = true;
            m_bandStart = m_bandEnd = surfacePoint;
            m_cursor = TGCursor::HandPoint;
        } else if (ContextMenuEvent) {
            ContextMenuEvent(nullptr, surfacePoint);
        }
        return;
    }
    if (!(shift & Qt::ShiftModifier))
        clearSelection();
    addToSelection(object);
    if (selection().size() == 1 && button == Qt::RightButton && ContextMenuEvent)
        ContextMenuEvent(object, surfacePoint);
}

void TGBasePanel::PrintObjects(TBaseReport &engine, InchPoint origin)
{
    for (TGGraphicControl *o : m_objects)
        o->Print(engine, origin);
}

void TGBasePanel::KeepObjectsInside()
{
    clearSelection();
    for (TGGraphicControl *o : m_objects) {
        if (o->Top() > m_height - 10)
            o->setTop(m_height - 10);
        if (o->Left() > m_width - 20)
            o->setLeft(m_width - 20);
    }
}

void TGBasePanel::RemoveObjectsOutside()
{
    clearSelection();
    const std::vector<TGGraphicControl *> all = m_objects;
    for (TGGraphicControl *o : all)
        if (o->Top() > m_height - 10 || o->Left() > m_width - 10 || o->Width() < 1 || o->Height() < 1)
            deleteObject(o);
}

void TGBasePanel::SetScale(float factor)
{
    if (factor == m_scale)
        return;
    m_scaling = true;
    const float current = m_scale * 10.0f == 0.0f ? 1.0f : m_scale;
    const double ratio = static_cast<double>(factor / current);
    m_width = Rounding::halfEven(m_width * ratio);
    m_height = Rounding::halfEven(m_height * ratio);
    m_scale = factor;
    for (TGGraphicControl *o : m_objects)
        o->SetScale(factor);
    ProcessPending();
    m_scaling = false;
    Invalidate();
}

TResult TGBasePanel::SaveToFile(const QString &path)
{
    const float remembered = m_scale;
    const bool rescaled = m_scale != 1.0f;
    if (rescaled)
        SetScale(1.0f);
    ClearDataValues();
    TGLabelObjectFiler filer;
    const TResult result = filer.SaveSurface(*this, path);
    m_undo->clear();
    RefreshData();
    if (rescaled)
        SetScale(remembered);
    return result;
}

TResult TGBasePanel::LoadFromFile(const QString &path)
{
    if (!QFile::exists(path))
        return TResult::success();
    TGLabelObjectFiler filer;
    const TResult result = filer.LoadSurface(m_owner, *this, path);
    m_undo->clear();
    WireAllObjects();
    RefreshData();
    return result;
}

void TGBasePanel::ClearObjects()
{
    clearSelection();
    m_hover = nullptr;
    while (!m_objects.empty()) {
        delete m_objects.back();
        m_objects.pop_back();
    }
    Invalidate();
}

TGGraphicControl *TGBasePanel::PlaceNewObject(std::unique_ptr<TGGraphicControl> object, const QRect &rect)
{
    object->setVisible(false);
    TGGraphicControl *o = insertObject(std::move(object));
    o->setName(UniqueName(QStringLiteral("Special")));
    o->SetBounds(rect.left(), rect.top(), std::max(rect.width(), 10), std::max(rect.height(), 15));
    WireObject(o);
    o->setScaleFactor(m_scale);
    o->setVisible(true);
    LabelChanged();
    ProcessPending();
    return o;
}

QString TGBasePanel::UniqueName(const QString &prefix) const
{
    for (int i = 1; i <= 1000; ++i) {
        const QString name = prefix + QString::number(i);
        if (!m_owner || !m_owner->hasComponent(name))
            return name;
    }
    return {};
}

void TGBasePanel::WireObject(TGGraphicControl *object)
{
    object->m_wired = true;
}

void TGBasePanel::WireAllObjects()
{
    for (TGGraphicControl *o : m_objects) {
        WireObject(o);
        o->setScaleFactor(m_scale);
    }
}

void TGBasePanel::ResetCounters()
{
    for (TGGraphicControl *o : m_objects)
        o->ResetCounter();
}

void TGBasePanel::AdvanceCounters()
{
    for (TGGraphicControl *o : m_objects)
        o->AdvanceCounter();
}

void TGBasePanel::ClearDataValues()
{
    for (TGGraphicControl *o : m_objects)
        o->ClearDataValue();
}

void TGBasePanel::LabelChanged()
{
    m_changeSeen = true;
    if (!m_scaling && LabelChangedEvent)
        LabelChangedEvent(this);
}

void TGBasePanel::Invalidate()
{
    if (InvalidateEvent)
        InvalidateEvent();
}

void TGBasePanel::ProcessPending()
{
    if (ProcessPendingEvent)
        ProcessPendingEvent();
}

void TGBasePanel::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point)
{
    if (m_handle.isVisible() && !m_bandActive && m_handle.bounds().contains(point)) {
        m_handle.MouseDown(button, shift, point - m_handle.bounds().topLeft());
        return;
    }
    surfaceMouseDown(button, shift, point);
}

void TGBasePanel::surfaceMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point)
{
    if (TGGraphicControl *o = objectAt(point)) {
        // An object that is not wired takes the press for itself.
        if (o->isWired())
            ObjectMouseDown(o, button, shift, point.x() - o->Left(), point.y() - o->Top());
        return;
    }
    if (button == Qt::LeftButton) {
        if (!m_pointing && !AcceptDrawingStart())
            return;
        m_bandActive = true;
        m_bandStart = m_bandEnd = point;
        m_cursor = TGCursor::HandPoint;
        Invalidate();
    } else if (ContextMenuEvent) {
        ContextMenuEvent(nullptr, point);
    }
}

void TGBasePanel::MouseMove(Qt::KeyboardModifiers shift, const QPoint &point, Qt::MouseButtons buttons)
{
    if (m_handle.isVisible() && !m_bandActive &&
        (m_handle.hasCapture() || m_handle.isDragging() || m_handle.bounds().contains(point))) {
        m_handle.MouseMove(buttons, shift, point - m_handle.bounds().topLeft());
        return;
    }
    TGGraphicControl *over = objectAt(point);
    if (over != m_hover) {
        if (m_hover && !m_bandActive)
            m_cursor = m_pointing ? TGCursor::Default : TGCursor::Drag;
        m_hover = over;
    }
    if (over && m_pointing)
        m_cursor = TGCursor::HandPoint;
    if (m_bandActive) {
        m_bandEnd = point;
        Invalidate();
    }
}

void TGBasePanel::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point)
{
    if (m_handle.isVisible() && !m_bandActive &&
        (m_handle.hasCapture() || m_handle.isDragging() || m_handle.bounds().contains(point))) {
        const bool sizing = m_handle.dragMode() != TGHandle::dmMove;
        beginEdit();
        m_handle.MouseUp(button, shift, point - m_handle.bounds().topLeft());
        endEdit(sizing ? QStringLiteral("Resize") : QStringLiteral("Move"));
        return;
    }
    surfaceMouseUp(button, shift, point);
}

void TGBasePanel::surfaceMouseUp(Qt::MouseButton, Qt::KeyboardModifiers shift, const QPoint &point)
{
    if (!m_bandActive)
        return;
    m_bandEnd = point;
    m_bandActive = false;
    const QRect band =
        QRect(QPoint(std::min(m_bandStart.x(), m_bandEnd.x()), std::min(m_bandStart.y(), m_bandEnd.y())),
              QSize(std::abs(m_bandEnd.x() - m_bandStart.x()), std::abs(m_bandEnd.y() - m_bandStart.y())));
    Invalidate();
    if (m_pointing) {
        selectBand(band, shift & Qt::ShiftModifier);
        m_cursor = TGCursor::Default;
        return;
    }
    beginEdit();
    CreateObject(band);
    endEdit(QStringLiteral("Draw"));
    if (DroppedObjectEvent)
        DroppedObjectEvent(band);
}

void TGBasePanel::MouseDoubleClick(const QPoint &point)
{
    if (m_handle.isVisible() && m_handle.SelectedCount() <= 1 && m_handle.bounds().contains(point)) {
        m_handle.MouseDoubleClick(point - m_handle.bounds().topLeft());
        return;
    }
    if (TGGraphicControl *o = objectAt(point)) {
        if (ContextMenuEvent)
            ContextMenuEvent(o, point);
    } else if (OnDblClick) {
        OnDblClick();
    }
}

void TGBasePanel::selectBand(const QRect &band, bool toggle)
{
    if (!toggle)
        clearSelection();
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it) {
        TGGraphicControl *o = *it;
        if (o->Unselectable() || !o->BoundsRect().intersects(band))
            continue;
        if (toggle && isSelected(o))
            removeFromSelection(o);
        else
            addToSelection(o);
    }
}

QString TGBasePanel::programFolder()
{
    if (m_programFolder.isEmpty())
        m_programFolder = TProgramFolder::path();
    return m_programFolder.endsWith(QLatin1Char('/')) ? m_programFolder : m_programFolder + QLatin1Char('/');
}

QString TGBasePanel::clipboardFile()
{
    if (m_clipboardFile.isEmpty())
        m_clipboardFile = programFolder() + QStringLiteral("Clipbrd.tmp");
    return m_clipboardFile;
}

QString TGBasePanel::workingFile()
{
    if (m_workingFile.isEmpty())
        m_workingFile = programFolder() + QStringLiteral("TempFile.tmp");
    return m_workingFile;
}

// --- Editing commands.

void TGBasePanel::beginEdit()
{
    if (m_editDepth++ == 0) {
        m_editBefore = std::make_unique<TGLayoutSnapshot>(snapshot());
        m_changeSeen = false;
    }
}

void TGBasePanel::endEdit(const QString &text, int mergeId)
{
    if (m_editDepth == 0 || --m_editDepth > 0)
        return;
    std::unique_ptr<TGLayoutSnapshot> before = std::move(m_editBefore);
    TGLayoutSnapshot after = snapshot();
    if (!before || (before->bytes == after.bytes && before->scaleFactor == after.scaleFactor))
        return;
    // Every edit of the stored layout marks it modified, also those that say nothing themselves.
    if (!m_changeSeen)
        LabelChanged();
    m_undo->push(new TGLayoutCommand(this, text, std::move(*before), std::move(after), mergeId));
}

QByteArray TGBasePanel::layoutBytes() const
{
    LayoutStreamWriter w;
    TGLabelObjectFiler::writeList(w, {m_objects.begin(), m_objects.end()});
    return w.bytes();
}

TGLayoutSnapshot TGBasePanel::snapshot() const
{
    TGLayoutSnapshot state;
    state.bytes = layoutBytes();
    state.scaleFactor = m_scale;
    for (const TGGraphicControl *o : selection()) {
        const auto it = std::find(m_objects.begin(), m_objects.end(), o);
        if (it != m_objects.end())
            state.selection.append(static_cast<int>(it - m_objects.begin()));
    }
    return state;
}

bool TGBasePanel::restoreSnapshot(const TGLayoutSnapshot &state)
{
    // The bytes were written by this program a moment ago, but a class that is not registered
    // cannot be read back: that is found out on a scratch surface, and the objects stay.
    {
        TGOwner scratchOwner;
        TGBasePanel scratch(&scratchOwner, m_pixelsPerInch);
        if (!TGLabelObjectFiler::readBytes(state.bytes, &scratchOwner, scratch, false, true))
            return false;
    }
    ClearObjects();
    if (!TGLabelObjectFiler::readBytes(state.bytes, m_owner, *this, false, true))
        return false;
    for (TGGraphicControl *o : m_objects) {
        WireObject(o);
        if (state.scaleFactor != m_scale) {
            o->setScaleFactor(state.scaleFactor);
            o->SetScale(m_scale);
        }
        o->setScaleFactor(m_scale);
    }
    RefreshData();
    for (int index : state.selection)
        if (index >= 0 && index < static_cast<int>(m_objects.size()))
            addToSelection(m_objects[static_cast<std::size_t>(index)]);
    m_handle.releaseCapture();
    LabelChanged();
    Invalidate();
    return true;
}

bool TGBasePanel::canPaste()
{
    return QFile::exists(clipboardFile());
}

TResult TGBasePanel::EditSelection(TEditKind kind)
{
    switch (kind) {
    case TEditKind::Copy: {
        if (selection().isEmpty())
            return TResult::success();
        TGLabelObjectFiler filer;
        return filer.SaveSelection(selection(), clipboardFile());
    }
    case TEditKind::Cut: {
        if (selection().isEmpty())
            return TResult::success();
        TGLabelObjectFiler filer;
        // Objects that could not be copied are not deleted.
        if (const TResult copied = filer.SaveSelection(selection(), clipboardFile()); !copied)
            return copied;
        beginEdit();
        const TResult deleted = EditSelection(TEditKind::Delete);
        endEdit(QStringLiteral("Cut"));
        return deleted;
    }
    case TEditKind::Delete: {
        beginEdit();
        while (!selection().isEmpty()) {
            TGGraphicControl *o = selection().last();
            removeFromSelection(o);
            deleteObject(o);
            LabelChanged();
        }
        endEdit(QStringLiteral("Delete"));
        return TResult::success();
    }
    case TEditKind::Paste: {
        // A held-down Ctrl+V pastes once a second at most.
        const qint64 now = tickCount();
        if (m_lastPaste != 0 && now - m_lastPaste < 1000)
            return TResult::success();
        beginEdit();
        TGLabelObjectFiler filer;
        const TResult pasted = filer.PasteFile(m_owner, *this, clipboardFile());
        WireAllObjects();
        if (pasted) {
            LabelChanged();
            ProcessPending();
            m_lastPaste = tickCount();
        }
        endEdit(QStringLiteral("Paste"));
        return pasted;
    }
    }
    return TResult::success();
}

TResult TGBasePanel::EditObject(TGGraphicControl *object, TEditKind kind)
{
    if (!object || kind == TEditKind::Paste || isSelected(object))
        return EditSelection(kind);
    TGLabelObjectFiler filer;
    switch (kind) {
    case TEditKind::Copy:
        return filer.SaveObject(*object, clipboardFile());
    case TEditKind::Cut:
        if (const TResult copied = filer.SaveObject(*object, clipboardFile()); !copied)
            return copied;
        [[fallthrough]];
    case TEditKind::Delete:
        beginEdit();
        deleteObject(object);
        LabelChanged();
        endEdit(kind == TEditKind::Cut ? QStringLiteral("Cut") : QStringLiteral("Delete"));
        return TResult::success();
    case TEditKind::Paste:
        break;
    }
    return TResult::success();
}

TResult TGBasePanel::Clone(TGGraphicControl *object)
{
    if (!object)
        return TResult::success();
    beginEdit();
    const std::size_t before = m_objects.size();
    TGLabelObjectFiler filer;
    const TResult cloned = filer.CloneObject(*object, m_owner, *this);
    if (cloned && m_objects.size() > before) {
        TGGraphicControl *copy = m_objects.back();
        copy->setTop(object->Top() + 25);
        moveToFront(copy);
        RefreshData();
        if (isSelected(object)) {
            removeFromSelection(object);
            addToSelection(copy);
        }
        WireAllObjects();
        object->NotifyChanged();
    }
    endEdit(QStringLiteral("Clone"));
    return cloned;
}

void TGBasePanel::BringToFront(TGGraphicControl *object)
{
    beginEdit();
    object->NotifyChanged();
    moveToFront(object);
    endEdit(QStringLiteral("Bring To Front"));
}

void TGBasePanel::SendToBack(TGGraphicControl *object)
{
    beginEdit();
    object->NotifyChanged();
    moveToBack(object);
    clearSelection();
    endEdit(QStringLiteral("Send To Back"));
}

void TGBasePanel::BringSelectionToFront()
{
    if (selection().isEmpty())
        return;
    beginEdit();
    m_handle.BringSelectionToFront();
    LabelChanged();
    endEdit(QStringLiteral("Bring To Front"));
}

void TGBasePanel::SendSelectionToBack()
{
    if (selection().isEmpty())
        return;
    beginEdit();
    m_handle.SendSelectionToBack();
    clearSelection();
    LabelChanged();
    endEdit(QStringLiteral("Send To Back"));
}

void TGBasePanel::ToggleLocked(TGGraphicControl *object)
{
    beginEdit();
    object->setLocked(!object->Locked());
    object->NotifyChanged();
    endEdit(object->Locked() ? QStringLiteral("Lock") : QStringLiteral("Unlock"));
}

void TGBasePanel::MakeUnselectable(TGGraphicControl *object)
{
    beginEdit();
    object->setUnselectable(true);
    removeFromSelection(object);
    object->NotifyChanged();
    endEdit(QStringLiteral("Unselectable"));
}

void TGBasePanel::CenterVertically(TGGraphicControl *object)
{
    beginEdit();
    object->setTop(m_height / 2 - object->Height() / 2);
    object->NotifyChanged();
    Invalidate();
    endEdit(QStringLiteral("Center Vertically"));
}

void TGBasePanel::CenterHorizontally(TGGraphicControl *object)
{
    beginEdit();
    object->setLeft(m_width / 2 - object->Width() / 2);
    object->NotifyChanged();
    Invalidate();
    endEdit(QStringLiteral("Center Horizontally"));
}

void TGBasePanel::CenterSelectionVertically()
{
    beginEdit();
    const QList<TGGraphicControl *> selected = selection();
    for (TGGraphicControl *o : selected)
        CenterVertically(o);
    endEdit(QStringLiteral("Center Vertically"));
}

void TGBasePanel::CenterSelectionHorizontally()
{
    beginEdit();
    const QList<TGGraphicControl *> selected = selection();
    for (TGGraphicControl *o : selected)
        CenterHorizontally(o);
    endEdit(QStringLiteral("Center Horizontally"));
}

void TGBasePanel::AlignLeft()
{
    beginEdit();
    LabelChanged();
    int x = m_width;
    for (const TGGraphicControl *o : selection())
        x = std::min(x, o->Left());
    const QList<TGGraphicControl *> selected = selection();
    for (TGGraphicControl *o : selected)
        o->setLeft(x);
    Invalidate();
    endEdit(QStringLiteral("Align Left"));
}

void TGBasePanel::AlignRight()
{
    beginEdit();
    LabelChanged();
    int r = 0;
    for (const TGGraphicControl *o : selection())
        r = std::max(r, o->Left() + o->Width());
    const QList<TGGraphicControl *> selected = selection();
    for (TGGraphicControl *o : selected)
        o->setLeft(r - o->Width());
    Invalidate();
    endEdit(QStringLiteral("Align Right"));
}

void TGBasePanel::AlignTops()
{
    beginEdit();
    LabelChanged();
    int y = m_height;
    for (const TGGraphicControl *o : selection())
        y = std::min(y, o->Top());
    const QList<TGGraphicControl *> selected = selection();
    for (TGGraphicControl *o : selected)
        o->setTop(y);
    Invalidate();
    endEdit(QStringLiteral("Align Tops"));
}

void TGBasePanel::AlignBottoms()
{
    beginEdit();
    LabelChanged();
    int b = 0;
    for (const TGGraphicControl *o : selection())
        b = std::max(b, o->Top() + o->Height());
    const QList<TGGraphicControl *> selected = selection();
    for (TGGraphicControl *o : selected)
        o->setTop(b - o->Height());
    Invalidate();
    endEdit(QStringLiteral("Align Bottoms"));
}

void TGBasePanel::LockAll()
{
    beginEdit();
    for (TGGraphicControl *o : m_objects)
        if (!o->Locked())
            o->setLocked(true);
    endEdit(QStringLiteral("Lock All"));
}

void TGBasePanel::UnlockAll()
{
    beginEdit();
    for (TGGraphicControl *o : m_objects)
        if (o->Locked())
            o->setLocked(false);
    endEdit(QStringLiteral("Unlock All"));
}

void TGBasePanel::MarkAllSelectable()
{
    beginEdit();
    for (TGGraphicControl *o : m_objects)
        o->setUnselectable(false);
    endEdit(QStringLiteral("Mark All Selectable"));
}

void TGBasePanel::MarkAllUnselectable()
{
    beginEdit();
    for (TGGraphicControl *o : m_objects)
        o->setUnselectable(true);
    endEdit(QStringLiteral("Mark All Unselectable"));
}

void TGBasePanel::SelectAll()
{
    clearSelection();
    for (TGGraphicControl *o : m_objects)
        addToSelection(o);
}

void TGBasePanel::ApplyFontToSelection(const TGFont &font)
{
    beginEdit();
    m_font = font;
    const QList<TGGraphicControl *> selected = selection();
    for (TGGraphicControl *o : selected)
        o->ApplyFont(font);
    Invalidate();
    endEdit(QStringLiteral("Font"));
}
