#include "TAddressSearch.h"

#include "TAddressTable.h"
#include "TCp1252.h"

#include "Expression.h"

#include <string>

QString TAddressSearch::keyText(const QString &text)
{
    const QByteArray bytes = TCp1252::fromString(text);
    const std::string upper = xbase::upperCp1252(std::string_view(bytes.constData(), size_t(bytes.size())));
    return TCp1252::toString(upper.data(), qsizetype(upper.size()));
}

bool TAddressSearch::search(TAddressTable &table, const QString &text)
{
    if (!table.isOpen() || text.isEmpty())
        return false;
    xbase::Table &engine = table.engine();
    engine.setExact(false);
    engine.setSoftSeek(true);
    const quint32 remembered = table.hasRecord() ? table.recno() : 0;
    const bool found = bool(table.seek(keyText(text)));
    if (!found && remembered != 0)
        (void)table.goTo(remembered); // a failure here is ignored: nothing more can be done
    engine.setSoftSeek(false);
    return found;
}
