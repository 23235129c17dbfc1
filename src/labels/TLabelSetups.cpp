#include "TLabelSetups.h"

#include "TCp1252.h"
#include "TGLabelObjectFiler.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TLayoutFileName.h"
#include "TSystemTables.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>

#include <cmath>
#include <limits>

namespace {

std::string bytes(const QString &text)
{
    return TCp1252::fromString(text).toStdString();
}

QString text(const std::string &raw)
{
    return TCp1252::toString(raw.data(), static_cast<qsizetype>(raw.size()));
}

QString fixed3(double inches)
{
    return QString::number(inches, 'f', 3);
}

struct Reader {
    const xbase::Table &table;
    TResult result = TResult::success();

    QString textOf(const char *name)
    {
        std::string raw;
        if (result)
            result = TResult::fromStatus(table.fieldValue(name, raw));
        return text(raw).trimmed();
    }
    // A value that is no number reads as NaN, which the range check refuses.
    double numberOf(const char *name)
    {
        const QString t = textOf(name);
        bool ok = false;
        const double v = t.toDouble(&ok);
        return ok ? v : std::numeric_limits<double>::quiet_NaN();
    }
    int countOf(const char *name)
    {
        const double v = numberOf(name);
        // Out of range or not whole: 0, which no sheet accepts.
        if (!(v >= 0 && v <= 1000) || v != std::floor(v))
            return 0;
        return static_cast<int>(v);
    }
};

} // namespace

QString TLabelSetups::cloneDescription(const QString &description)
{
    const QString clone = QStringLiteral("Clone of :") + description;
    return clone.left(TLabelSetup::kDescriptionLength);
}

TResult TLabelSetups::open(const QString &programFolder)
{
    const TResult opened = TSystemTables::open(TSystemTable::Label, m_table, programFolder);
    if (!opened)
        return opened;
    m_folder = TSystemTables::folder(programFolder);
    m_table.setDeletedHidden(true);
    TResult result = TResult::fromStatus(m_table.setOrder("DESCRIPT"));
    if (result)
        result = readRows();
    if (!result)
        close();
    return result;
}

void TLabelSetups::close()
{
    if (m_table.isOpen())
        (void)m_table.close(); // every change was posted; a failed flush leaves the table readable
    m_rows.clear();
}

TResult TLabelSetups::readRows()
{
    m_rows.clear();
    std::vector<uint32_t> recnos;
    TResult result = TResult::fromStatus(m_table.visibleRecnos(recnos));
    if (!result)
        return result;
    const int descript = m_table.schema().indexOf("DESCRIPT");
    const int tpl = m_table.schema().indexOf("TPLDESCRIP");
    std::string record;
    for (uint32_t recno : recnos) {
        result = TResult::fromStatus(m_table.storedRecord(recno, record));
        if (!result)
            return result;
        const xbase::RecordRef ref{record.data(), recno};
        std::string d, t;
        result = TResult::fromStatus(m_table.fieldValue(ref, descript, d));
        if (result)
            result = TResult::fromStatus(m_table.fieldValue(ref, tpl, t));
        if (!result)
            return result;
        TLabelSetup names;
        names.TplDescrip = text(t).trimmed();
        m_rows.append({recno, text(d).left(TLabelSetup::kDescriptionLength), names.sheetName()});
    }
    return TResult::success();
}

int TLabelSetups::rowOf(quint32 recno) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).recno == recno)
            return i;
    return -1;
}

TResult TLabelSetups::goTo(quint32 recno) const
{
    const TResult moved = TResult::fromStatus(m_table.go(recno));
    if (!moved)
        return moved;
    if (m_table.eof() || m_table.isDeleted())
        return TResult::failure(QStringLiteral("The label setup is no longer in LABEL.DBF"),
                                xbase::StatusCode::NotFound);
    return TResult::success();
}

