#include "TGFIMBarCode.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TBaseReport.h"

#include <QPainter>

namespace {
const QList<int> kTypeA = {1, 3, 9, 15, 17};
const QList<int> kTypeB = {1, 5, 7, 11, 13, 17};
const QList<int> kTypeC = {1, 3, 7, 11, 15, 17};

int screenPixels(double pixelsPerInch, double inches, float scale)
{
    return Rounding::truncate(pixelsPerInch * inches * static_cast<double>(scale));
}
} // namespace

TGFIMBarCode::TGFIMBarCode(TGOwner *owner) : TGGraphicControl(owner)
{
    initSize(60, 54);
}

QList<int> TGFIMBarCode::barColumns(TFIMType type)
{
    switch (type) {
    case fimTypeB:
        return kTypeB;
    case fimTypeC:
        return kTypeC;
    case fimTypeA:
        break;
    }
    return kTypeA;
}

QString TGFIMBarCode::grid(TFIMType type)
{
    QString cells(kColumns, QLatin1Char('0'));
    for (int column : barColumns(type))
        cells[column - 1] = QLatin1Char('1');
    return cells;
}

void TGFIMBarCode::ChooseFIMType(TFIMType type)
{
    NotifyChanged();
    if (type == FIMType)
        return;
    FIMType = type;
    Invalidate();
}

int TGFIMBarCode::screenSide() const
{
    return screenPixels(pixelsPerInch(), kSideInches, ScaleFactor());
}

void TGFIMBarCode::SetBounds(int left, int top, int width, int height)
{
    if (isReading() || parent() == nullptr) {
        TGGraphicControl::SetBounds(left, top, width, height);
        return;
    }
    const int side = screenSide();
    TGGraphicControl::SetBounds(left, top, side, side);
}

void TGFIMBarCode::Paint(QPainter &painter)
{
    const double ppi = pixelsPerInch();
    const int column = screenPixels(ppi, kColumnInches, ScaleFactor());
    const int height = screenPixels(ppi, kBarHeightInches, ScaleFactor());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (int n : barColumns(FIMType))
        painter.drawRect(QRect((n - 1) * column, 0, column, height));
    TGGraphicControl::Paint(painter);
}

void TGFIMBarCode::Print(TBaseReport &engine, InchPoint origin)
{
    const InchPoint topLeft = pagePoint(origin, DesignPixels(0), DesignPixels(0));
    engine.SelectBrush(Qt::black, TBrushStyle::Solid);
    for (int n : barColumns(FIMType)) {
        const InchPoint from = topLeft.offset(Inches((n - 1) * kColumnInches), Inches(0));
        engine.DrawRectangle(from, topLeft.offset(Inches(n * kColumnInches), Inches(kBarHeightInches)));
    }
}

void TGFIMBarCode::WriteProperties(LayoutStreamWriter &w) const
{
    TGGraphicControl::WriteProperties(w);
    w.identProperty("FIMType", TFIMTypeNames[FIMType]);
}

bool TGFIMBarCode::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "FIMType")
        FIMType = static_cast<TFIMType>(r.readEnum(TFIMTypeNames, TFIMTypeCount));
    else
        return TGGraphicControl::ReadProperty(name, r);
    return true;
}
