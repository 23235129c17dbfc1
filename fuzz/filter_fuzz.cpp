// Any bytes as a filter file: reading never crashes, what was read is written back as the
// same criteria, and the query built from them always compiles against an address file, so a
// restored filter can never hand the engine an expression it rejects.
#include "TAddressSchema.h"
#include "TCp1252.h"
#include "TFieldLengths.h"
#include "TFilterFile.h"
#include "TRecordQuery.h"

#include "Expression.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const TFilterCriteria criteria = TFilterFile::decode(bytes);
    if (TFilterFile::decode(TFilterFile::encode(criteria)) != criteria)
        std::abort();

    const QString filter = criteria.BuildQueryString(QStringLiteral("T5703FX"));
    if (filter.isEmpty() == criteria.isSet())
        std::abort();
    if (filter.size() > TRecordQuery::kMaxFilterLength)
        return 0; // refused before it reaches the engine
    static const xbase::Schema schema(TAddressSchema::descriptors(TFieldLengths()));
    const QByteArray query = TCp1252::fromString(TRecordQuery::queryFor(filter));
    xbase::Expression compiled;
    if (!xbase::Expression::compile(std::string_view(query.constData(), static_cast<size_t>(query.size())),
                                    schema, compiled)
             .ok())
        std::abort();
    return 0;
}
