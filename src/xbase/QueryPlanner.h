// Answers record queries from index tags: comparisons of a tag's key (or the leading part of
// a composite key) against constants become key ranges, logical fields and DELETED() become
// the "T"/"F" range of a tag on them, and .AND./.OR./.NOT. combine the ranges as record
// bitmaps. The table asks planQuery() before it walks a query and re-tests every candidate.
#pragma once

#include "Expression.h"
#include "IndexTag.h"
#include "RecordBitmap.h"
#include "Status.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace xbase {

/// What the planner may ask of the table's open tags. Implemented by the table.
class IndexCatalog
{
public:
    virtual ~IndexCatalog() = default;
    virtual int tagCount() const = 0;
    virtual const TagSpec &tagSpec(int i) const = 0;
    /// The tag's key expression compiled against the table's schema.
    virtual const Expression &tagKey(int i) const = 0;
    /// Walks the entries of tag `i` as IndexTag::scan does.
    virtual Status scan(int i, std::string_view lo, std::string_view hi, bool hiInclusive, bool unboundedHi,
                        const std::function<bool(std::string_view, uint32_t)> &visit) = 0;
};

/// How to answer one query.
struct QueryPlan {
    /// True when tags narrowed the query; false means: test every record.
    bool indexed = false;
    /// When indexed: every record that can match is in `candidates`. The set may hold more
    /// (the table re-tests each candidate with the whole expression and hides marked records
    /// itself); `exact` says it holds exactly the records for which the query is true
    /// (marked records included).
    RecordBitmap candidates;
    bool exact = false;
    /// One line per decision, for tests and the command-line tool.
    std::string explain;
};

/// Plans `query` over records 1..recordCount. Only tags without a FOR condition, ascending
/// and not unique are used, and only comparisons whose constants are plain ASCII (indexes
/// other programs built capitalise only a-z; for ASCII constants both rules select the same
/// keys). In an .AND. the smallest range is read first and ranges much larger than it are
/// left to the re-test. A failed scan returns its Status (out is then not indexed).
Status planQuery(const Expression &query, IndexCatalog &catalog, uint32_t recordCount,
                 const EvalOptions &options, QueryPlan &out);

} // namespace xbase
