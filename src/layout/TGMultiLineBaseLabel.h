// Base of the multi-line text objects: the lines, their font, alignment and word wrapping,
// and their stream entries. The lines are drawn one under another in the object's font, on
// screen and through the print engine; wrapping breaks them with QTextLayout in that font,
// so screen and paper break at the same words.
#pragma once

#include "TGEnums.h"
#include "TGGraphicControl.h"

#include <QStringList>

class QFont;

class TGMultiLineBaseLabel : public TGGraphicControl
{
public:
    static constexpr int kNewWidth = 190;
    static constexpr int kNewHeight = 33;

    explicit TGMultiLineBaseLabel(TGOwner *owner);

    // --- Stored properties.
    const QStringList &Items() const { return m_items; }
    // Repaints (and rewraps the lines when wrapping); no change notification.
    void setItems(const QStringList &items);
    const TGFont &Font() const { return m_font; }
    void setFont(const TGFont &font);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on) { m_autoSize = on; }

    // --- Run-time state.
    // `Items` wrapped to the width (when wrapping; rebuilt by Rewrap, never stored).
    const QStringList &wrappedLines() const { return m_wrapped; }
    // The lines drawn: the wrapped lines when wrapping, else `Items`.
    const QStringList &lines() const { return m_wordWrap ? m_wrapped : m_items; }
    // The single line shown on screen for an object without text.
    QString placeholder() const;

    // --- Commands.
    // "Font" (after the font dialog) and the surface's "Font": the font, the data shown again
    // and, when wrapping, Rewrap.
    void ChooseFont(const TGFont &font);
    // "Left", "Center", "Right": alignment, repaint, change notification.
    void ChooseAlignment(TAlignment alignment);
    // "Word Wrap": toggles wrapping (turning it on rewraps), repaint, change notification.
    void ToggleWordWrap();
    // Recomputes the wrapped lines from `Items`, the width and the font (only when wrapping).
    virtual void Rewrap();
    // Height := lines × the height of "XXX" in the scaled font; width grows to the widest line.
    void FitToLines();

    // The font at the object's zoom, as drawn and wrapped on screen: at least 1 point.
    QFont scaledFont() const;
    // `text` (lines separated by '\n') broken into lines no wider than `width` pixels in
    // `font`: at blanks where a word fits, inside a word that is wider than the line alone.
    // Trailing blanks of a broken line are dropped; an empty line stays one empty line.
    static QStringList wrapText(const QString &text, const QFont &font, int width);

    void Paint(QPainter &painter) override;
    void Print(TBaseReport &engine, InchPoint origin) override;
    void ApplyFont(const TGFont &font) override { ChooseFont(font); }
    // A change of position or size rewraps while wrapping.
    void CheckBoundsChanged() override;
    void ReadBegin() override { m_items.clear(); }
    void Loaded() override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;

protected:
    // The wrapped lines from `Items`, the width and the scaled font.
    void wrapItems();
    // Memo objects show "<blank memo>" for no text, the others "<blank>".
    void setMemoPlaceholder(bool on) { m_memoPlaceholder = on; }
    void setWrappedLines(const QStringList &lines) { m_wrapped = lines; }
    // Sets the lines without repainting (values fetched while printing).
    void setItemsQuiet(const QStringList &items) { m_items = items; }

private:
    QStringList m_items;
    TGFont m_font;
    TAlignment m_alignment = taLeftJustify;
    bool m_wordWrap = false;
    bool m_autoSize = false;
    QStringList m_wrapped;
    bool m_memoPlaceholder = false;
};
