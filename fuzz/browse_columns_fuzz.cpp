// Any bytes as the browse grid's column file: reading never crashes and always gives every
// field object exactly once, and what was read is written and read back as the same order.
#include "TBrowseColumns.h"

#include <QSet>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > size_t(TBrowseColumns::kMaxBytes))
        return 0; // the reader ignores such a file whole
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList order = TBrowseColumns::order(bytes);
    static const QStringList defaults = TBrowseColumns::defaultOrder();
    if (order.size() != defaults.size() ||
        QSet<QString>(order.begin(), order.end()) != QSet<QString>(defaults.begin(), defaults.end()))
        std::abort();
    if (TBrowseColumns::order(TBrowseColumns::encode(order)) != order)
        std::abort();
    return 0;
}
