#include "TSystemTables.h"

#include "TFileCase.h"
#include "TProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

xbase::FieldDescriptor character(const char *name, int width)
{
    xbase::FieldDescriptor f;
    f.name = name;
    f.type = 'C';
    f.length = static_cast<uint8_t>(width);
    return f;
}

xbase::FieldDescriptor numeric(const char *name, int width, int decimals)
{
    xbase::FieldDescriptor f;
    f.name = name;
    f.type = 'N';
    f.length = static_cast<uint8_t>(width);
    f.decimals = static_cast<uint8_t>(decimals);
    return f;
}

xbase::FieldDescriptor inches(const char *name)
{
    return numeric(name, 6, 3);
}

std::string toEngine(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// True when the open table has every field of `wanted` with its type.
bool hasFields(const xbase::Table &table, const std::vector<xbase::FieldDescriptor> &wanted)
{
    const xbase::Schema &schema = table.schema();
    for (const xbase::FieldDescriptor &f : wanted) {
        const int i = schema.indexOf(f.name);
        if (i < 0 || schema.field(i).type != f.type)
            return false;
    }
    return true;
}

} // namespace

QString TSystemTables::name(TSystemTable table)
{
    switch (table) {
    case TSystemTable::Letter:
        return QStringLiteral("LETTER");
    case TSystemTable::Report:
        return QStringLiteral("REPORT");
    case TSystemTable::Envelope:
        return QStringLiteral("ENVELOPE");
    case TSystemTable::Label:
        return QStringLiteral("LABEL");
    case TSystemTable::LblTpl:
        return QStringLiteral("LBLTPL");
    case TSystemTable::Csz:
        return QStringLiteral("CSZ");
    }
    return QString();
}

std::vector<xbase::FieldDescriptor> TSystemTables::fields(TSystemTable table)
{
    switch (table) {
    case TSystemTable::Letter: {
        xbase::FieldDescriptor rtf;
        rtf.name = "RTF";
        rtf.type = 'M';
        rtf.length = 10;
        return {character("DESCRIPT", 50), rtf};
    }
    case TSystemTable::Report:
        return {character("DESCRIPT", 60), character("LAYOUT", 60), character("BINARY", 12)};
    case TSystemTable::Envelope:
        return {character("DESCRIPT", 60), numeric("NUMBER", 5, 0), character("BINARY", 12)};
    case TSystemTable::Label: {
        xbase::FieldDescriptor deleted;
        deleted.name = "DELETED";
        deleted.type = 'L';
        deleted.length = 1;
        return {character("DESCRIPT", 60), character("PRINTER", 2),    inches("LBLHEIGHT"),
                inches("LBLWIDTH"),        numeric("NBRACROSS", 2, 0), numeric("NBRDOWN", 2, 0),
                inches("TOPMARG"),         inches("LEFTMARG"),         inches("HORIZPITCH"),
                inches("VERTPITCH"),       inches("SHEETWIDTH"),       inches("SHEETDEPTH"),
                character("PAPERSIZE", 5), character("LBLSHAPE", 2),   character("TPLDESCRIP", 60),
                character("MANUFAC", 10),  character("PRODTYPE", 25),  inches("MIDEXTRAX"),
                inches("MIDEXTRAY"),       character("ART", 12),       deleted,
                character("BINARY", 12)};
    }
    case TSystemTable::LblTpl:
        return {character("DESCRIPT", 60),  inches("LBLHEIGHT"),      inches("LBLWIDTH"),
                numeric("NBRACROSS", 2, 0), numeric("NBRDOWN", 2, 0), inches("TOPMARG"),
                inches("LEFTMARG"),         inches("HORIZPITCH"),     inches("VERTPITCH"),
                inches("SHEETWIDTH"),       inches("SHEETDEPTH"),     inches("MIDEXTRAX"),
                inches("MIDEXTRAY"),        character("PRINTER", 2),  character("PAPERSIZE", 5),
                character("LBLSHAPE", 2),   character("MANUFAC", 10), character("PRODTYPE", 25),
                character("ART", 12)};
    case TSystemTable::Csz:
        return {character("NAME", 20), character("STATE", 4), character("LOW_ZIP", 10),
                character("HIGH_ZIP", 10)};
    }
    return {};
}

xbase::TagDefinition TSystemTables::tag(TSystemTable table)
{
    if (table == TSystemTable::Csz)
        return {"STATE", "UPPER(STATE)", ""};
    return {"DESCRIPT", "UPPER(DESCRIPT)", ""};
}

bool TSystemTables::isCreatedWhenMissing(TSystemTable table)
{
    return table != TSystemTable::LblTpl && table != TSystemTable::Csz;
}

QString TSystemTables::folder(const QString &programFolder)
{
    return TFileCase::resolve(programFolder, QStringLiteral("sysdata")) + QLatin1Char('/');
}

QString TSystemTables::dbfPath(const QString &programFolder, TSystemTable table)
{
    return TFileCase::resolve(programFolder,
                              QStringLiteral("sysdata/") + name(table) + QStringLiteral(".DBF"));
}

TSystemTableResult TSystemTables::open(TSystemTable table, xbase::Table &out)
{
    return open(table, out, TProgramFolder::path());
}

TSystemTableResult TSystemTables::open(TSystemTable table, xbase::Table &out, const QString &programFolder)
{
    // Whatever `out` held is the caller's to have written; this open starts afresh either way.
    (void)out.close();
    const QString path = dbfPath(programFolder, table);
    const bool created = isCreatedWhenMissing(table);
    const QString failure = table == TSystemTable::LblTpl ? QStringLiteral("Unable to Open LBLTPL.DBF")
                                                          : QStringLiteral("Unable to Open or Create ") +
                                                                name(table) + QStringLiteral(".DBF");
    const std::vector<xbase::FieldDescriptor> wanted = fields(table);

    xbase::Status s = out.open(toEngine(path), xbase::OpenMode::Exclusive);
    // Only a table that is not there is created: one that is there but does not open (locked,
    // damaged, unreadable) keeps its records.
    if (!s.ok() && created && !QFileInfo::exists(path)) {
        const QString folder = QFileInfo(path).absolutePath();
        QDir().mkpath(folder);
        // An index or memo file the lost table left behind would hold keys and memos of
        // records the new table does not have.
        for (const char *ext : {".CDX", ".FPT"}) {
            const QString stale = TFileCase::findEntry(folder, name(table) + QLatin1String(ext));
            if (!stale.isEmpty())
                QFile::remove(folder + QLatin1Char('/') + stale);
        }
        s = xbase::Table::create(toEngine(path), wanted);
        if (s.ok())
            s = out.open(toEngine(path), xbase::OpenMode::Exclusive);
    }
    if (!s.ok() || !hasFields(out, wanted)) {
        // Nothing was written to a table that failed to open or lacks its fields.
        (void)out.close();
        return s.ok() ? TResult::failure(failure, xbase::StatusCode::Corruption)
                      : TResult::fromStatus(s, failure);
    }

    // A missing index file, or one that lost the tag or could not be read, gets the tag again.
    // Failures here are not reported: the table still opens, in record order.
    const xbase::TagDefinition t = tag(table);
    if (out.tagOrder(t.name) == 0)
        (void)out.addTag(t);
    else if (out.indexNeedsRebuild())
        (void)out.reindex();
    return TResult::success();
}
