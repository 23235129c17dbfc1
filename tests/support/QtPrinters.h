// Readable GoogleTest output for Qt values: include it in tests that compare them.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QRect>
#include <QString>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QByteArray &b, std::ostream *os)
{
    *os << '"' << b.toStdString() << "\" (" << b.size() << " bytes)";
}

inline void PrintTo(const QDate &d, std::ostream *os)
{
    *os << (d.isValid() ? d.toString(Qt::ISODate).toStdString() : std::string("invalid date"));
}

inline void PrintTo(const QRect &r, std::ostream *os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ')';
}