TResult TLabelSetups::readColumns(const xbase::Table &table, TLabelSetup &out, bool labelColumns)
{
    Reader r{table};
    TLabelSetup s;
    s.Description = r.textOf("DESCRIPT").left(TLabelSetup::kDescriptionLength);
    s.Printer = r.textOf("PRINTER");
    s.LblHeight = static_cast<float>(r.numberOf("LBLHEIGHT"));
    s.LblWidth = static_cast<float>(r.numberOf("LBLWIDTH"));
    s.NbrAcross = r.countOf("NBRACROSS");
    s.NbrDown = r.countOf("NBRDOWN");
    s.TopMarg = static_cast<float>(r.numberOf("TOPMARG"));
    s.LeftMarg = static_cast<float>(r.numberOf("LEFTMARG"));
    s.HorizPitch = static_cast<float>(r.numberOf("HORIZPITCH"));
    s.VertPitch = static_cast<float>(r.numberOf("VERTPITCH"));
    s.SheetWidth = static_cast<float>(r.numberOf("SHEETWIDTH"));
    s.SheetDepth = static_cast<float>(r.numberOf("SHEETDEPTH"));
    s.MidExtraX = r.numberOf("MIDEXTRAX");
    s.MidExtraY = r.numberOf("MIDEXTRAY");
    s.Art = r.textOf("ART");
    s.PaperSize = r.textOf("PAPERSIZE");
    s.Manufac = r.textOf("MANUFAC");
    s.ProdType = r.textOf("PRODTYPE");
    s.LblShape = r.textOf("LBLSHAPE");
    if (labelColumns) {
        s.TplDescrip = r.textOf("TPLDESCRIP");
        s.Binary = r.textOf("BINARY");
    }
    if (r.result)
        out = s;
    return r.result;
}

QString TLabelSetups::invalidRowMessage(const QString &description, const QString &column)
{
    return QStringLiteral("The label setup \"") + description + QStringLiteral("\" cannot be used: its ") +
           column + QStringLiteral(" value does not describe a label sheet");
}

TResult TLabelSetups::ReadLabelSetup(quint32 recno, TLabelSetup &out) const
{
    TResult result = goTo(recno);
    TLabelSetup s;
    if (result)
        result = readColumns(m_table, s, true);
    if (!result)
        return result;
    const QString column = s.invalidColumn();
    if (!column.isEmpty())
        return TResult::failure(invalidRowMessage(s.Description, column), xbase::StatusCode::Corruption);
    out = s;
    return TResult::success();
}

TResult TLabelSetups::WriteLabelSetup(xbase::Table &table, const TLabelSetup &s)
{
    struct Column {
        const char *name;
        QString value;
    };
    const Column columns[] = {
        {"DESCRIPT", s.Description.left(TLabelSetup::kDescriptionLength)},
        {"PRINTER", s.Printer},
        {"LBLHEIGHT", fixed3(s.LblHeight)},
        {"LBLWIDTH", fixed3(s.LblWidth)},
        {"NBRACROSS", QString::number(s.NbrAcross)},
        {"NBRDOWN", QString::number(s.NbrDown)},
        {"TOPMARG", fixed3(s.TopMarg)},
        {"LEFTMARG", fixed3(s.LeftMarg)},
        {"HORIZPITCH", fixed3(s.HorizPitch)},
        {"VERTPITCH", fixed3(s.VertPitch)},
        {"SHEETWIDTH", fixed3(s.SheetWidth)},
        {"SHEETDEPTH", fixed3(s.SheetDepth)},
        {"PAPERSIZE", s.PaperSize},
        {"LBLSHAPE", s.LblShape},
        {"TPLDESCRIP", s.TplDescrip},
        {"MANUFAC", s.Manufac},
        {"PRODTYPE", s.ProdType},
        {"MIDEXTRAX", fixed3(s.MidExtraX)},
        {"MIDEXTRAY", fixed3(s.MidExtraY)},
        {"ART", s.Art},
        {"BINARY", s.Binary},
    };
    for (const Column &c : columns) {
        const TResult set = TResult::fromStatus(table.setFieldValue(c.name, bytes(c.value)));
        if (!set)
            return set;
    }
    return TResult::fromStatus(table.setLogical("DELETED", false));
}

QString TLabelSetups::layoutPath(const QString &binary) const
{
    if (!TLayoutFileName::isLayoutFileName(binary.trimmed(), TGSurfaceKind::Label))
        return {};
    const QString name = binary.trimmed();
    // A file of that name in another case is the same file.
    const QStringList found = QDir(m_folder).entryList({name}, QDir::Files);
    return m_folder + (found.isEmpty() ? name : found.first());
}

