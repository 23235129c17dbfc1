#include "TImportText.h"

#include "TCp1252.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {

bool isBlank(std::string_view line)
{
    for (const char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

bool isAscii(const QByteArray &bytes)
{
    const char *p = bytes.constData();
    const size_t n = static_cast<size_t>(bytes.size());
    size_t i = 0;
    uint64_t high = 0; // eight bytes at a step
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        high |= w;
    }
    for (; i < n; ++i)
        high |= static_cast<unsigned char>(p[i]);
    return (high & 0x8080808080808080ull) == 0;
}

// Whether `bytes` are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF), checked without decoding them.
bool isUtf8(std::string_view bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t extra = 0;
        unsigned lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            if (c == 0xE0)
                lo = 0xA0;
            else if (c == 0xED)
                hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        if (n - i <= extra)
            return false;
        if (p[i + 1] < lo || p[i + 1] > hi)
            return false;
        for (size_t k = 2; k <= extra; ++k)
            if (p[i + k] < 0x80 || p[i + k] > 0xBF)
                return false;
        i += extra + 1;
    }
    return true;
}

} // namespace

QString TImportText::decode(const QByteArray &bytes, bool *utf8)
{
    QByteArray body = bytes;
    bool bom = false;
    if (body.startsWith("\xEF\xBB\xBF")) {
        body.remove(0, 3);
        bom = true;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(body);
    if (!decoder.hasError()) {
        if (utf8)
            *utf8 = bom || !isAscii(body);
        return text;
    }
    if (utf8)
        *utf8 = false;
    return TCp1252::toString(bytes);
}

TResult TImportText::load(const QString &path)
{
    m_lines.clear();
    m_bytes.clear(); // it may refer to m_storage
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return TResult::failure(file.errorString(), xbase::StatusCode::IoError);
    // Read in one piece into memory had in one call (a file of many megabytes read in steps
    // into a growing array costs several times as much); a file that grows meanwhile is read
    // to its end.
    size_t have = 0;
    size_t room = static_cast<size_t>(std::max<qint64>(file.size(), 0)) + 1;
    for (;;) {
        if (!m_storage.resize(room))
            return TResult::failure(QStringLiteral("Not enough memory to read the file"),
                                    xbase::StatusCode::IoError);
        const qint64 got = file.read(m_storage.data() + have, static_cast<qint64>(room - have));
        if (got < 0)
            return TResult::failure(file.errorString(), xbase::StatusCode::IoError);
        if (got == 0)
            break;
        have += static_cast<size_t>(got);
        if (have == room)
            room *= 2;
    }
    setBytes(QByteArray::fromRawData(m_storage.data(), static_cast<qsizetype>(have)));
    return TResult::success();
}

void TImportText::setBytes(const QByteArray &bytes)
{
    // Pure ASCII and Windows-1252 text are kept as they are; only UTF-8 is converted.
    bool utf8 = false;
    const std::string_view body =
        bytes.startsWith("\xEF\xBB\xBF")
            ? std::string_view(bytes.constData() + 3, static_cast<size_t>(bytes.size() - 3))
            : std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (isAscii(bytes) || !isUtf8(body)) {
        // Windows-1252 (or ASCII) text is kept as it is, without decoding it.
        m_bytes = bytes;
    } else {
        const QString text = decode(bytes, &utf8);
        m_bytes = utf8 ? TCp1252::fromString(text) : bytes;
    }
    if (m_bytes.startsWith("\xEF\xBB\xBF")) // only an ASCII file with a mark gets here
        m_bytes.remove(0, 3);
    m_utf8 = utf8;
    m_lines.clear();
    const char *data = m_bytes.constData();
    const size_t n = static_cast<size_t>(m_bytes.size());
    // The next line feed and carriage return at or after `start`, each looked for again only
    // once passed, so a file with one kind of line end is not searched over and over.
    auto next = [&](char c, size_t from) {
        const void *at = std::memchr(data + from, c, n - from);
        return at ? static_cast<size_t>(static_cast<const char *>(at) - data) : n;
    };
    size_t lf = next('\n', 0);
    size_t cr = next('\r', 0);
    size_t start = 0;
    while (start < n) {
        if (lf < start)
            lf = next('\n', start);
        if (cr < start)
            cr = next('\r', start);
        size_t end = std::min(lf, cr);
        const std::string_view line(data + start, end - start);
        if (!isBlank(line))
            m_lines.push_back(line);
        if (end < n && data[end] == '\r' && end + 1 < n && data[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}
