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
