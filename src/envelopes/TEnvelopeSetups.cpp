#include "TEnvelopeSetups.h"

#include "TCp1252.h"
#include "TFileCase.h"
#include "TGBasePanel.h"
#include "TGClassRegistry.h"
#include "TLayoutFileName.h"
#include "TSystemTables.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace {

std::string bytes(const QString &text)
{
    return TCp1252::fromString(text).toStdString();
}

QString text(const std::string &bytes)
{
    return TCp1252::toString(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Copies `from` to the new file `to` in 2048-byte blocks through a temporary file, so a failed
// copy leaves no file of that name.
TResult copyLayout(const QString &from, const QString &to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return TResult::failure(QStringLiteral("Unable to open ") + QFileInfo(from).fileName() +
                                    QStringLiteral(" to copy it: ") + in.errorString(),
                                xbase::StatusCode::IoError);
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        return TResult::failure(QStringLiteral("Unable to create ") + QFileInfo(to).fileName(),
                                xbase::StatusCode::IoError);
    char block[2048];
    for (;;) {
        const qint64 n = in.read(block, sizeof block);
        if (n < 0) {
            out.cancelWriting();
            return TResult::failure(QStringLiteral("Unable to read ") + QFileInfo(from).fileName(),
                                    xbase::StatusCode::IoError);
        }
        if (n == 0)
            break;
        if (out.write(block, n) != n) {
            out.cancelWriting();
            return TResult::failure(QStringLiteral("Unable to write ") + QFileInfo(to).fileName(),
                                    xbase::StatusCode::IoError);
        }
    }
    if (!out.commit())
        return TResult::failure(QStringLiteral("Unable to write ") + QFileInfo(to).fileName(),
                                xbase::StatusCode::IoError);
    return TResult::success();
}

} // namespace

QString TEnvelopeSetups::unknownSizeMessage(const QString &description)
{
    return QStringLiteral("The envelope size of \"") + description +
           QStringLiteral("\" is not known. It is taken as Envelope #10.");
}

QString TEnvelopeSetups::cloneDescription(const QString &description)
{
    const QString clone = QStringLiteral("Clone of ") + description;
    return clone.left(kDescriptionLength);
}

TResult TEnvelopeSetups::open(const QString &programFolder)
{
    const TResult opened = TSystemTables::open(TSystemTable::Envelope, m_table, programFolder);
    if (!opened)
        return opened;
    m_folder = TSystemTables::folder(programFolder);
    // The list shows the setups by description; without the tag, in record order.
    if (!m_table.setOrder(std::string_view("DESCRIPT")).ok())
        (void)m_table.setOrder(0); // record order always exists
    const TResult read = readRows();
    if (!read)
        close();
    return read;
}

void TEnvelopeSetups::close()
{
    if (m_table.isOpen())
        (void)m_table.close(); // every change is posted at once; a failed flush leaves it readable
    m_rows.clear();
}

TResult TEnvelopeSetups::readRows()
{
    m_rows.clear();
    std::vector<uint32_t> recnos;
    TResult result = TResult::fromStatus(m_table.visibleRecnos(recnos));
    if (!result)
        return result;
    const xbase::Schema &schema = m_table.schema();
    const int descript = schema.indexOf("DESCRIPT");
    const int number = schema.indexOf("NUMBER");
    const int binary = schema.indexOf("BINARY");
    std::string record;
    for (uint32_t recno : recnos) {
        result = TResult::fromStatus(m_table.storedRecord(recno, record));
        if (!result)
            return result;
        const xbase::RecordRef ref{record.data(), recno};
        std::string d, n, b;
        result = TResult::fromStatus(m_table.fieldValue(ref, descript, d));
        if (result)
            result = TResult::fromStatus(m_table.fieldValue(ref, number, n));
        if (result)
            result = TResult::fromStatus(m_table.fieldValue(ref, binary, b));
        if (!result)
            return result;
        TEnvelopeRow row;
        row.recno = recno;
        row.description = text(d).left(kDescriptionLength);
        row.number = QString::fromLatin1(n.data(), qsizetype(n.size())).trimmed().toInt();
        row.binary = text(b).trimmed();
        m_rows.append(row);
    }
    return TResult::success();
}

int TEnvelopeSetups::indexOf(quint32 recno) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).recno == recno)
            return i;
    return -1;
}

