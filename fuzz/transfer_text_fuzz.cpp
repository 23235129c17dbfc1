// Any bytes as a text file chosen for import: decoding, splitting into lines and fields and
// scanning the column table must never crash; a field written quoted must split back to itself.
#include "TAsciiColumns.h"
#include "TDelimitedLine.h"
#include "TImportText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TImportText text;
    text.setBytes(bytes);
    TAsciiColumns columns;
    (void)columns.scan(text); // a refusal is an answer too
    std::vector<std::string> fields;
    for (const auto line : text.lines()) {
        const int count = TDelimitedLine::split(line, fields);
        if (count < 1 || fields.size() > static_cast<size_t>(TDelimitedLine::kMaxColumns))
            std::abort();
        for (const std::string &f : fields) {
            std::string quoted;
            TDelimitedLine::appendQuoted(quoted, f);
            std::vector<std::string> back;
            TDelimitedLine::split(quoted, back);
            if (back.size() != 1 || back[0] != f)
                std::abort();
        }
    }
    return 0;
}
