#include "TGMultiLineBaseLabel.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TBaseReport.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace {
QString trimmedRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.left(end);
}
} // namespace

TGMultiLineBaseLabel::TGMultiLineBaseLabel(TGOwner *owner) : TGGraphicControl(owner)
{
    initSize(kNewWidth, kNewHeight);
}

void TGMultiLineBaseLabel::setItems(const QStringList &items)
{
    m_items = items;
    if (m_wordWrap)
        wrapItems();
    Invalidate();
}

void TGMultiLineBaseLabel::setFont(const TGFont &font)
{
    m_font = font;
    Invalidate();
}

void TGMultiLineBaseLabel::setAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    Invalidate();
}

void TGMultiLineBaseLabel::setWordWrap(bool on)
{
    m_wordWrap = on;
    Invalidate();
}

QString TGMultiLineBaseLabel::placeholder() const
{
    return m_memoPlaceholder ? QStringLiteral("<blank memo>") : QStringLiteral("<blank>");
}

void TGMultiLineBaseLabel::ChooseFont(const TGFont &font)
{
    setFont(font);
    ShowDataValue();
    if (m_wordWrap)
        Rewrap();
}

void TGMultiLineBaseLabel::ChooseAlignment(TAlignment alignment)
{
    setAlignment(alignment);
    NotifyChanged();
}

void TGMultiLineBaseLabel::ToggleWordWrap()
{
    setWordWrap(!m_wordWrap);
    if (m_wordWrap)
        Rewrap();
    Invalidate();
    NotifyChanged();
}

QFont TGMultiLineBaseLabel::scaledFont() const
{
    // qtFont keeps the size at 1 point or more, so a damaged size or a deep zoom still draws.
    return m_font.qtFont(pixelsPerInch(), ScaleFactor());
}

QStringList TGMultiLineBaseLabel::wrapText(const QString &text, const QFont &font, int width)
{
    QStringList out;
    const double lineWidth = std::max(1, width);
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        const QString line = QString(paragraph).remove(QLatin1Char('\r'));
        if (line.isEmpty()) {
            out.append(QString());
            continue;
        }
        QTextLayout layout(line, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(lineWidth);
            out.append(trimmedRight(line.mid(l.textStart(), l.textLength())));
        }
        layout.endLayout();
    }
    return out;
}

void TGMultiLineBaseLabel::wrapItems()
{
    m_wrapped = wrapText(m_items.join(QLatin1Char('\n')), scaledFont(), Width());
}

void TGMultiLineBaseLabel::Rewrap()
{
    if (!m_wordWrap)
        return;
    wrapItems();
    Invalidate();
}

void TGMultiLineBaseLabel::FitToLines()
{
    const QFont font = scaledFont();
    const QFontMetrics fm(font);
    const QStringList &shown = lines();
    int widest = Width();
    for (const QString &line : shown)
        widest = std::max(widest, fm.horizontalAdvance(line));
    SetBounds(Left(), Top(), widest, static_cast<int>(shown.size()) * fm.height());
    Invalidate();
}

void TGMultiLineBaseLabel::CheckBoundsChanged()
{
    if (m_wordWrap)
        Rewrap();
    TGGraphicControl::CheckBoundsChanged();
}

void TGMultiLineBaseLabel::Loaded()
{
    TGGraphicControl::Loaded();
    if (m_wordWrap)
        wrapItems();
}

void TGMultiLineBaseLabel::Paint(QPainter &painter)
{
    QStringList shown = lines();
    if (shown.isEmpty() || (shown.size() == 1 && shown.first().trimmed().isEmpty()))
        shown = QStringList{placeholder()};
    const QFont font = scaledFont();
    painter.save();
    painter.setFont(font);
    painter.setPen(TGColor::toQColor(m_font.color()));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setClipRect(QRect(0, 0, Width(), Height()), Qt::IntersectClip);
    const QFontMetrics fm(font);
    const int h = fm.height();
    for (int i = 0; i < shown.size(); ++i) {
        const int w = fm.horizontalAdvance(shown[i]);
        const int x = m_alignment == taRightJustify ? Width() - w - 1
                      : m_alignment == taCenter     ? Width() / 2 - w / 2
                                                    : 0;
        painter.drawText(x, i * h + fm.ascent(), shown[i]);
    }
    painter.restore();
    TGGraphicControl::Paint(painter);
}

