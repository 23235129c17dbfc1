#include "TGClassRegistry.h"

#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGDateTimeLabel.h"
#include "TGFIMBarCode.h"
#include "TGImage.h"
#include "TGIntelligentMailBarCode.h"
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

using Factory = std::unique_ptr<TGGraphicControl> (*)(TGOwner *);

template <class T> std::unique_ptr<TGGraphicControl> make(TGOwner *owner)
{
    return std::make_unique<T>(owner);
}

struct Known {
    const char *name;
    Factory factory;
};

const Known kKnown[] = {
    {"TGPLabel", make<TGPLabel>},
    {"TGPDLabel", make<TGPDLabel>},
    {"TGCounterLabel", make<TGCounterLabel>},
    {"TGSymbolLabel", make<TGSymbolLabel>},
    {"TGDateTimeLabel", make<TGDateTimeLabel>},
    {"TGPageNumberLabel", make<TGPageNumberLabel>},
    {"TGMultiLineLabel", make<TGMultiLineLabel>},
    {"TGDMultiLineLabel", make<TGDMultiLineLabel>},
    {"TGDMultiLineAddressLabel", make<TGDMultiLineAddressLabel>},
    {"TGPostNetBarCode", make<TGPostNetBarCode>},
    {"TGFIMBarCode", make<TGFIMBarCode>},
    {"TGImage", make<TGImage>},
    {"TGLabelShapes", make<TGLabelShapes>},
    {"Trpshapes", make<Trpshapes>},
    {"TGLineShape", make<TGLineShape>},
    {"TGIntelligentMailBarCode", make<TGIntelligentMailBarCode>},
};

QSet<QByteArray> &registered()
{
    static QSet<QByteArray> names;
    return names;
}

} // namespace

void TGClassRegistry::registerKind(TGSurfaceKind kind)
{
    static const char *const label[] = {"TGLineShape",
                                        "TGPostNetBarCode",
                                        "TGImage",
                                        "TGLabelShapes",
                                        "TGPLabel",
                                        "TGPDLabel",
                                        "TGCounterLabel",
                                        "TGSymbolLabel",
                                        "TGMultiLineLabel",
                                        "TGDMultiLineLabel",
                                        "TGDMultiLineAddressLabel"};
    static const char *const envelope[] = {"TGLineShape", "TGPostNetBarCode", "TGFIMBarCode",
                                           "TGImage",     "TGLabelShapes",    "TGPLabel",
                                           "TGPDLabel",   "TGMultiLineLabel", "TGDMultiLineAddressLabel"};
    static const char *const report[] = {"TGLineShape",       "TGImage",           "TGPLabel",
                                         "TGPDLabel",         "TGDMultiLineLabel", "TGDateTimeLabel",
                                         "TGPageNumberLabel", "Trpshapes",         "TGSymbolLabel"};
    switch (kind) {
    case TGSurfaceKind::Label:
        for (const char *n : label)
            registerClass(n);
        registerClass("TGIntelligentMailBarCode");
        break;
    case TGSurfaceKind::Envelope:
        for (const char *n : envelope)
            registerClass(n);
        registerClass("TGIntelligentMailBarCode");
        break;
    case TGSurfaceKind::Report:
        for (const char *n : report)
            registerClass(n);
        break;
    }
}

void TGClassRegistry::registerClass(const QByteArray &className)
{
    registered().insert(className);
}

bool TGClassRegistry::isRegistered(const QByteArray &className)
{
    return registered().contains(className);
}

std::unique_ptr<TGGraphicControl> TGClassRegistry::create(const QByteArray &className, TGOwner *owner)
{
    if (!isRegistered(className))
        return nullptr;
    for (const Known &k : kKnown)
        if (className == k.name)
            return k.factory(owner);
    return nullptr;
}

void TGClassRegistry::clear()
{
    registered().clear();
}
