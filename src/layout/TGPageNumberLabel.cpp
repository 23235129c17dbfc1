#include "TGPageNumberLabel.h"

#include "TBaseReport.h"

void TGPageNumberLabel::UpdateCaption(bool printing, TBaseReport *engine)
{
    const QString text = printing && engine ? QString::number(engine->PageNumber()) : QStringLiteral("##");
    if (text != Caption())
        setCaptionQuiet(text);
}
