#include "TImportTargets.h"

#include "TAddressSchema.h"
#include "TAddressTable.h"

TImportTargets::TImportTargets(TAddressTable &table, Kind kind)
{
    xbase::Table &engine = table.engine();
    for (const TAddressField &f : TAddressSchema::storedFields()) {
        TImportTarget t;
        t.name = f.name;
        t.caption = f.label.isEmpty() ? (f.name == QLatin1String("MEMO") ? QStringLiteral("Memo") : f.name) : f.label;
        t.type = f.type;
        t.index = engine.schema().indexOf(f.name.toStdString());
        if (t.index < 0)
            continue;
        t.width = engine.schema().field(t.index).length;
        m_all.push_back(t);
        const bool isTagOrDel = f.name == QLatin1String("TAG") || f.name == QLatin1String("ISDEL");
        if (isTagOrDel)
            continue;
        if (kind == Kind::Text && f.type != 'C')
            continue;
        m_offered.push_back(t);
    }
}

QStringList TImportTargets::captions() const
{
    QStringList out;
    for (const TImportTarget &t : m_offered)
        out << t.caption;
    return out;
}

const TImportTarget *TImportTargets::FieldByDisplayLabel(const QString &caption) const
{
    for (const TImportTarget &t : m_offered)
        if (t.caption.compare(caption, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const TImportTarget *TImportTargets::byNameOrCaption(const QString &text) const
{
    const QString wanted = text.trimmed();
    for (const TImportTarget &t : m_offered)
        if (t.caption.compare(wanted, Qt::CaseInsensitive) == 0 || t.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}
