// One symbol character (the one-character caption) in a symbol typeface; the box always fits
// the symbol, 1.1 times its width and height.
#pragma once

#include "TGBaseLabel.h"

class TGSymbolLabel : public TGBaseLabel
{
public:
    explicit TGSymbolLabel(TGOwner *owner);
    QByteArray ClassName() const override { return QByteArrayLiteral("TGSymbolLabel"); }

    // "Symbol Selector" on Ok: the font and the character with `code` (32..255).
    void ChooseSymbol(const TGFont &font, int code);
    // The box fitted to the symbol.
    QSize symbolBoxSize() const;

    // The surface's font does not apply to symbols.
    void ApplyFont(const TGFont &) override {}
    void CheckBoundsChanged() override;
};
