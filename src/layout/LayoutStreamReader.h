// Reads the values of a layout stream from a byte view. Every length is checked against the
// bytes left before it is used; a short stream raises "Stream read error" and a value of the
// wrong kind "Invalid property value" (TLayoutError). The reader keeps a shared copy of the
// bytes.
#pragma once

#include "LayoutStreamWriter.h"
#include "TGColor.h"
#include "TLayoutError.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One value of any kind, as the generic walk (dump tools, tests) reads it.
struct LayoutValue {
    quint8 tag = 0;
    qint64 integer = 0;      // integer tags
    double real = 0.0;       // extended
    QByteArray text;         // string, long string, identifier (raw bytes), binary
    QList<QByteArray> set;   // set members
    QList<LayoutValue> list; // list items
};

class LayoutStreamReader
{
public:
    // Lists nest at most this deep in a generic walk; deeper is "Invalid property value".
    static constexpr int kMaxListDepth = 32;

    explicit LayoutStreamReader(const QByteArray &data) : m_data(data) {}

    qsizetype position() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }

    // --- Raw bytes.
    quint8 readByte();
    quint8 peekByte() const;
    quint32 readUInt32();
    QByteArray readBytes(qsizetype count);
    QByteArray readShortString();

    // --- Structure.
    // Requires tag 0x01 next, else "Invalid property value".
    void readListBegin();
    // True (and consumed) when the next byte is the 0x00 that ends a list or section.
    bool endOfList();
    // "TPF0", then the optional flags byte (0xF0..0xFF, with an integer after it when bit 1 is
    // set), then the class name. Returns the class name.
    QByteArray readObjectBegin();

    // --- Typed values; each reads the tag first.
    qint32 readInteger();
    bool readBoolean();
    QString readString();
    // Tag 0x07, or the tags of False, True and nil, answered as those words.
    QByteArray readIdent();
    // The index of the identifier in `names`; an unknown name is "Invalid property value".
    int readEnum(const char *const *names, int count);
    // An integer or a colour name.
    TColor readColour();
    QList<QByteArray> readSet();
    QByteArray readBinary();
    double readExtended();
    // A list of strings (tags 0x06 and 0x0C).
    QStringList readStringList();
    // Any value, lists included.
    LayoutValue readValue() { return readValue(0); }

    [[noreturn]] static void fail(const QString &message) { throw TLayoutError{message}; }

private:
    LayoutValue readValue(int depth);
    QByteArray readLongBytes();
    void need(qsizetype count) const;

    QByteArray m_data;
    qsizetype m_pos = 0;
};
