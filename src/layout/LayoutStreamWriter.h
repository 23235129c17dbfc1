// Builds the bytes of a layout stream in memory: lists, object records and property entries
// with their value tags. The filer puts the bytes into a file in one piece, so a failed write
// never leaves half a layout behind. Each writer belongs to one write operation.
#pragma once

#include "TGColor.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class LayoutStreamWriter
{
public:
    enum Tag : quint8 {
        vaNull = 0x00,
        vaList = 0x01,
        vaInt8 = 0x02,
        vaInt16 = 0x03,
        vaInt32 = 0x04,
        vaExtended = 0x05,
        vaString = 0x06,
        vaIdent = 0x07,
        vaFalse = 0x08,
        vaTrue = 0x09,
        vaBinary = 0x0A,
        vaSet = 0x0B,
        vaLString = 0x0C,
        vaNil = 0x0D,
        vaCollection = 0x0E,
    };

    const QByteArray &bytes() const { return m_bytes; }

    // --- Structure.
    void writeListBegin() { writeByte(vaList); }
    void writeListEnd() { writeByte(vaNull); }
    // "TPF0", the class name and the object name (both short strings).
    void writeObjectBegin(const QByteArray &className, const QString &objectName);
    // Ends the properties and the (always empty) child list.
    void writeObjectEnd();
    void writePropertyName(const QByteArray &name);

    // --- Values.
    // In the shortest of the 8-, 16- and 32-bit forms that holds `value`.
    void writeInteger(qint32 value);
    void writeBoolean(bool value) { writeByte(value ? vaTrue : vaFalse); }
    // Windows-1252 text; up to 255 bytes with tag 0x06, longer with tag 0x0C.
    void writeString(const QString &text);
    // "False", "True" and "nil" (any case) become their own tags.
    void writeIdent(const QByteArray &ident);
    // By name when the colour has one, else as an integer.
    void writeColour(TColor colour);
    void writeSet(const QList<QByteArray> &members);
    void writeBinary(const QByteArray &data);
    void writeExtended(double value);
    // A list value with one string per line.
    void writeStringList(const QStringList &lines);

    // --- Property entries: the name, then the value.
    void integerProperty(const QByteArray &name, qint32 value);
    void booleanProperty(const QByteArray &name, bool value);
    void stringProperty(const QByteArray &name, const QString &value);
    void identProperty(const QByteArray &name, const QByteArray &ident);
    void colourProperty(const QByteArray &name, TColor value);

    // --- Raw bytes.
    void writeByte(quint8 byte) { m_bytes.append(static_cast<char>(byte)); }
    void writeUInt32(quint32 value);
    // One length byte, then the bytes. Requires: at most 255 bytes (longer names are cut).
    void writeShortString(const QByteArray &text);

private:
    QByteArray m_bytes;
};
