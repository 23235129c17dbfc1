#include "TReportDefinitions.h"

#include "LayoutStreamWriter.h"
#include "TCp1252.h"
#include "TFileCase.h"
#include "TGBasePanel.h"
#include "TGLabelObjectFiler.h"
#include "TLayoutFileName.h"
#include "TReportSettingsList.h"
#include "TSystemTables.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QUndoStack>

namespace {

std::string bytes(const QString &text)
{
    return TCp1252::fromString(text).toStdString();
}

QString text(const std::string &bytes)
{
    return TCp1252::toString(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::vector<const TGGraphicControl *> objectsOf(const TGBasePanel &surface)
{
    return {surface.objects().begin(), surface.objects().end()};
}

} // namespace

QString TReportDefinitions::cloneDescription(const QString &description)
{
    const QString clone = QStringLiteral("Clone of ") + description;
    return clone.left(kDescriptionLength);
}

TResult TReportDefinitions::open(const QString &programFolder)
{
    const TResult opened = TSystemTables::open(TSystemTable::Report, m_table, programFolder);
    if (!opened)
        return opened;
    m_folder = TSystemTables::folder(programFolder);
    const TResult ordered = TResult::fromStatus(m_table.setOrder(0));
    if (!ordered) {
        close();
        return ordered;
    }
    const TResult read = readRows();
    if (!read)
        close();
    return read;
}

void TReportDefinitions::close()
{
    if (m_table.isOpen())
        (void)m_table.close(); // REPORT.DBF is posted after every change; a failed flush leaves it readable
    m_rows.clear();
}

TResult TReportDefinitions::readRows()
{
    m_rows.clear();
    std::vector<uint32_t> recnos;
    TResult result = TResult::fromStatus(m_table.visibleRecnos(recnos));
    if (!result)
        return result;
    std::string record;
    const int descript = m_table.schema().indexOf("DESCRIPT");
    const int layout = m_table.schema().indexOf("LAYOUT");
    const int binary = m_table.schema().indexOf("BINARY");
    for (uint32_t recno : recnos) {
        result = TResult::fromStatus(m_table.storedRecord(recno, record));
        if (!result)
            return result;
        const xbase::RecordRef ref{record.data(), recno};
        std::string d, l, b;
        result = TResult::fromStatus(m_table.fieldValue(ref, descript, d));
        if (result)
            result = TResult::fromStatus(m_table.fieldValue(ref, layout, l));
        if (result)
            result = TResult::fromStatus(m_table.fieldValue(ref, binary, b));
        if (!result)
            return result;
        m_rows.append({recno, text(d), text(l), text(b).trimmed()});
    }
    return TResult::success();
}

int TReportDefinitions::find(const QString &description) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).description == description)
            return i;
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).description.compare(description, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const TReportRow *TReportDefinitions::row(quint32 recno) const
{
    for (const TReportRow &r : m_rows)
        if (r.recno == recno)
            return &r;
    return nullptr;
}

QString TReportDefinitions::layoutPath(const TReportRow &r) const
{
    if (!TLayoutFileName::isLayoutFileName(r.binary, TGSurfaceKind::Report))
        return {};
    return TFileCase::resolve(m_folder, r.binary);
}

QString TReportDefinitions::NextReportBinaryName() const
{
    QSet<QString> inUse;
    for (const TReportRow &r : m_rows)
        if (!r.binary.isEmpty())
            inUse.insert(r.binary);
    return TLayoutFileName::firstUnused(m_folder, TGSurfaceKind::Report, inUse);
}

TResult TReportDefinitions::LoadReport(const TReportRow &r, TGOwner *owner, TGBasePanel &header,
                                       TGBasePanel &detail, TGBasePanel &footer,
                                       TReportSettings &settings) const
{
    const QString path = layoutPath(r);
    if (path.isEmpty()) {
        header.ClearObjects();
        detail.ClearObjects();
        footer.ClearObjects();
        settings = TReportSettings::defaults(settings.pixelsPerInch());
        return TResult::success();
    }
    return LoadReportFile(path, owner, header, detail, footer, settings);
}

TResult TReportDefinitions::LoadReportFile(const QString &path, TGOwner *owner, TGBasePanel &header,
                                           TGBasePanel &detail, TGBasePanel &footer,
                                           TReportSettings &settings)
{
    // Whatever the file holds or lacks, nothing of the report shown before stays.
    header.ClearObjects();
    detail.ClearObjects();
    footer.ClearObjects();
    const int dpi = settings.pixelsPerInch();
    settings = TReportSettings::defaults(dpi);
    TReportSettingsList read = settings.toList();
    bool listRead = false;
    TGLabelObjectFiler filer;
    // The stored names stay, so a report opened and saved unchanged is the same file.
    filer.setKeepStoredNames(true);
    const TResult loaded =
        filer.LoadReportBands(owner, header, detail, footer, path, [&](LayoutStreamReader &r) {
            TReportSettingsList list;
            list.read(r);
            read = list;
            listRead = true;
        });
    for (TGBasePanel *band : {&header, &detail, &footer}) {
        band->undoStack().clear();
        band->WireAllObjects();
        band->RefreshData();
    }
    if (!loaded)
        return loaded;
    if (listRead)
        settings = TReportSettings::fromList(read, dpi);
    return TResult::success();
}

QByteArray TReportDefinitions::reportBytes(TGBasePanel &header, TGBasePanel &detail, TGBasePanel &footer,
                                           const TReportSettings &settings)
{
    LayoutStreamWriter w;
    for (TGBasePanel *band : {&header, &detail, &footer}) {
        band->ClearDataValues();
        TGLabelObjectFiler::writeList(w, objectsOf(*band));
    }
    w.writeListBegin();
    settings.toList().write(w);
    w.writeListEnd();
    for (TGBasePanel *band : {&header, &detail, &footer})
        band->RefreshData();
    return w.bytes();
}

TResult TReportDefinitions::writeFileAtomically(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        return TResult::failure(QStringLiteral("Unable to write ") + QDir::toNativeSeparators(path) +
                                    QStringLiteral(": ") + file.errorString(),
                                xbase::StatusCode::IoError);
    return TResult::success();
}

TResult TReportDefinitions::goTo(quint32 recno) const
{
    const TResult moved = TResult::fromStatus(m_table.go(recno));
    if (!moved)
        return moved;
    if (m_table.eof())
        return TResult::failure(QStringLiteral("The report is no longer in REPORT.DBF"),
                                xbase::StatusCode::NotFound);
    return TResult::success();
}

TResult TReportDefinitions::store(const QString &description, const QString &layout, const QString &binary)
{
    TResult result =
        TResult::fromStatus(m_table.setFieldValue("DESCRIPT", bytes(description.left(kDescriptionLength))));
    if (result)
        result = TResult::fromStatus(m_table.setFieldValue("LAYOUT", bytes(layout.left(kLayoutLength))));
    if (result)
        result = TResult::fromStatus(m_table.setFieldValue("BINARY", bytes(binary)));
    if (result)
        result = TResult::fromStatus(m_table.post());
    if (!result) {
        m_table.cancelEdit();
        return result;
    }
    return readRows();
}

TResult TReportDefinitions::SaveReport(bool isNew, quint32 recno, const QString &description,
                                       const QString &layout, TGBasePanel &header, TGBasePanel &detail,
                                       TGBasePanel &footer, const TReportSettings &settings,
                                       quint32 *savedRecno)
{
    if (!isOpen())
        return TResult::failure(QStringLiteral("REPORT.DBF is not open"));
    QString binary;
    if (isNew) {
        binary = NextReportBinaryName();
        if (binary.isEmpty())
            return TResult::failure(QStringLiteral("No free report file name is left in ") +
                                    QDir::toNativeSeparators(m_folder));
    } else {
        const TReportRow *r = row(recno);
        if (!r)
            return TResult::failure(QStringLiteral("The report is no longer in REPORT.DBF"),
                                    xbase::StatusCode::NotFound);
        binary = r->binary;
        // A row without a usable file name gets a new one rather than writing where it points.
        if (!TLayoutFileName::isLayoutFileName(binary, TGSurfaceKind::Report))
            binary = NextReportBinaryName();
        if (binary.isEmpty())
            return TResult::failure(QStringLiteral("No free report file name is left in ") +
                                    QDir::toNativeSeparators(m_folder));
    }
    const QString path = TFileCase::resolve(m_folder, binary);
    const TResult written = m_writeFile(path, reportBytes(header, detail, footer, settings));
    if (!written)
        return written;

    TResult result = isNew ? TResult::fromStatus(m_table.appendBlank()) : goTo(recno);
    if (result && !isNew)
        result = TResult::fromStatus(m_table.lockRecord());
    if (result)
        result = store(description, layout, binary);
    if (!result) {
        // A new file no row names would only take a name from the next report.
        if (isNew)
            QFile::remove(path);
        return result;
    }
    if (savedRecno)
        *savedRecno = isNew ? m_table.recno() : recno;
    return TResult::success();
}

TResult TReportDefinitions::remove(quint32 recno)
{
    const TReportRow *r = row(recno);
    if (!r)
        return TResult::failure(QStringLiteral("The report is no longer in REPORT.DBF"),
                                xbase::StatusCode::NotFound);
    const QString path = layoutPath(*r);
    TResult result = goTo(recno);
    if (result)
        result = TResult::fromStatus(m_table.deleteRecord());
    if (!result)
        return result;
    if (!path.isEmpty() && QFile::exists(path) && !QFile::remove(path)) {
        (void)readRows();
        return TResult::failure(QStringLiteral("Unable to delete ") + QDir::toNativeSeparators(path),
                                xbase::StatusCode::IoError);
    }
    return readRows();
}

TResult TReportDefinitions::clone(quint32 recno, quint32 *newRecno)
{
    const TReportRow *found = row(recno);
    if (!found)
        return TResult::failure(QStringLiteral("The report is no longer in REPORT.DBF"),
                                xbase::StatusCode::NotFound);
    const TReportRow original = *found;
    const QString name = NextReportBinaryName();
    if (name.isEmpty())
        return TResult::failure(QStringLiteral("No free report file name is left in ") +
                                QDir::toNativeSeparators(m_folder));
    const QString from = layoutPath(original);
    const QString to = QDir(m_folder).filePath(name);
    // Nothing is appended unless the copy is whole: a clone without its layout would print an
    // empty page.
    if (from.isEmpty() || !QFile::exists(from))
        return TResult::failure(QStringLiteral("The layout file of \"") + original.description +
                                    QStringLiteral("\" is missing, so it cannot be cloned"),
                                xbase::StatusCode::NotFound);
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return TResult::failure(QStringLiteral("Unable to read ") + QDir::toNativeSeparators(from),
                                xbase::StatusCode::IoError);
    const QByteArray data = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return TResult::failure(QStringLiteral("Unable to read ") + QDir::toNativeSeparators(from),
                                xbase::StatusCode::IoError);
    const TResult copied = m_writeFile(to, data);
    if (!copied)
        return copied;
    const QString binary = name;
    TResult result = TResult::fromStatus(m_table.appendBlank());
    if (result)
        result = store(cloneDescription(original.description), original.layout, binary);
    if (!result) {
        QFile::remove(to);
        return result;
    }
    if (newRecno)
        *newRecno = m_table.recno();
    return TResult::success();
}