QString TEnvelopeSetups::layoutPath(const QString &binary) const
{
    if (!TLayoutFileName::isLayoutFileName(binary, TGSurfaceKind::Envelope))
        return QString();
    return TFileCase::resolve(m_folder, binary);
}

bool TEnvelopeSetups::hasLayoutFile(const QString &binary) const
{
    const QString path = layoutPath(binary);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString TEnvelopeSetups::nextBinaryName() const
{
    QSet<QString> used;
    for (const TEnvelopeRow &row : m_rows)
        used.insert(row.binary);
    return TLayoutFileName::firstUnused(m_folder, TGSurfaceKind::Envelope, used);
}

TResult TEnvelopeSetups::goTo(quint32 recno)
{
    const TResult moved = TResult::fromStatus(m_table.go(recno));
    if (!moved)
        return moved;
    if (m_table.eof())
        return TResult::failure(QStringLiteral("The envelope setup is no longer in ENVELOPE.DBF"),
                                xbase::StatusCode::NotFound);
    return TResult::success();
}

TResult TEnvelopeSetups::store(const TEnvelopeRow &row)
{
    TResult result = TResult::fromStatus(
        m_table.setFieldValue("DESCRIPT", bytes(row.description.left(kDescriptionLength))));
    if (result)
        result = TResult::fromStatus(m_table.setFieldValue("NUMBER", std::to_string(row.number)));
    if (result)
        result = TResult::fromStatus(m_table.setFieldValue("BINARY", bytes(row.binary)));
    if (result)
        result = TResult::fromStatus(m_table.post());
    if (!result)
        m_table.cancelEdit();
    return result;
}

TResult TEnvelopeSetups::save(TEnvelopeRow &row, TGBasePanel &surface)
{
    const QString path = layoutPath(row.binary);
    if (path.isEmpty())
        return TResult::failure(
            QStringLiteral("No free envelope layout file name is left in the sysdata folder"));
    const bool existed = QFileInfo::exists(path);
    TResult result = surface.SaveToFile(path);
    if (!result)
        return result;
    const bool isNew = row.recno == 0;
    result = isNew ? TResult::fromStatus(m_table.appendBlank()) : goTo(row.recno);
    if (result && !isNew)
        result = TResult::fromStatus(m_table.lockRecord());
    if (result)
        result = store(row);
    if (!result) {
        // A new row that did not post names nothing: the file it was to name goes again.
        if (isNew && !existed)
            QFile::remove(path);
        return result;
    }
    if (isNew)
        row.recno = m_table.recno();
    return readRows();
}

TResult TEnvelopeSetups::remove(quint32 recno)
{
    const int index = indexOf(recno);
    const QString binary = index >= 0 ? m_rows.at(index).binary : QString();
    TResult result = goTo(recno);
    if (result)
        result = TResult::fromStatus(m_table.deleteRecord());
    if (!result)
        return result;
    const QString path = layoutPath(binary);
    if (!path.isEmpty() && QFileInfo(path).isFile())
        QFile::remove(path); // a file that stays is harmless: no row names it
    return readRows();
}

TResult TEnvelopeSetups::clone(quint32 recno, quint32 *newRecno)
{
    const int index = indexOf(recno);
    if (index < 0)
        return TResult::failure(QStringLiteral("The envelope setup is no longer in ENVELOPE.DBF"),
                                xbase::StatusCode::NotFound);
    const TEnvelopeRow old = m_rows.at(index);
    const QString from = layoutPath(old.binary);
    if (from.isEmpty() || !QFileInfo(from).isFile())
        return TResult::failure(
            QStringLiteral("The layout file of \"") + old.description +
                QStringLiteral("\" is missing from the sysdata folder; nothing was cloned."),
            xbase::StatusCode::NotFound);
    TEnvelopeRow row;
    row.binary = nextBinaryName();
    const QString to = layoutPath(row.binary);
    if (to.isEmpty())
        return TResult::failure(
            QStringLiteral("No free envelope layout file name is left in the sysdata folder"));
    TResult result = copyLayout(from, to);
    if (!result)
        return result;
    row.description = cloneDescription(old.description);
    row.number = old.number;
    result = TResult::fromStatus(m_table.appendBlank());
    if (result)
        result = store(row);
    if (!result) {
        QFile::remove(to);
        return result;
    }
    if (newRecno)
        *newRecno = m_table.recno();
    return readRows();
}
