#include "TVCardImportRun.h"

#include "TAddressTable.h"
#include "TCp1252.h"
#include "TImportSink.h"
#include "TProgress.h"
#include "TText.h"
#include "TVCardReader.h"

TImportOutcome TVCardImportRun::run(TAddressTable &table, const QByteArray &bytes, TProgress &progress,
                                    xbase::ProgressHook *rebuildGauge,
                                    const std::function<void(const QString &)> &status)
{
    TImportOutcome out;
    TImportSink sink(table);
    const xbase::Schema &schema = table.engine().schema();
    QMap<QString, int> widths;
    for (const xbase::FieldDescriptor &f : schema.fields())
        if (f.type == 'C')
            widths.insert(QString::fromStdString(f.name), f.length);
    TVCardReader reader;
    const QVector<TVCardRecord> cards = reader.read(bytes, widths);
    if (const TResult begun = sink.begin(); !begun.ok) {
        out.end = TImportOutcome::End::WriteError;
        out.reason = begun.message;
    } else {
        if (status)
            status(QStringLiteral("Importing records"));
        progress.setTotal(static_cast<int>(cards.size()));
        for (qsizetype i = 0; i < cards.size(); ++i) {
            TResult r = sink.append();
            for (auto it = cards[i].begin(); r.ok && it != cards[i].end(); ++it) {
                const int index = schema.indexOf(it.key().toStdString());
                if (index < 0)
                    continue;
                const bool memo = schema.field(index).type == 'M';
                const QByteArray value = TCp1252::fromString(memo ? TText::memoForStoring(it.value()) : it.value());
                const std::string_view view(value.constData(), static_cast<size_t>(value.size()));
                r = memo ? sink.setMemo(index, view) : sink.set(index, view);
            }
            if (!sink.finish(r, out))
                break;
            progress.step();
            if (progress.cancelled()) {
                if (i + 1 < cards.size())
                    out.end = TImportOutcome::End::Cancelled;
                break;
            }
        }
    }
    if (status)
        status(QStringLiteral("Rebuilding Indexes "));
    sink.end(out, rebuildGauge);
    return out;
}
