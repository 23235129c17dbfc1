#include "TAsciiImportRun.h"

#include "TAsciiColumns.h"
#include "TDelimitedLine.h"
#include "TImportSink.h"
#include "TImportTargets.h"
#include "TImportText.h"
#include "TProgress.h"

#include <string>
#include <vector>

TImportOutcome TAsciiImportRun::run(TAddressTable &table, const TImportText &text, const TAsciiColumns &columns,
                                    const TImportTargets &targets, TProgress &progress,
                                    xbase::ProgressHook *rebuildGauge,
                                    const std::function<void(const QString &)> &status)
{
    auto say = [&](const char *s) {
        if (status)
            status(QString::fromLatin1(s));
    };
    TImportOutcome out;
    TImportSink sink(table);

    // Which field each column fills (-1: not imported).
    std::vector<int> fieldOf(static_cast<size_t>(columns.columnCount()), -1);
    for (int c = 0; c < columns.columnCount(); ++c) {
        const QString &match = columns.columns()[c].match;
        if (match.isEmpty())
            continue;
        if (const TImportTarget *t = targets.FieldByDisplayLabel(match))
            fieldOf[static_cast<size_t>(c)] = t->index;
    }

    if (const TResult begun = sink.begin(); !begun.ok) {
        out.end = TImportOutcome::End::WriteError;
        out.reason = begun.message;
    } else {
        say("Counting total lines");
        const auto &lines = text.lines();
        const size_t from = columns.hasHeading() ? 1 : 0;
        progress.setTotal(static_cast<int>(lines.size() - std::min(from, lines.size())));
        say("Importing records");
        std::vector<std::string> fields;
        fields.reserve(fieldOf.size());
        for (size_t i = from; i < lines.size(); ++i) {
            const int count = TDelimitedLine::split(lines[i], fields, static_cast<int>(fieldOf.size()));
            if (count > TDelimitedLine::kMaxColumns)
                ++out.longLines;
            TResult r = sink.append();
            for (size_t c = 0; r.ok && c < fields.size(); ++c)
                if (fieldOf[c] >= 0)
                    r = sink.set(fieldOf[c], fields[c]);
            if (!sink.finish(r, out))
                break;
            progress.step();
            if (progress.cancelled()) {
                if (i + 1 < lines.size())
                    out.end = TImportOutcome::End::Cancelled;
                break;
            }
        }
    }
    say("Rebuilding Indexes ");
    sink.end(out, rebuildGauge);
    return out;
}
