// Any bytes as a vCard file: reading must never crash, and every record read must write out as
// a card that reads back as one card.
#include "TVCardReader.h"
#include "TVCardWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TVCardReader reader;
    const QVector<TVCardRecord> cards = reader.read(bytes, {{QStringLiteral("MIDDLE"), 1}});
    const TVCardWriter writer;
    for (const TVCardRecord &card : cards) {
        TVCardReader again;
        if (again.read(writer.card(card)).size() != 1)
            std::abort();
    }
    return 0;
}
