#include "TGDMultiLineLabel.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

void TGDMultiLineLabel::WriteProperties(LayoutStreamWriter &w) const
{
    TGMultiLineBaseLabel::WriteProperties(w);
    if (!DataFieldName.isEmpty())
        w.stringProperty("DataFieldName", DataFieldName);
    if (!DataFieldDescript.isEmpty())
        w.stringProperty("DataFieldDescript", DataFieldDescript);
}

bool TGDMultiLineLabel::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "DataFieldName")
        DataFieldName = r.readString();
    else if (name == "DataFieldDescript")
        DataFieldDescript = r.readString();
    else
        return TGMultiLineBaseLabel::ReadProperty(name, r);
    return true;
}