bool TLabelSetups::layoutExists(const QString &binary) const
{
    const QString path = layoutPath(binary);
    return !path.isEmpty() && QFile::exists(path);
}

TResult TLabelSetups::namesInUse(QSet<QString> &out, quint32 except) const
{
    const int binary = m_table.schema().indexOf("BINARY");
    std::string record;
    for (uint32_t recno = 1; recno <= m_table.recordCount(); ++recno) {
        if (recno == except)
            continue;
        TResult result = TResult::fromStatus(m_table.storedRecord(recno, record));
        std::string name;
        if (result)
            result = TResult::fromStatus(m_table.fieldValue({record.data(), recno}, binary, name));
        if (!result)
            return result;
        out.insert(text(name).trimmed().toUpper());
    }
    return TResult::success();
}

TResult TLabelSetups::NextLayoutFileName(QString &out) const
{
    QSet<QString> used;
    const TResult read = namesInUse(used);
    if (!read)
        return read;
    const QString name = TLayoutFileName::firstUnused(m_folder, TGSurfaceKind::Label, used);
    if (name.isEmpty())
        return TResult::failure(noFreeNameMessage());
    out = name;
    return TResult::success();
}

TResult TLabelSetups::save(TLabelSetup &setup, quint32 &recno, const LayoutWriter &writeLayout)
{
    const bool isNew = recno == 0;
    const QString path = layoutPath(setup.Binary);
    if (path.isEmpty())
        return TResult::failure(QStringLiteral("The layout file name \"") + setup.Binary +
                                QStringLiteral("\" is not a label layout file name"));
    const bool existed = QFile::exists(path);
    TResult result = isNew ? TResult::success() : goTo(recno);
    if (result)
        result = writeLayout(path);
    if (!result)
        return result;
    setup.Description = setup.Description.left(TLabelSetup::kDescriptionLength);
    result = TResult::fromStatus(isNew ? m_table.appendBlank() : m_table.lockRecord());
    if (result)
        result = WriteLabelSetup(m_table, setup);
    if (result)
        result = TResult::fromStatus(m_table.post());
    if (!result) {
        m_table.cancelEdit();
        if (!existed)
            QFile::remove(path);
        return result;
    }
    if (isNew)
        recno = m_table.recno();
    return readRows();
}

TResult TLabelSetups::clone(quint32 recno, double pixelsPerInch, quint32 *newRecno)
{
    TLabelSetup setup;
    TResult result = ReadLabelSetup(recno, setup);
    if (!result)
        return result;
    if (!layoutExists(setup.Binary))
        return TResult::failure(removedFileMessage(), xbase::StatusCode::NotFound);
    QFile source(layoutPath(setup.Binary));
    if (!source.open(QIODevice::ReadOnly))
        return TResult::failure(source.errorString(), xbase::StatusCode::IoError);
    const QByteArray bytes = source.readAll();
    source.close();
    // The copy is written only when the layout reads whole, so a damaged file is never copied.
    TGOwner owner;
    TGLabelPanel surface(&owner, pixelsPerInch);
    result = TGLabelObjectFiler::readBytes(bytes, &owner, surface, false);
    if (!result)
        return result;
    QString name;
    result = NextLayoutFileName(name);
    if (!result)
        return result;
    setup.Description = cloneDescription(setup.Description);
    setup.Binary = name;
    quint32 added = 0;
    // The copy holds the bytes as they are, so the objects keep their stored names too.
    result = save(setup, added, [&bytes](const QString &path) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            return TResult::failure(QStringLiteral("Cannot create ") + path, xbase::StatusCode::IoError);
        return TResult::success();
    });
    if (result && newRecno)
        *newRecno = added;
    return result;
}

TResult TLabelSetups::remove(quint32 recno)
{
    TLabelSetup setup;
    TResult result = goTo(recno);
    if (result)
        result = readColumns(m_table, setup, true);
    if (result)
        result = TResult::fromStatus(m_table.deleteRecord());
    if (!result)
        return result;
    QSet<QString> others;
    result = namesInUse(others, recno);
    const QString path = layoutPath(setup.Binary);
    if (result && !path.isEmpty() && !others.contains(setup.Binary.trimmed().toUpper()))
        QFile::remove(path);
    const TResult reread = readRows();
    return result ? reread : result;
}
