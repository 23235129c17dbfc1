#include "TDbfImportRun.h"

#include "TAddressTable.h"
#include "TCp1252.h"
#include "TDbfSource.h"
#include "TImportSink.h"
#include "TProgress.h"
#include "TText.h"

#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// One source field copied into one address field, by position.
struct Copy {
    int from = -1;
    int to = -1;
    char toType = 'C';
    bool date = false; // first-version DATE: converted
};

QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *n : list)
        out << QString::fromLatin1(n);
    return out;
}

// Walks the visible source records, fills each new record through `copies`, and rebuilds.
TImportOutcome copyRecords(TAddressTable &table, TDbfSource &source, const std::vector<Copy> &copies,
                           bool memoRule, TProgress &progress, xbase::ProgressHook *rebuildGauge,
                           const std::function<void(const QString &)> &status)
{
    auto say = [&](const char *s) {
        if (status)
            status(QString::fromLatin1(s));
    };
    TImportOutcome out;
    TImportSink sink(table);
    xbase::Table &src = source.table();
    if (const TResult begun = sink.begin(); !begun.ok) {
        out.end = TImportOutcome::End::WriteError;
        out.reason = begun.message;
    } else {
        say("Importing records");
        progress.setTotal(static_cast<int>(src.recordCount()));
        src.setTurboRead(true);
        xbase::Status moved = src.goTop();
        std::string value;
        while (moved.ok() && !src.eof()) {
            TResult r = sink.append();
            for (const Copy &c : copies) {
                if (!r.ok)
                    break;
                const xbase::Status read = src.fieldValue(c.from, value);
                if (!read.ok()) {
                    out.end = TImportOutcome::End::ReadError;
                    out.reason = QString::fromStdString(read.message());
                    break;
                }
                if (c.date) {
                    QString date;
                    if (!value.empty() && !TDbfImportRun::olderDate(TCp1252::toString(value.data(), static_cast<qsizetype>(value.size())), date)) {
                        ++out.unreadDates;
                        continue;
                    }
                    value = date.toStdString();
                }
                if (c.toType == 'M') {
                    if (memoRule && !value.empty()) {
                        r = sink.setMemo(c.to, TText::memoForStoring(std::string_view(value)));
                    } else {
                        r = sink.setMemo(c.to, value);
                    }
                } else {
                    r = sink.set(c.to, value);
                }
            }
            if (out.end == TImportOutcome::End::ReadError) {
                sink.cancel();
                break;
            }
            if (!sink.finish(r, out))
                break;
            progress.step();
            moved = src.skip(1);
            if (progress.cancelled()) {
                if (moved.ok() && !src.eof())
                    out.end = TImportOutcome::End::Cancelled;
                break;
            }
        }
        if (!moved.ok() && out.end == TImportOutcome::End::Complete) {
            out.end = TImportOutcome::End::ReadError;
            out.reason = QString::fromStdString(moved.message());
        }
    }
    say("Rebuilding Indexes ");
    sink.end(out, rebuildGauge);
    return out;
}

} // namespace

const QStringList &TDbfImportRun::requiredFields(Older version)
{
    static const QStringList v1 = names({"LNAME", "FNAME", "MIDDLE", "TITLE", "ORG", "STREET", "CITY", "STATE", "ZIP",
                                         "COUNTRY", "PHONE", "EMAIL", "FAX", "NOTES", "PREFIX", "CARRIER", "DATE",
                                         "MEMO"});
    static const QStringList v2 = names({"LNAME", "FNAME", "MIDDLE", "TITLE", "ORG", "STREET", "STREET2", "CITY",
                                         "STATE", "ZIP", "COUNTRY", "PHONE", "PHONE2", "EMAIL", "FAX", "CODES",
                                         "PREFIX", "DATE", "USER1", "USER2", "ISDEL", "MEMO", "TAG"});
    return version == Older::V1 ? v1 : v2;
}

