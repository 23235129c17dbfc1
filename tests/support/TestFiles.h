// Small file helpers every test folder shares: the bytes of a file, written or read whole,
// and the text of a PDF file as an independent reader sees it.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
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

// Writes `bytes` to `path`, making its folder when missing; false when the file cannot be
// written.
inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    const int slash = int(path.lastIndexOf(QLatin1Char('/')));
    if (slash > 0)
        QDir().mkpath(path.left(slash));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text of a PDF file as pdftotext reads it (layout kept), pages separated by form feeds.
inline QString pdfText(const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(process.readAllStandardOutput());
}
