#include "TGDesignPanel.h"

#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGDateTimeLabel.h"
#include "TGFIMBarCode.h"
#include "TGImage.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGMultiLineLabel.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPageNumberLabel.h"
#include "TGPostNetBarCode.h"
#include "TGSymbolLabel.h"
#include "Trpshapes.h"

#include <QSet>

namespace {

void registerOnce(TGSurfaceKind kind)
{
    static QSet<int> done;
    if (done.contains(static_cast<int>(kind)) && TGClassRegistry::isRegistered("TGPLabel"))
        return;
    done.insert(static_cast<int>(kind));
    TGClassRegistry::registerKind(kind);
}

} // namespace

TGDesignPanel::TGDesignPanel(TGOwner *owner, double pixelsPerInch, TGSurfaceKind kind)
    : TGDataPanel(owner, pixelsPerInch), m_kind(kind)
{
    registerOnce(kind);
}

void TGDesignPanel::setPanelState(int state)
{
    m_panelState = state;
    setPointing(state == 0);
}

QRect TGDesignPanel::widenedRect(const QRect &rect)
{
    QRect r = rect;
    if (r.width() < 25)
        r.setWidth(50);
    if (r.height() < 15)
        r.setHeight(15);
    return r;
}

void TGDesignPanel::beep()
{
    if (BeepEvent)
        BeepEvent();
}

void TGDesignPanel::message(const QString &text)
{
    if (MessageEvent)
        MessageEvent(text);
}

TGGraphicControl *TGDesignPanel::placeNew(std::unique_ptr<TGGraphicControl> object, const QRect &rect)
{
    object->Loaded();
    return PlaceNewObject(std::move(object), rect);
}

void TGDesignPanel::openDialog(TGGraphicControl *object, TGNewObjectDialog dialog)
{
    if (NewObjectDialogEvent)
        NewObjectDialogEvent(object, dialog);
}

TGGraphicControl *TGDesignPanel::newText(const QRect &rect)
{
    auto label = std::make_unique<TGPLabel>(owner());
    label->setFont(Font());
    label->setCaption(QStringLiteral("<text>"));
    auto *o = static_cast<TGPLabel *>(placeNew(std::move(label), rect));
    openDialog(o, TGNewObjectDialog::Text);
    o->FitToText();
    return o;
}

TGGraphicControl *TGDesignPanel::newDataField(const QRect &rect)
{
    auto label = std::make_unique<TGPDLabel>(owner());
    label->setFont(Font());
    label->DataFieldName = QStringLiteral("<field>");
    auto *o = static_cast<TGPDLabel *>(placeNew(std::move(label), rect));
    openDialog(o, TGNewObjectDialog::SelectField);
    RefreshData();
    o->FitToText();
    return o;
}

TGGraphicControl *TGDesignPanel::newSymbol(const QRect &rect, bool fit)
{
    auto *o = static_cast<TGSymbolLabel *>(placeNew(std::make_unique<TGSymbolLabel>(owner()), rect));
    openDialog(o, TGNewObjectDialog::SymbolSelector);
    if (fit)
        o->FitToText();
    return o;
}

TGGraphicControl *TGDesignPanel::newCounter(const QRect &rect)
{
    auto counter = std::make_unique<TGCounterLabel>(owner());
    counter->setFont(Font());
    counter->setTextBefore(QString());
    counter->setTextAfter(QString());
    counter->setStartingnumber(1000);
    auto *o = static_cast<TGCounterLabel *>(placeNew(std::move(counter), rect));
    o->FitToText();
    return o;
}

TGGraphicControl *TGDesignPanel::newMultiLineText(const QRect &rect)
{
    auto text = std::make_unique<TGMultiLineLabel>(owner());
    text->setFont(Font());
    auto *o = static_cast<TGMultiLineLabel *>(placeNew(std::move(text), rect));
    openDialog(o, TGNewObjectDialog::MultiLineText);
    o->FitToLines();
    return o;
}

TGGraphicControl *TGDesignPanel::newMemo(const QRect &rect)
{
    auto memo = std::make_unique<TGDMultiLineLabel>(owner());
    memo->setFont(Font());
    memo->DataFieldName = QStringLiteral("Memo");
    memo->DataFieldDescript = QStringLiteral("MEMO");
    TGGraphicControl *o = placeNew(std::move(memo), rect);
    RefreshData();
    return o;
}

TGGraphicControl *TGDesignPanel::newAddressBlock(const QRect &rect)
{
    auto block = std::make_unique<TGDMultiLineAddressLabel>(owner());
    block->setFont(Font());
    auto *o = static_cast<TGDMultiLineAddressLabel *>(placeNew(std::move(block), rect));
    RefreshData();
    o->FitToLines();
    return o;
}

TGGraphicControl *TGDesignPanel::newShape(const QRect &rect, int shapeType, bool report)
{
    std::unique_ptr<TGLabelShapes> shape;
    if (report)
        shape = std::make_unique<Trpshapes>(owner());
    else
        shape = std::make_unique<TGLabelShapes>(owner());
    shape->Shape = static_cast<TShapeType>(shapeType);
    return placeNew(std::move(shape), rect);
}

TGGraphicControl *TGDesignPanel::newLine(const QRect &rect, int lineStyle)
{
    auto line = std::make_unique<TGLineShape>(owner());
    line->LineStyle = static_cast<TLineStyle>(lineStyle);
    return placeNew(std::move(line), rect);
}

TGGraphicControl *TGDesignPanel::newImage(const QRect &rect)
{
    TGGraphicControl *o = placeNew(std::make_unique<TGImage>(owner()), rect);
    openDialog(o, TGNewObjectDialog::LoadImage);
    return o;
}

TGGraphicControl *TGDesignPanel::newDateTime(const QRect &rect)
{
    auto label = std::make_unique<TGDateTimeLabel>(owner());
    label->setFont(Font());
    auto *o = static_cast<TGDateTimeLabel *>(placeNew(std::move(label), rect));
    o->FitToText();
    return o;
}

TGGraphicControl *TGDesignPanel::newPageNumber(const QRect &rect)
{
    auto label = std::make_unique<TGPageNumberLabel>(owner());
    label->setFont(Font());
    auto *o = static_cast<TGPageNumberLabel *>(placeNew(std::move(label), rect));
    o->FitToText();
    return o;
}

TGGraphicControl *TGDesignPanel::newPostNet(const QRect &rect)
{
    auto bars = std::make_unique<TGPostNetBarCode>(owner());
    bars->ZipCodeField = QStringLiteral("ZIP");
    bars->AddressField = QStringLiteral("STREET");
    TGGraphicControl *o = placeNew(std::move(bars), rect);
    RefreshData();
    return o;
}

TGGraphicControl *TGDesignPanel::newFIM(const QRect &rect)
{
    return placeNew(std::make_unique<TGFIMBarCode>(owner()), rect);
}
