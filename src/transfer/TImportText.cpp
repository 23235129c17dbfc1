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
    if (isAscii(bytes)) {
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
