#include "TLetterTemplates.h"

#include "TCp1252.h"
#include "TRichTextMemo.h"
#include "TSystemTables.h"
#include "TText.h"

#include <QTextDocument>

namespace {

std::string bytes(const QString &text)
{
    return TCp1252::fromString(text).toStdString();
}

QString text(const std::string &bytes)
{
    return TCp1252::toString(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

QString TLetterTemplates::cloneDescription(const QString &description)
{
    const QString clone = QStringLiteral("Clone of ") + description;
    return clone.left(kDescriptionLength);
}

TResult TLetterTemplates::open(const QString &programFolder)
{
    const TResult opened = TSystemTables::open(TSystemTable::Letter, m_table, programFolder);
    if (!opened)
        return opened;
    // Record order: the list shows the letters as they were added.
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

void TLetterTemplates::close()
{
    if (m_table.isOpen())
        (void)m_table.close(); // LETTER.DBF is posted after every change; a failed flush leaves it readable
    m_rows.clear();
}

TResult TLetterTemplates::readRows()
{
    m_rows.clear();
    std::vector<uint32_t> recnos;
    TResult result = TResult::fromStatus(m_table.visibleRecnos(recnos));
    if (!result)
        return result;
    std::string record;
    for (uint32_t recno : recnos) {
        result = TResult::fromStatus(m_table.storedRecord(recno, record));
        if (!result)
            return result;
        std::string description;
        const xbase::RecordRef ref{record.data(), recno};
        result =
            TResult::fromStatus(m_table.fieldValue(ref, m_table.schema().indexOf("DESCRIPT"), description));
        if (!result)
            return result;
        m_rows.append({recno, text(description)});
    }
    return TResult::success();
}

int TLetterTemplates::find(const QString &description) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).description == description)
            return i;
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).description.compare(description, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TResult TLetterTemplates::goTo(quint32 recno) const
{
    const TResult moved = TResult::fromStatus(m_table.go(recno));
    if (!moved)
        return moved;
    if (m_table.eof())
        return TResult::failure(QStringLiteral("The letter is no longer in LETTER.DBF"),
                                xbase::StatusCode::NotFound);
    return TResult::success();
}

TResult TLetterTemplates::rtfText(quint32 recno, QString &out) const
{
    out.clear();
    TResult result = goTo(recno);
    if (!result)
        return result;
    std::string memo;
    result = TResult::fromStatus(m_table.memo("RTF", memo));
    if (result)
        out = text(memo);
    return result;
}

TResult TLetterTemplates::loadDocument(quint32 recno, QTextDocument &document) const
{
    QString memo;
    const TResult read = rtfText(recno, memo);
    if (!read)
        return read;
    return TResult::fromStatus(TRichTextMemo::LoadRichText(memo, document));
}

TResult TLetterTemplates::store(const QString &description, const QString &memo)
{
    TResult result =
        TResult::fromStatus(m_table.setFieldValue("DESCRIPT", bytes(description.left(kDescriptionLength))));
    if (result)
        result = TResult::fromStatus(m_table.setFieldValue("RTF", bytes(memo)));
    if (result)
        result = TResult::fromStatus(m_table.post());
    if (!result) {
        m_table.cancelEdit();
        return result;
    }
    return readRows();
}

TResult TLetterTemplates::append(const QString &description, const QTextDocument &document, quint32 *recno)
{
    const TResult started = TResult::fromStatus(m_table.appendBlank());
    if (!started)
        return started;
    const TResult stored = store(description, TRichTextMemo::SaveRichText(document));
    if (stored && recno)
        *recno = m_table.recno();
    return stored;
}

TResult TLetterTemplates::modify(quint32 recno, const QString &description, const QTextDocument &document)
{
    TResult result = goTo(recno);
    if (result)
        result = TResult::fromStatus(m_table.lockRecord());
    if (!result)
        return result;
    return store(description, TRichTextMemo::SaveRichText(document));
}

TResult TLetterTemplates::remove(quint32 recno)
{
    TResult result = goTo(recno);
    if (result)
        result = TResult::fromStatus(m_table.deleteRecord());
    if (!result)
        return result;
    return readRows();
}

TResult TLetterTemplates::clone(quint32 recno, quint32 *newRecno)
{
    QString memo;
    QString description;
    TResult result = rtfText(recno, memo);
    if (!result)
        return result;
    for (const TLetterRow &row : std::as_const(m_rows))
        if (row.recno == recno)
            description = row.description;
    result = TResult::fromStatus(m_table.appendBlank());
    if (!result)
        return result;
    // The text was stored by the storing rule already; it goes over as it is.
    result = store(cloneDescription(description), memo);
    if (result && newRecno)
        *newRecno = m_table.recno();
    return result;
}
