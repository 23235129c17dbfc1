#include "TMemoSearch.h"

#include "TAddressTable.h"

bool TMemoSearch::matches(const QString &memo, const QString &text)
{
    return QStringView(memo)
        .left(kMemoChars)
        .contains(QStringView(text).left(kTextChars), Qt::CaseInsensitive);
}

bool TMemoSearch::run(TAddressTable &table, const QString &text, bool fromNext,
                      const std::function<bool()> &cancelled)
{
    if (!table.hasRecord() || table.isEditing())
        return false;
    const quint32 remembered = table.recno();
    bool onRecord = bool(fromNext ? table.next() : table.first());
    while (onRecord) {
        if (cancelled && cancelled())
            break;
        if (matches(table.memo(), text))
            return true;
        onRecord = bool(table.next());
    }
    // Back to where the search began; that record was shown a moment ago.
    (void)table.goTo(remembered);
    return false;
}
