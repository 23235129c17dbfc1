// A bounds-checked view of little-endian bytes, for decoders of files that may be damaged:
// a read outside the view answers 0 and marks the view as overrun, so a decoder reads its
// fields first and checks ok() once. Does not own the bytes; they outlive the view.
#pragma once

#include <QtGlobal>

#include <cstring>

class TByteView
{
public:
    TByteView() = default;
    TByteView(const char *data, qsizetype size) : m_data(data), m_size(size < 0 ? 0 : size) {}

    qsizetype size() const { return m_size; }
    const char *data() const { return m_data; }
    // True while no read went outside the view.
    bool ok() const { return m_ok; }
    // True when `length` bytes from `offset` lie inside the view (without overflow).
    bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }
    // The `length` bytes from `offset`; an empty view (and overrun) when they do not fit.
    TByteView sub(qint64 offset, qint64 length) const
    {
        if (!has(offset, length)) {
            m_ok = false;
            return {};
        }
        return {m_data + offset, static_cast<qsizetype>(length)};
    }

    quint8 u8(qint64 at) const { return static_cast<quint8>(get(at, 1)); }
    quint16 u16(qint64 at) const { return static_cast<quint16>(get(at, 2)); }
    qint16 i16(qint64 at) const { return static_cast<qint16>(get(at, 2)); }
    quint32 u32(qint64 at) const { return static_cast<quint32>(get(at, 4)); }
    qint32 i32(qint64 at) const { return static_cast<qint32>(get(at, 4)); }
    float f32(qint64 at) const
    {
        const quint32 bits = u32(at);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }

private:
    quint64 get(qint64 at, int length) const
    {
        if (!has(at, length)) {
            m_ok = false;
            return 0;
        }
        quint64 v = 0;
        for (int i = length - 1; i >= 0; --i)
            v = (v << 8) | static_cast<quint8>(m_data[at + i]);
        return v;
    }

    const char *m_data = nullptr;
    qsizetype m_size = 0;
    mutable bool m_ok = true;
};
