#include "TSortOrders.h"

const QList<TSortOrder> &TSortOrders::all()
{
    static const QList<TSortOrder> orders = {
        {QStringLiteral("&Last Name"), QStringLiteral("LNAME")},
        {QStringLiteral("&First Name"), QStringLiteral("FNAME")},
        {QStringLiteral("&Title"), QStringLiteral("TITLE")},
        {QStringLiteral("&Organization"), QStringLiteral("ORG")},
        {QStringLiteral("&Street"), QStringLiteral("STREET")},
        {QStringLiteral("&City"), QStringLiteral("CITY")},
        {QStringLiteral("&State"), QStringLiteral("STATE")},
        {QStringLiteral("&Zip"), QStringLiteral("ZIP")},
        {QStringLiteral("&Country"), QStringLiteral("COUNTRY")},
        {QStringLiteral("&Phone"), QStringLiteral("PHONE")},
        {QStringLiteral("&E-mail"), QStringLiteral("EMAIL")},
        {QStringLiteral("&Fax"), QStringLiteral("FAX")},
        {QStringLiteral("&Date"), QStringLiteral("DATE")},
        {QStringLiteral("&Codes"), QStringLiteral("CODES")},
    };
    return orders;
}

QStringList TSortOrders::names()
{
    QStringList out;
    for (const TSortOrder &o : all())
        out.append(o.name());
    return out;
}

int TSortOrders::indexOfName(const QString &name)
{
    const QList<TSortOrder> &orders = all();
    for (int i = 0; i < orders.size(); ++i)
        if (orders[i].name().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const TSortOrder *TSortOrders::byName(const QString &name)
{
    const int i = indexOfName(name);
    return i < 0 ? nullptr : &all()[i];
}

const TSortOrder *TSortOrders::byTag(const QString &tag)
{
    for (const TSortOrder &o : all())
        if (o.tag.compare(tag, Qt::CaseInsensitive) == 0)
            return &o;
    return nullptr;
}
