// FIM barcode (facing identification mark) of an envelope.
#pragma once

#include "TGEnums.h"
#include "TGGraphicControl.h"

class TGFIMBarCode : public TGGraphicControl
{
public:
    // Created 0.625 by 0.5625 inches at 96 pixels per inch.
    explicit TGFIMBarCode(TGOwner *owner);
    QByteArray ClassName() const override { return QByteArrayLiteral("TGFIMBarCode"); }

    TFIMType FIMType = fimTypeA;

    // The grid the mark stands on: 17 columns 1/32 inch wide, bars 0.5625 inch high.
    static constexpr int kColumns = 17;
    static constexpr double kColumnInches = 1.0 / 32.0;
    static constexpr double kBarHeightInches = 0.5625;
    static constexpr double kSideInches = 0.625;
    // The columns (from 1) that hold a bar; read at the odd columns they are the USPS FIM
    // A, B and C patterns.
    static QList<int> barColumns(TFIMType type);
    // The grid as 17 characters, '1' for a bar and '0' for a gap.
    static QString grid(TFIMType type);

    // "Set FIM to Type A/B/C": the type, a repaint when it changed, the change notification.
    void ChooseFIMType(TFIMType type);
    // The side of the square the object keeps on screen, in pixels at its zoom.
    int screenSide() const;

    // Any change of size keeps the object square (not while it is being read).
    void SetBounds(int left, int top, int width, int height) override;
    void Paint(QPainter &painter) override;
    void Print(TBaseReport &engine, InchPoint origin) override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;
};
