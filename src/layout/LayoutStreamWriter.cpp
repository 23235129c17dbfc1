#include "LayoutStreamWriter.h"

#include "TCp1252.h"
#include "TExtendedFloat.h"

void LayoutStreamWriter::writeObjectBegin(const QByteArray &className, const QString &objectName)
{
    m_bytes.append("TPF0", 4);
    writeShortString(className);
    writeShortString(TCp1252::fromString(objectName));
}

void LayoutStreamWriter::writeObjectEnd()
{
    writeByte(vaNull);
    writeByte(vaNull);
}

void LayoutStreamWriter::writePropertyName(const QByteArray &name)
{
    writeShortString(name);
}

void LayoutStreamWriter::writeInteger(qint32 value)
{
    if (value >= -128 && value <= 127) {
        writeByte(vaInt8);
        writeByte(static_cast<quint8>(value));
    } else if (value >= -32768 && value <= 32767) {
        writeByte(vaInt16);
        const quint16 v = static_cast<quint16>(value);
        writeByte(v & 0xFF);
        writeByte(v >> 8);
    } else {
        writeByte(vaInt32);
        writeUInt32(static_cast<quint32>(value));
    }
}

void LayoutStreamWriter::writeString(const QString &text)
{
    const QByteArray bytes = TCp1252::fromString(text);
    if (bytes.size() <= 255) {
        writeByte(vaString);
        writeShortString(bytes);
    } else {
        writeByte(vaLString);
        writeUInt32(static_cast<quint32>(bytes.size()));
        m_bytes.append(bytes);
    }
}

void LayoutStreamWriter::writeIdent(const QByteArray &ident)
{
    const QByteArray lower = ident.toLower();
    if (lower == "false")
        writeByte(vaFalse);
    else if (lower == "true")
        writeByte(vaTrue);
    else if (lower == "nil")
        writeByte(vaNil);
    else {
        writeByte(vaIdent);
        writeShortString(ident);
    }
}

void LayoutStreamWriter::writeColour(TColor colour)
{
    const QByteArray name = TGColor::name(colour);
    if (!name.isEmpty())
        writeIdent(name);
    else
        writeInteger(static_cast<qint32>(colour));
}

void LayoutStreamWriter::writeSet(const QList<QByteArray> &members)
{
    writeByte(vaSet);
    for (const QByteArray &m : members)
        writeShortString(m);
    writeByte(0);
}

void LayoutStreamWriter::writeBinary(const QByteArray &data)
{
    writeByte(vaBinary);
    writeUInt32(static_cast<quint32>(data.size()));
    m_bytes.append(data);
}

void LayoutStreamWriter::writeExtended(double value)
{
    writeByte(vaExtended);
    const TExtendedFloat::Bytes b = TExtendedFloat::fromDouble(value);
    m_bytes.append(reinterpret_cast<const char *>(b.data()), static_cast<qsizetype>(b.size()));
}

void LayoutStreamWriter::writeStringList(const QStringList &lines)
{
    writeByte(vaList);
    for (const QString &line : lines)
        writeString(line);
    writeByte(vaNull);
}

void LayoutStreamWriter::integerProperty(const QByteArray &name, qint32 value)
{
    writePropertyName(name);
    writeInteger(value);
}

void LayoutStreamWriter::booleanProperty(const QByteArray &name, bool value)
{
    writePropertyName(name);
    writeBoolean(value);
}

void LayoutStreamWriter::stringProperty(const QByteArray &name, const QString &value)
{
    writePropertyName(name);
    writeString(value);
}

void LayoutStreamWriter::identProperty(const QByteArray &name, const QByteArray &ident)
{
    writePropertyName(name);
    writeIdent(ident);
}

void LayoutStreamWriter::colourProperty(const QByteArray &name, TColor value)
{
    writePropertyName(name);
    writeColour(value);
}

void LayoutStreamWriter::writeUInt32(quint32 value)
{
    for (int i = 0; i < 4; ++i)
        writeByte(static_cast<quint8>(value >> (8 * i)));
}

void LayoutStreamWriter::writeShortString(const QByteArray &text)
{
    const QByteArray cut = text.left(255);
    writeByte(static_cast<quint8>(cut.size()));
    m_bytes.append(cut);
}
