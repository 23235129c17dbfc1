// Any bytes as a gLabels templates file (and as its paper sizes): reading must never crash, and
// every sheet it lists must make a sheet that passes the rules of user-defined sheets.
#include "TGlabelsTemplates.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TGlabelsTemplates templates;
    templates.readPaperSizes(bytes);
    templates.readTemplates(bytes, QStringLiteral("fuzz-templates.xml"));
    templates.resolveEquivalents();
    for (const TGlabelsTemplate &t : templates.templates()) {
        if (!t.sheet.invalidColumn().isEmpty() || !t.sheet.validLabelMessage().isEmpty())
            std::abort();
        for (int i = 0; i < t.sheet.labelCount(); ++i)
            (void)t.sheet.labelOrigin(i);
    }
    return 0;
}
