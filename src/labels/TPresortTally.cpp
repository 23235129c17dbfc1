#include "TPresortTally.h"

#include "TAdcTable.h"
#include "TAddressTable.h"
#include "TProgress.h"

#include <cstddef>

namespace {

constexpr int kKeys = 100000;
// A ZIP, a 3-digit area or an ADC needs more than this many pieces for a group of its own.
constexpr int kMaxLoosePieces = 9;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

TPresortTally::TPresortTally() : m_counts(size_t(kKeys), 0) {}

int TPresortTally::keyOf(std::string_view zip)
{
    if (zip.size() < 5)
        return -1;
    int key = 0;
    for (size_t i = 0; i < 5; ++i) {
        if (!isDigit(zip[i]))
            return -1;
        key = key * 10 + (zip[i] - '0');
    }
    return key;
}

int TPresortTally::keyOf(const QString &zip)
{
    if (zip.size() < 5)
        return -1;
    char bytes[5];
    for (int i = 0; i < 5; ++i) {
        const char16_t c = zip.at(i).unicode();
        bytes[i] = c < 0x80 ? char(c) : 'x';
    }
    return keyOf(std::string_view(bytes, 5));
}

QString TPresortTally::keyText(int key)
{
    return QStringLiteral("%1").arg(key, 5, 10, QLatin1Char('0'));
}

void TPresortTally::add(std::string_view zip)
{
    const int key = keyOf(zip);
    if (key < 0)
        return;
    ++m_counts[size_t(key)];
    ++m_counted;
}

void TPresortTally::clear()
{
    std::fill(m_counts.begin(), m_counts.end(), 0);
    m_range = TPresortRange();
    m_counted = 0;
    m_read = 0;
    m_complete = false;
}

int TPresortTally::countOf(int key) const
{
    return key >= 0 && key < kKeys ? m_counts[size_t(key)] : 0;
}

TResult TPresortTally::run(TAddressTable &table, TProgress &progress, quint32 fromRecno)
{
    clear();
    if (!table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    xbase::Table &engine = table.engine();
    const int zipIndex = engine.schema().indexOf("ZIP");
    if (zipIndex < 0)
        return TResult::failure(QStringLiteral("The field ZIP is missing"), xbase::StatusCode::Corruption);
    const xbase::FieldDescriptor &zipField = engine.schema().field(zipIndex);
    const int order = engine.order();
    const quint32 recno = table.hasRecord() ? table.recno() : 0;
    const bool wasTurbo = engine.isTurboRead();

    table.freeze();
    TResult result;
    if (fromRecno == 0) {
        // Record order with blocks read ahead: one sequential pass, no record costs a read of
        // its own.
        result = TResult::fromStatus(engine.setOrder(0));
        if (result.ok) {
            engine.setTurboRead(true);
            result = TResult::fromStatus(engine.goTop());
        }
    } else {
        result = table.goTo(fromRecno);
        if (result.ok)
            m_range = TPresortRange::from(engine.recordCount());
    }
    while (result.ok && !engine.eof()) {
        if (progress.cancelled())
            break;
        const xbase::RecordRef record = engine.record();
        add(std::string_view(record.data + zipField.offset, zipField.length));
        ++m_read;
        if (!m_range.isAll())
            m_range.add(record.recno);
        progress.step();
        result = TResult::fromStatus(engine.skip(1));
    }
    const bool cancelled = progress.cancelled();

    engine.setTurboRead(wasTurbo);
    // The order and the record were the table's a moment ago, so putting them back cannot
    // fail in a way the tally could mend; the counts stand or fall on the pass alone.
    (void)engine.setOrder(order);
    if (recno > 0)
        (void)table.goTo(recno);
    table.unfreeze();

    if (!result.ok || cancelled) {
        const TResult failure = result;
        clear();
        return failure; // a cancelled pass is no failure: isComplete() says it did not finish
    }
    m_complete = true;
    return TResult::success();
}

QStringList TPresortTally::presortLines() const
{
    QStringList fiveDigit;
    QStringList threeDigit;
    std::vector<int> leftovers; // ascending, as the ten lists leave them in digit order
    for (int digit = 0; digit < 10; ++digit) {
        const int begin = digit * 10000;
        const int end = begin + 10000;
        std::vector<int> list;
        for (int key = begin; key < end; ++key) {
            if (m_counts[size_t(key)] == 0)
                continue;
            if (m_counts[size_t(key)] > kMaxLoosePieces) {
                const QString k = keyText(key);
                fiveDigit << QStringLiteral("** 5-digit ") + k << k;
            } else {
                list.push_back(key);
            }
        }
        // Runs of keys sharing their first three digits, counted together.
        for (size_t first = 0; first < list.size();) {
            size_t last = first;
            int pieces = 0;
            while (last < list.size() && list[last] / 100 == list[first] / 100)
                pieces += m_counts[size_t(list[last++])];
            if (pieces > kMaxLoosePieces) {
                threeDigit << QStringLiteral("** 3-digit ") + keyText(list[first]).left(3);
                for (size_t i = first; i < last; ++i)
                    threeDigit << keyText(list[i]);
            } else {
                leftovers.insert(leftovers.end(), list.begin() + std::ptrdiff_t(first),
                                 list.begin() + std::ptrdiff_t(last));
            }
            first = last;
        }
    }

    QStringList adcList;
    FillADCList(leftovers, adcList);
    QStringList lines = fiveDigit + threeDigit + adcList;
    QStringList unknown;
    for (int key : leftovers)
        unknown << keyText(key);
    if (!unknown.isEmpty()) {
        lines << QStringLiteral("** Unknown");
        lines += unknown;
    }
    return lines;
}

void TPresortTally::FillADCList(std::vector<int> &leftovers, QStringList &adcList)
{
    for (int row = 0; row < TAdcTable::kRows && !leftovers.empty(); ++row)
        ExtractADC(row, leftovers, adcList);
}

void TPresortTally::ExtractADC(int row, std::vector<int> &leftovers, QStringList &adcList)
{
    std::vector<int> kept;
    kept.reserve(leftovers.size());
    bool headed = false;
    for (int key : leftovers) {
        const int served = TAdcTable::rowOfPrefix(key / 100);
        if (served < 0 || served != row) {
            kept.push_back(key);
            continue;
        }
        if (!headed) {
            adcList << QStringLiteral("** ADC ") + QLatin1String(TAdcTable::rows()[size_t(row)].name);
            headed = true;
        }
        adcList << keyText(key);
    }
    leftovers.swap(kept);
}
