// Small file helpers for the data tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include "QtPrinters.h"

#include <string>

inline QString qs(const std::string &s)
{
    return QString::fromStdString(s);
}

// The bytes of a string literal, embedded NULs included.
template <size_t N> QByteArray raw(const char (&literal)[N])
{
    return QByteArray(literal, qsizetype(N - 1));
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
