// Any bytes as PRESORT.PSL: decoding never crashes, a refused file leaves no lines, and what
// was read is written back and read again as the same lines, each a header or a short key.
#include "TPresortFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QStringList lines;
    const TResult read = TPresortFile::decode(bytes, lines);
    if (!read.ok) {
        if (!lines.isEmpty() || read.message.isEmpty())
            std::abort();
        return 0;
    }
    for (const QString &line : lines) {
        const bool header = TPresortFile::isHeader(line);
        if (line.isEmpty() || (header && line.size() > TPresortFile::kMaxHeaderLength) ||
            (!header && line.size() > TPresortFile::kMaxKeyLength))
            std::abort();
    }
    QStringList again;
    if (!TPresortFile::decode(TPresortFile::encode(lines), again).ok || again != lines)
        std::abort();
    return 0;
}