TResult TDbfImportRun::recognise(const TDbfSource &source, Older version)
{
    for (const QString &name : requiredFields(version)) {
        bool present = false;
        for (const TDbfSource::Field &f : source.fields())
            present = present || f.name.compare(name, Qt::CaseInsensitive) == 0;
        if (!present)
            return TResult::failure(QFileInfo(source.path()).fileName() +
                                    (version == Older::V1 ? QStringLiteral(" does not appear to be a Corvantis 1.x DBF")
                                                          : QStringLiteral(" does not appear to be a Corvantis 2.x DBF")));
    }
    return TResult::success();
}

bool TDbfImportRun::olderDate(const QString &text, QString &out)
{
    out.clear();
    const QString t = text.trimmed();
    static const QRegularExpression digits(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    static const QRegularExpression mdy(QStringLiteral("^(\\d{1,2})[/.-](\\d{1,2})[/.-](\\d{2}|\\d{4})$"));
    QDate date;
    if (const auto m = digits.match(t); m.hasMatch()) {
        date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    } else if (const auto m2 = mdy.match(t); m2.hasMatch()) {
        int year = m2.captured(3).toInt();
        if (m2.captured(3).size() == 2)
            year += year < 30 ? 2000 : 1900;
        date = QDate(year, m2.captured(1).toInt(), m2.captured(2).toInt());
    }
    if (!date.isValid())
        return false;
    out = date.toString(QStringLiteral("yyyyMMdd"));
    return true;
}

TImportOutcome TDbfImportRun::run(TAddressTable &table, TDbfSource &source, TProgress &progress,
                                  xbase::ProgressHook *rebuildGauge, const std::function<void(const QString &)> &status)
{
    std::vector<Copy> copies;
    const xbase::Schema &schema = table.engine().schema();
    for (const TDbfSource::Field &f : source.fields()) {
        if (f.match == TDbfSource::kUnmatched || f.match < 0 || f.match >= schema.fieldCount())
            continue;
        const char toType = schema.field(f.match).type;
        if ((f.type == 'M') != (toType == 'M'))
            continue; // a memo fills only the memo
        copies.push_back({f.index, f.match, toType, false});
    }
    return copyRecords(table, source, copies, false, progress, rebuildGauge, status);
}

TImportOutcome TDbfImportRun::runOlder(TAddressTable &table, TDbfSource &source, Older version, TProgress &progress,
                                       xbase::ProgressHook *rebuildGauge,
                                       const std::function<void(const QString &)> &status)
{
    QList<QPair<QString, QString>> map;
    for (const char *n : {"LNAME", "FNAME", "PREFIX", "MIDDLE", "TITLE", "ORG", "STREET", "CITY", "STATE", "ZIP",
                          "COUNTRY", "PHONE", "FAX", "EMAIL"})
        map.append({QString::fromLatin1(n), QString::fromLatin1(n)});
    if (version == Older::V2) {
        for (const char *n : {"CODES", "STREET2", "PHONE2", "USER1", "USER2", "ISDEL", "DATE"})
            map.append({QString::fromLatin1(n), QString::fromLatin1(n)});
    } else {
        map.append({QStringLiteral("NOTES"), QStringLiteral("CODES")});
        map.append({QStringLiteral("DATE"), QStringLiteral("DATE")});
    }
    map.append({QStringLiteral("MEMO"), QStringLiteral("MEMO")});

    const xbase::Schema &to = table.engine().schema();
    const xbase::Schema &from = source.table().schema();
    std::vector<Copy> copies;
    for (const auto &pair : map) {
        const int a = from.indexOf(pair.first.toStdString());
        const int b = to.indexOf(pair.second.toStdString());
        if (a < 0 || b < 0)
            continue;
        const bool date = version == Older::V1 && pair.first == QLatin1String("DATE");
        copies.push_back({a, b, to.field(b).type, date});
    }
    return copyRecords(table, source, copies, true, progress, rebuildGauge, status);
}
