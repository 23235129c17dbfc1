// The failure a layout stream read or write raises inside the layout library. The filer
// catches it at its boundary and hands the message on in a TResult, so no exception leaves
// the library.
#pragma once

#include <QString>

struct TLayoutError {
    QString message;
};

// The messages of the stream reader and the file layer, word for word.
namespace LayoutMessages {
inline QString cannotCreate(const QString &file)
{
    return QStringLiteral("Cannot create file %1").arg(file);
}
inline QString cannotOpen(const QString &file)
{
    return QStringLiteral("Cannot open file %1").arg(file);
}
inline QString streamRead()
{
    return QStringLiteral("Stream read error");
}
inline QString invalidFormat()
{
    return QStringLiteral("Invalid stream format");
}
inline QString classNotFound(const QString &cls)
{
    return QStringLiteral("Class %1 not found").arg(cls);
}
inline QString invalidValue()
{
    return QStringLiteral("Invalid property value");
}
inline QString noProperty()
{
    return QStringLiteral("Property does not exist");
}
inline QString errorReading(const QString &object, const QString &property, const QString &message)
{
    return QStringLiteral("Error reading %1.%2: %3").arg(object, property, message);
}
} // namespace LayoutMessages
