// A Windows metafile held for playing: a placeable or plain Windows metafile or an enhanced
// metafile. Loading checks the header and that the records, each carrying its own length, lie
// within the file; what each record holds is checked by TMetafilePlayer as it plays it.
// Plain value type; the bytes are shared between copies.
#pragma once

#include "TPrintResult.h"

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <vector>

class TMetafile
{
public:
    enum class Format { None, Wmf, Emf };

    // One record: its type (the function number of a Windows metafile record), where its first
    // byte lies in bytes() and its length in bytes, its header included.
    struct Record {
        quint32 type = 0;
        qsizetype offset = 0;
        qsizetype size = 0;
    };

    // Reads `bytes` as a placeable metafile (key 0x9AC6CDD7), a plain Windows metafile or an
    // enhanced metafile. On failure answers Corruption and leaves `out` unchanged. A picture
    // without a size (no bounds, no frame, no window extent) cannot be played and fails too.
    static TPrintResult load(const QByteArray &bytes, TMetafile &out);

    bool isNull() const { return m_format == Format::None; }
    Format format() const { return m_format; }
    const QByteArray &bytes() const { return m_bytes; }
    // The records in file order, from the first after the header up to and without the end
    // record.
    const std::vector<Record> &records() const { return m_records; }
    // The picture's frame in the units of the device it was made for: the logical units of
    // the bounds (placeable header, else the first window origin and extent) of a Windows
    // metafile, the reference device's pixels of an enhanced metafile.
    const QRectF &frame() const { return m_frame; }
    // Those units per inch, across and down.
    const QPointF &unitsPerInch() const { return m_unitsPerInch; }
    // The size the picture was made at, in inches.
    QSizeF sizeInches() const;
    // The object table's size the header asks for (at least 1).
    int objectSlots() const { return m_objectSlots; }

private:
    static TPrintResult loadWmf(const QByteArray &bytes, TMetafile &out);
    static TPrintResult loadEmf(const QByteArray &bytes, TMetafile &out);

    Format m_format = Format::None;
    QByteArray m_bytes;
    std::vector<Record> m_records;
    QRectF m_frame;
    QPointF m_unitsPerInch{96, 96};
    int m_objectSlots = 1;
};
