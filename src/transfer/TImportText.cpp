#include "TImportText.h"

#include "TCp1252.h"

#include <QFile>
#include <QStringDecoder>

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
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return TResult::failure(file.errorString(), xbase::StatusCode::IoError);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return TResult::failure(file.errorString(), xbase::StatusCode::IoError);
    setBytes(bytes);
    return TResult::success();
}

void TImportText::setBytes(const QByteArray &bytes)
{
    // Pure ASCII and Windows-1252 text are kept as they are; only UTF-8 is converted.
    bool utf8 = false;
    const std::string_view body = bytes.startsWith("\xEF\xBB\xBF")
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
    size_t start = 0;
    while (start < n) {
        size_t end = start;
        while (end < n && data[end] != '\n' && data[end] != '\r')
            ++end;
        const std::string_view line(data + start, end - start);
        if (!isBlank(line))
            m_lines.push_back(line);
        if (end < n && data[end] == '\r' && end + 1 < n && data[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}
