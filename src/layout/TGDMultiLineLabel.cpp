#include "TGDMultiLineLabel.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TGDataPanel.h"
#include "TGDataSource.h"

TGDMultiLineLabel::TGDMultiLineLabel(TGOwner *owner) : TGMultiLineBaseLabel(owner)
{
    setMemoPlaceholder(true);
}

void TGDMultiLineLabel::ChooseField(const QString &fieldName, const QString &displayLabel)
{
    DataFieldName = fieldName;
    DataFieldDescript = displayLabel;
    NotifyChanged();
}

void TGDMultiLineLabel::ShowDataValue()
{
    TGDataPanel *surface = dataParent();
    const TGDataSource *data = surface ? surface->DataSet() : nullptr;
    const bool printing = isPrinting();
    const int found =
        data && !DataFieldDescript.isEmpty() ? data->indexOfDisplayLabel(DataFieldDescript) : -1;
    QStringList items;
    if (found < 0) {
        if (!printing)
            items = QStringList{QStringLiteral("<undefined memo>")};
    } else if (surface->DisplayDataValues() || printing) {
        if (!data->isMemoEmpty(found)) {
            const QString text = data->memoText(found);
            items = WordWrap() ? wrapText(text, scaledFont(), Width())
                               : QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
        }
    } else {
        items = QStringList{QLatin1Char('[') + DataFieldDescript + QLatin1Char(']')};
    }
    setItemsQuiet(items);
    setWrappedLines(WordWrap() ? items : QStringList());
    if (!printing)
        Invalidate();
}

void TGDMultiLineLabel::ClearDataValue()
{
    setItemsQuiet(QStringList());
    setWrappedLines(QStringList());
}

void TGDMultiLineLabel::ReadBegin()
{
    TGMultiLineBaseLabel::ReadBegin();
    DataFieldName.clear();
    DataFieldDescript.clear();
}

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
