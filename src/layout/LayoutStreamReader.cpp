#include "LayoutStreamReader.h"

#include "TCp1252.h"
#include "TExtendedFloat.h"

using W = LayoutStreamWriter;

void LayoutStreamReader::need(qsizetype count) const
{
    if (count < 0 || m_data.size() - m_pos < count)
        fail(LayoutMessages::streamRead());
}

quint8 LayoutStreamReader::readByte()
{
    need(1);
    return static_cast<quint8>(m_data.at(m_pos++));
}

quint8 LayoutStreamReader::peekByte() const
{
    need(1);
    return static_cast<quint8>(m_data.at(m_pos));
}

quint32 LayoutStreamReader::readUInt32()
{
    need(4);
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(m_data.at(m_pos + i));
    m_pos += 4;
    return v;
}

QByteArray LayoutStreamReader::readBytes(qsizetype count)
{
    need(count);
    QByteArray out(m_data.constData() + m_pos, count);
    m_pos += count;
    return out;
}

QByteArray LayoutStreamReader::readShortString()
{
    return readBytes(readByte());
}

QByteArray LayoutStreamReader::readLongBytes()
{
    const quint32 length = readUInt32();
    // Checked against what is left before anything is allocated.
    if (length > static_cast<quint64>(m_data.size() - m_pos))
        fail(LayoutMessages::streamRead());
    return readBytes(static_cast<qsizetype>(length));
}

void LayoutStreamReader::readListBegin()
{
    if (readByte() != W::vaList)
        fail(LayoutMessages::invalidValue());
}

bool LayoutStreamReader::endOfList()
{
    if (peekByte() != W::vaNull)
        return false;
    ++m_pos;
    return true;
}

QByteArray LayoutStreamReader::readObjectBegin()
{
    if (readBytes(4) != "TPF0")
        fail(LayoutMessages::invalidFormat());
    const quint8 first = peekByte();
    if ((first & 0xF0) == 0xF0) {
        ++m_pos;
        if (first & 0x02)
            readInteger();
    }
    return readShortString();
}

qint32 LayoutStreamReader::readInteger()
{
    switch (readByte()) {
    case W::vaInt8:
        return static_cast<qint8>(readByte());
    case W::vaInt16: {
        const quint8 lo = readByte();
        const quint8 hi = readByte();
        return static_cast<qint16>(static_cast<quint16>(lo | (hi << 8)));
    }
    case W::vaInt32:
        return static_cast<qint32>(readUInt32());
    default:
        fail(LayoutMessages::invalidValue());
    }
}

bool LayoutStreamReader::readBoolean()
{
    switch (readByte()) {
    case W::vaFalse:
        return false;
    case W::vaTrue:
        return true;
    default:
        fail(LayoutMessages::invalidValue());
    }
}

QString LayoutStreamReader::readString()
{
    switch (readByte()) {
    case W::vaString:
        return TCp1252::toString(readShortString());
    case W::vaLString:
        return TCp1252::toString(readLongBytes());
    default:
        fail(LayoutMessages::invalidValue());
    }
}

QByteArray LayoutStreamReader::readIdent()
{
    switch (readByte()) {
    case W::vaIdent:
        return readShortString();
    case W::vaFalse:
        return QByteArrayLiteral("False");
    case W::vaTrue:
        return QByteArrayLiteral("True");
    case W::vaNil:
        return QByteArrayLiteral("nil");
    default:
        fail(LayoutMessages::invalidValue());
    }
}

int LayoutStreamReader::readEnum(const char *const *names, int count)
{
    const QByteArray ident = readIdent();
    for (int i = 0; i < count; ++i)
        if (ident.compare(names[i], Qt::CaseInsensitive) == 0)
            return i;
    fail(LayoutMessages::invalidValue());
}

TColor LayoutStreamReader::readColour()
{
    const quint8 tag = peekByte();
    if (tag == W::vaIdent) {
        const std::optional<TColor> c = TGColor::fromName(readIdent());
        if (!c)
            fail(LayoutMessages::invalidValue());
        return *c;
    }
    return static_cast<TColor>(readInteger());
}

QList<QByteArray> LayoutStreamReader::readSet()
{
    if (readByte() != W::vaSet)
        fail(LayoutMessages::invalidValue());
    QList<QByteArray> members;
    for (;;) {
        QByteArray m = readShortString();
        if (m.isEmpty())
            return members;
        members.append(m);
    }
}

QByteArray LayoutStreamReader::readBinary()
{
    if (readByte() != W::vaBinary)
        fail(LayoutMessages::invalidValue());
    return readLongBytes();
}

double LayoutStreamReader::readExtended()
{
    if (readByte() != W::vaExtended)
        fail(LayoutMessages::invalidValue());
    need(10);
    TExtendedFloat::Bytes b{};
    for (int i = 0; i < 10; ++i)
        b[i] = static_cast<std::uint8_t>(m_data.at(m_pos + i));
    m_pos += 10;
    return TExtendedFloat::toDouble(b);
}

QStringList LayoutStreamReader::readStringList()
{
    readListBegin();
    QStringList lines;
    while (!endOfList())
        lines.append(readString());
    return lines;
}

LayoutValue LayoutStreamReader::readValue(int depth)
{
    LayoutValue v;
    v.tag = peekByte();
    switch (v.tag) {
    case W::vaInt8:
    case W::vaInt16:
    case W::vaInt32:
        v.integer = readInteger();
        break;
    case W::vaExtended:
        v.real = readExtended();
        break;
    case W::vaString:
    case W::vaLString:
        ++m_pos;
        v.text = v.tag == W::vaString ? readShortString() : readLongBytes();
        break;
    case W::vaIdent:
    case W::vaFalse:
    case W::vaTrue:
    case W::vaNil:
        v.text = readIdent();
        break;
    case W::vaBinary:
        v.text = readBinary();
        break;
    case W::vaSet:
        v.set = readSet();
        break;
    case W::vaList:
        if (depth >= kMaxListDepth)
            fail(LayoutMessages::invalidValue());
        ++m_pos;
        while (!endOfList())
            v.list.append(readValue(depth + 1));
        break;
    default: // end markers, collections and unknown tags are no value
        fail(LayoutMessages::invalidValue());
    }
    return v;
}
