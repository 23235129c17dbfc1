#include "TCalcFields.h"

#include "TDateText.h"
#include "TText.h"

bool TCalcFields::Tagged(const QString &tag, const QString &globalTagId)
{
    return tag == globalTagId;
}

QString TCalcFields::DisplayDate(const QString &date)
{
    return TDateText::display(date);
}

QString TCalcFields::DisplayDate(const QString &date, const QString &pattern)
{
    return TDateText::display(date, pattern);
}

QString TCalcFields::FullName(const QString &fname, const QString &middle, const QString &lname)
{
    const QString text = TText::TrimRight(fname + QLatin1Char(' ') + middle) + QLatin1Char(' ') + lname;
    return text.left(kCompositeWidth);
}

QString TCalcFields::FullNameWithPrefix(const QString &prefix, const QString &fname, const QString &middle,
                                        const QString &lname)
{
    const QString front = TText::Trim(prefix + QLatin1Char(' ') + fname + QLatin1Char(' ') + middle);
    const QString text = front + QLatin1Char(' ') + lname;
    return text.left(kCompositeWidth);
}

QString TCalcFields::CityStateZip(const QString &city, const QString &state, const QString &zip)
{
    const QString text =
        TText::TrimLeft(city + QLatin1Char(' ')) + TText::TrimLeft(state + QLatin1Char(' ')) + zip;
    return text.left(kCompositeWidth);
}
