// Any bytes as a settings file: reading, changing and writing must never crash, keep every
// line that was not changed, and read back what was written.
#include "TIniDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TIniDocument document(bytes);
    if (document.bytes() != bytes)
        std::abort();

    // Look up a few names, including one taken from the input itself.
    const QString fromInput = QString::fromLatin1(bytes.left(8));
    for (const QString &section : {QStringLiteral("Adding"), QStringLiteral("MRU"), fromInput}) {
        for (const QString &key : document.keys(section)) {
            if (const std::optional<QString> value = document.value(section, key))
                TIniDocument::parseInteger(*value);
        }
    }

    document.setValue(QStringLiteral("Adding"), QStringLiteral("PlugDate"), QStringLiteral("1"));
    document.setValue(fromInput, fromInput, fromInput);
    document.removeKey(QStringLiteral("MRU"), QStringLiteral("Item4"));
    const TIniDocument reread(document.bytes());
    if (reread.value(QStringLiteral("Adding"), QStringLiteral("PlugDate")) != QStringLiteral("1"))
        std::abort();
    return 0;
}
