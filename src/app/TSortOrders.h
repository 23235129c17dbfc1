// The sort orders of the "&Sort" menu: each item's caption and the index tag it selects, in
// menu order. A sort name is the caption without its leading "&"; names are matched without
// regard to case. Static data; nothing to own.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct TSortOrder {
    QString caption; // "&Last Name"
    QString tag;     // "LNAME"

    // The caption without its first character: "Last Name".
    QString name() const { return caption.mid(1); }
};

class TSortOrders
{
public:
    // The 14 orders in menu order; "Last Name" first, the order a file opens in.
    static const QList<TSortOrder> &all();
    // The sort names in menu order.
    static QStringList names();
    // The order whose sort name is `name` (any case), or null.
    static const TSortOrder *byName(const QString &name);
    // The order that selects tag `tag` (any case), or null.
    static const TSortOrder *byTag(const QString &tag);
    // The menu position of the sort name `name` (any case), or -1.
    static int indexOfName(const QString &name);
};
