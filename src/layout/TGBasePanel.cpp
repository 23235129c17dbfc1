#include "TGBasePanel.h"

#include "TGGraphicControl.h"
#include "TGLabelObjectFiler.h"
#include "TGOwner.h"
#include "TProgramFolder.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

TGBasePanel::TGBasePanel(TGOwner *owner, double pixelsPerInch) : m_owner(owner)
{
    setPixelsPerInch(pixelsPerInch);
}

TGBasePanel::~TGBasePanel()
{
    m_selection.clear();
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
    m_selection.removeAll(object);
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

void TGBasePanel::clearSelection()
{
    if (m_selection.isEmpty())
        return;
    m_selection.clear();
    Invalidate();
}

void TGBasePanel::addToSelection(TGGraphicControl *object)
{
    if (!object || object->Unselectable() || m_selection.contains(object))
        return;
    m_selection.append(object);
    Invalidate();
}

void TGBasePanel::removeFromSelection(TGGraphicControl *object)
{
    if (m_selection.removeAll(object) > 0)
        Invalidate();
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
    for (TGGraphicControl *o : m_objects) {
        if (!o->isVisible())
            continue;
        p.save();
        p.translate(o->Left(), o->Top());
        p.setClipRect(QRect(0, 0, o->Width(), o->Height()));
        o->Paint(p);
        p.restore();
    }
    if (m_bandActive) {
        // Drawn in XOR so a second drawing erases it.
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rubberBand().normalized());
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
    if (m_selection.size() == 1 && button == Qt::RightButton && ContextMenuEvent)
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
    if (TGGraphicControl *o = objectAt(point)) {
        // An object that is not wired takes the press for itself.
        if (o->isWired())
            ObjectMouseDown(o, button, shift, point.x() - o->Left(), point.y() - o->Top());
        return;
    }
    if (button == Qt::LeftButton) {
        m_bandActive = true;
        m_bandStart = m_bandEnd = point;
        m_cursor = TGCursor::HandPoint;
        Invalidate();
    } else if (ContextMenuEvent) {
        ContextMenuEvent(nullptr, point);
    }
}

void TGBasePanel::MouseMove(Qt::KeyboardModifiers, const QPoint &point)
{
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

void TGBasePanel::MouseUp(Qt::MouseButton, Qt::KeyboardModifiers shift, const QPoint &point)
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
    CreateObject(band);
    if (DroppedObjectEvent)
        DroppedObjectEvent(band);
}

void TGBasePanel::MouseDoubleClick(const QPoint &point)
{
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