void TGMultiLineBaseLabel::Print(TBaseReport &engine, InchPoint origin)
{
    const QStringList shown = lines();
    if (shown.isEmpty())
        return;
    const double p = pixelsPerInch();
    const double rx = engine.XDPI();
    const double ry = engine.YDPI();
    // One design pixel in printer pixels.
    const int d = Rounding::truncate(rx / p);
    engine.setLineHeightMethod(TBaseReport::lhmFont);
    // A damaged size prints at 1 point rather than in whatever font came before.
    engine.SelectFont(m_font.name(), std::clamp(m_font.size(), 1, TGFont::kMaxDrawPoints));
    engine.SetBold(m_font.isBold());
    engine.SetFontColor(TGColor::toQColor(m_font.color()));
    engine.SetItalic(m_font.isItalic());
    engine.SetFontAngle(0);
    const int h = std::max(1, Rounding::halfAwayFromZero(engine.LineHeight().value * ry));
    engine.SelectBrush(Qt::white, TBrushStyle::Clear);

    const InchPoint topLeft = pagePoint(origin, DesignPixels(0), DesignPixels(0));
    const InchPoint bottomRight = pagePoint(origin, DesignPixels(Width()), DesignPixels(Height()));
    const int left = Rounding::halfAwayFromZero(topLeft.x.value * rx);
    const int top = Rounding::halfAwayFromZero(topLeft.y.value * ry);
    const int right = Rounding::halfAwayFromZero(bottomRight.x.value * rx);
    const int bottom = Rounding::halfAwayFromZero(bottomRight.y.value * ry);
    const TInchRect clip = engine.InchRect(topLeft, bottomRight);
    int t = top;
    for (const QString &line : shown) {
        // Only lines whose top lies inside the box print; the rest are cut off.
        if (t >= bottom)
            break;
        const int w = Rounding::halfAwayFromZero(engine.MeasureText(line).value * rx);
        const int x = m_alignment == taRightJustify ? (right - left) - w - d
                      : m_alignment == taCenter     ? (right - left) / 2 + d - w / 2
                                                    : 0;
        engine.DrawTextInRect(clip, InchPoint{topLeft.x + Inches(x / rx), Inches(t / ry)}, line);
        t += h;
    }
}

void TGMultiLineBaseLabel::WriteProperties(LayoutStreamWriter &w) const
{
    TGGraphicControl::WriteProperties(w);
    if (!m_items.isEmpty()) {
        w.writePropertyName("Items.Strings");
        w.writeStringList(m_items);
    }
    w.booleanProperty("AutoSize", m_autoSize);
    if (m_alignment != taLeftJustify)
        w.identProperty("Alignment", TAlignmentNames[m_alignment]);
    m_font.write(w, "Font", pixelsPerInch());
    if (m_wordWrap)
        w.booleanProperty("WordWrap", true);
}

bool TGMultiLineBaseLabel::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "Items.Strings")
        m_items = r.readStringList();
    else if (name == "AutoSize")
        m_autoSize = r.readBoolean();
    else if (name == "Alignment")
        m_alignment = static_cast<TAlignment>(r.readEnum(TAlignmentNames, TAlignmentCount));
    else if (name.startsWith("Font."))
        return m_font.readProperty(name.mid(5), r, pixelsPerInch());
    else if (name == "WordWrap")
        m_wordWrap = r.readBoolean();
    else
        return TGGraphicControl::ReadProperty(name, r);
    return true;
}
