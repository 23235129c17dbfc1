#include "TGPDLabel.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TGDataPanel.h"
#include "TGDataSource.h"

namespace {
QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString trimRightBlanks(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.left(end);
}
} // namespace

void TGPDLabel::ChooseField(const QString &fieldName, const QString &displayLabel)
{
    DataFieldName = fieldName;
    DataFieldDescript = displayLabel;
    NotifyChanged();
}

void TGPDLabel::ShowDataValue()
{
    TGDataPanel *surface = dataParent();
    TGDataSource *data = surface ? surface->DataSet() : nullptr;
    const bool printing = isPrinting();
    int found = -1;
    if (data && !DataFieldDescript.isEmpty())
        for (int i = 0; i < data->fieldCount(); ++i)
            if (data->displayLabel(i) == DataFieldDescript)
                found = i; // the last match wins
    QString caption = Caption();
    if (found >= 0) {
        if (surface->DisplayDataValues() || printing) {
            caption = trimBlanks(data->fieldText(found));
            if (caption.isEmpty() && !printing)
                caption = QStringLiteral("<blank field>");
        } else {
            caption = QLatin1Char('[') + DataFieldDescript + QLatin1Char(']');
        }
    } else if (!printing) {
        caption = QStringLiteral("<undefined field>");
    }
    setCaptionQuiet(trimRightBlanks(caption));
    if (!printing)
        Invalidate();
}

void TGPDLabel::WriteProperties(LayoutStreamWriter &w) const
{
    TGBaseLabel::WriteProperties(w);
    if (!DataFieldName.isEmpty())
        w.stringProperty("DataFieldName", DataFieldName);
    if (!DataFieldDescript.isEmpty())
        w.stringProperty("DataFieldDescript", DataFieldDescript);
    w.integerProperty("LengthOfText", LengthOfText);
}

bool TGPDLabel::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "DataFieldName")
        DataFieldName = r.readString();
    else if (name == "DataFieldDescript")
        DataFieldDescript = r.readString();
    else if (name == "LengthOfText")
        LengthOfText = r.readInteger();
    else
        return TGBaseLabel::ReadProperty(name, r);
    return true;
}
