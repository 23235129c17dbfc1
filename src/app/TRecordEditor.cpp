#include "TRecordEditor.h"

#include "TAddressTable.h"
#include "TDateText.h"
#include "TFreezeGuard.h"

namespace {

// The fields a clone copies, in the order they are written.
const char *const kCloneFields[] = {"LNAME",   "FNAME", "MIDDLE", "PREFIX", "TITLE",   "ORG",   "STREET",
                                    "STREET2", "CITY",  "STATE",  "ZIP",    "COUNTRY", "PHONE", "PHONE2",
                                    "EMAIL",   "FAX",   "CODES",  "USER1",  "USER2",   "DATE"};

// Puts order, Exact and record back as they were when constructed; failures are ignored,
// since the look-up that moved them has its answer already.
class TPositionKeeper
{
public:
    explicit TPositionKeeper(TAddressTable &table)
        : m_table(table), m_order(table.orderTag()), m_exact(table.engine().isExact()),
          m_recno(table.recno()), m_hadRecord(table.hasRecord())
    {
    }
    void restoreSettings()
    {
        m_table.engine().setExact(m_exact);
        m_table.setOrderTag(m_order);
    }
    void restoreRecord()
    {
        if (m_hadRecord)
            (void)m_table.goTo(m_recno);
        else // back to the end, where a file showing nothing stands
            (void)m_table.engine().go(m_table.engine().recordCount() + 1);
    }

private:
    TAddressTable &m_table;
    QString m_order;
    bool m_exact;
    quint32 m_recno;
    bool m_hadRecord;
};

} // namespace

TRecordEditor::TRecordEditor(TAddressTable &table) : m_table(table) {}

TCarryValues TRecordEditor::carryValues() const
{
    TCarryValues c;
    if (!m_table.hasRecord())
        return c;
    c.org = m_table.value(QStringLiteral("ORG"));
    c.city = m_table.value(QStringLiteral("CITY"));
    c.state = m_table.value(QStringLiteral("STATE"));
    c.zip = m_table.value(QStringLiteral("ZIP"));
    c.street = m_table.value(QStringLiteral("STREET"));
    c.street2 = m_table.value(QStringLiteral("STREET2"));
    if (m_prefs.CarryCountry)
        c.country = m_table.value(QStringLiteral("COUNTRY"));
    return c;
}

bool TRecordEditor::FillCityState(const QString &zip, QString &city, QString &state)
{
    if (zip.isEmpty() || !m_table.isOpen())
        return false;
    TFreezeGuard frozen(m_table);
    TPositionKeeper keeper(m_table);
    bool found = false;
    m_table.engine().setExact(false);
    if (m_table.setOrderTag(QStringLiteral("ZIP")) && m_table.seek(zip.toUpper())) {
        city = m_table.value(QStringLiteral("CITY"));
        state = m_table.value(QStringLiteral("STATE"));
        found = true;
    }
    keeper.restoreSettings();
    keeper.restoreRecord();
    return found;
}

TRecordEditor::Duplicate TRecordEditor::findDuplicateName(const QString &first, const QString &last)
{
    Duplicate dup;
    if (first.isEmpty() || last.isEmpty() || !m_table.isOpen())
        return dup;
    TFreezeGuard frozen(m_table);
    TPositionKeeper keeper(m_table);
    m_table.engine().setExact(true);
    if (m_table.setOrderTag(QStringLiteral("LNAME")) && m_table.seek(m_table.nameKey(last, first))) {
        auto v = [this](const char *name) { return m_table.value(QLatin1String(name)); };
        dup.recno = m_table.recno();
        dup.question = QStringLiteral("Possible duplicate: \r\n\r\n") + v("FNAME") + QStringLiteral(" ") +
                       v("LNAME") + QStringLiteral("\r\n") + v("STREET") + QStringLiteral("\r\n") +
                       v("CITY") + QStringLiteral(",") + v("STATE") + QStringLiteral(" ") + v("ZIP") +
                       QStringLiteral("\r\n\r\nContinue adding?");
    }
    keeper.restoreSettings();
    keeper.restoreRecord();
    return dup;
}

bool TRecordEditor::CheckDupName(const QString &first, const QString &last,
                                 const std::function<bool(const QString &question)> &askContinue)
{
    const Duplicate dup = findDuplicateName(first, last);
    if (dup.recno == 0)
        return true;
    if (askContinue(dup.question))
        return true;
    // The duplicate was just found there; should it not show, the record stays as it was.
    (void)m_table.goTo(dup.recno);
    return false;
}

bool TRecordEditor::lookUpCityState(TNewRecordAnswers &answers)
{
    if (!m_prefs.PlugCityState || answers.zip.isEmpty())
        return false;
    QString city;
    QString state;
    if (!FillCityState(answers.zip, city, state))
        return false;
    answers.city = city;
    answers.state = state;
    return true;
}

TResult TRecordEditor::insertNewRecord(const TNewRecordAnswers &answers, const TCarryValues &carry,
                                       const QDate &today)
{
    if (!m_table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));

    // Field values in the order they are written; later ones see the earlier ones.
    QMap<QString, QString> record;
    auto put = [&record](const char *name, const QString &text) { record[QLatin1String(name)] = text; };
    auto empty = [&record](const char *name) { return record.value(QLatin1String(name)).isEmpty(); };
    if (!answers.fname.isEmpty())
        put("FNAME", answers.fname);
    if (!answers.lname.isEmpty())
        put("LNAME", answers.lname);
    if (!answers.zip.isEmpty()) {
        put("ZIP", answers.zip);
        if (!answers.city.isEmpty())
            put("CITY", answers.city);
        if (!answers.state.isEmpty())
            put("STATE", answers.state);
    }
    if (empty("ZIP") && m_prefs.CarryZip)
        put("ZIP", carry.zip);
    if (empty("CITY") && m_prefs.CarryCity)
        put("CITY", carry.city);
    if (empty("STATE") && m_prefs.CarryState)
        put("STATE", carry.state);
    if (m_prefs.CarryCountry)
        put("COUNTRY", carry.country);
    if (m_prefs.CarrySA1)
        put("STREET", carry.street);
    if (m_prefs.CarrySA2)
        put("STREET2", carry.street2);
    if (carry.country.isEmpty() && !m_prefs.DefaultCountry.isEmpty())
        put("COUNTRY", m_prefs.DefaultCountry);
    if (m_prefs.PlugDate)
        put("DATE", TDateText::toYmd(today));
    if (m_prefs.CarryOrg)
        put("ORG", carry.org);

    if (const TResult appended = appendWith(record); !appended)
        return appended;
    return TResult::success();
}

QString TRecordEditor::focusFieldAfterAdd() const
{
    if (!m_prefs.SkipLastName && m_table.value(QStringLiteral("LNAME")).isEmpty())
        return QStringLiteral("LNAME");
    if (!m_prefs.SkipfirstName && m_table.value(QStringLiteral("FNAME")).isEmpty())
        return QStringLiteral("FNAME");
    if (!m_prefs.SkipMiddleInitial)
        return QStringLiteral("MIDDLE");
    if (!m_prefs.SkipPrefix)
        return QStringLiteral("PREFIX");
    if (!m_prefs.Skiptitle)
        return QStringLiteral("TITLE");
    if (!m_prefs.SkipOrganization)
        return QStringLiteral("ORG");
    return QStringLiteral("STREET");
}

QStringList TRecordEditor::skippedFields(const TAddingPrefs &p)
{
    const std::pair<bool, const char *> flags[] = {
        {p.SkipLastName, "LNAME"},   {p.SkipfirstName, "FNAME"}, {p.SkipMiddleInitial, "MIDDLE"},
        {p.SkipPrefix, "PREFIX"},    {p.Skiptitle, "TITLE"},     {p.SkipOrganization, "ORG"},
        {p.SkipAddress2, "STREET2"}, {p.SkipState, "STATE"},     {p.SkipZip, "ZIP"},
        {p.SkipCountry, "COUNTRY"},  {p.SkipPhone1, "PHONE"},    {p.SkipPhone2, "PHONE2"},
        {p.SkipFax, "FAX"},          {p.SkipEmail, "EMAIL"},     {p.SkipCodes, "CODES"},
        {p.SkipComments1, "USER1"},  {p.SkipDate, "DATE"},       {p.Skipcomments2, "USER2"},
    };
    QStringList out;
    for (const auto &f : flags)
        if (f.first)
            out.append(QLatin1String(f.second));
    return out;
}

QString TRecordEditor::storedMemo(const QString &memoText)
{
    QString text = memoText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (!text.isEmpty() && text.size() % 4 == 0) {
        // The blank goes at the end of the last line, ahead of a final line break.
        if (text.endsWith(QStringLiteral("\r\n")))
            text.insert(text.size() - 2, QLatin1Char(' '));
        else
            text.append(QLatin1Char(' '));
    }
    return text;
}

TResult TRecordEditor::save(const QMap<QString, QString> &fields, const QString &memoText)
{
    if (!m_table.isEditing())
        return TResult::success();
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        if (m_table.value(it.key()) == it.value())
            continue;
        const TResult set = m_table.setValue(it.key(), it.value());
        if (!set)
            return set;
    }
    const QString memo = storedMemo(memoText);
    if (m_table.memo() != memo) {
        const TResult set = m_table.setValue(QStringLiteral("MEMO"), memo);
        if (!set)
            return set;
    }
    const TResult posted = m_table.post();
    if (!posted)
        return posted;
    reapplyFilterWhenNothingVisible();
    return TResult::success();
}

void TRecordEditor::cancel()
{
    m_table.cancelEdit();
}

TResult TRecordEditor::deleteCurrent()
{
    if (!m_table.hasRecord() || m_table.isEditing())
        return TResult::failure(QStringLiteral("No record to delete"));
    xbase::Table &engine = m_table.engine();
    TFreezeGuard frozen(m_table);
    engine.setDeletedHidden(false);
    TResult result;
    const xbase::Status marked = engine.deleteRecord();
    if (!marked.ok()) {
        result = TResult::fromStatus(marked);
    } else {
        result = m_table.setValue(QStringLiteral("ISDEL"), QStringLiteral("T"));
        if (result)
            result = m_table.post();
        if (!result)
            m_table.cancelEdit(); // the delete mark alone still hides the record
    }
    engine.setDeletedHidden(true);
    if (result || marked.ok()) {
        // The deleted record is hidden now: its neighbour shows, or the first record, or none.
        if (!m_table.prior())
            (void)m_table.first();
    }
    frozen.release();
    reapplyFilterWhenNothingVisible();
    return result;
}

TResult TRecordEditor::appendWith(const QMap<QString, QString> &values)
{
    const xbase::Status started = m_table.engine().appendBlank();
    if (!started.ok())
        return TResult::fromStatus(started);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.value().isEmpty())
            continue;
        const TResult set = m_table.setValue(it.key(), it.value());
        if (!set) {
            m_table.cancelEdit();
            return set;
        }
    }
    return TResult::success();
}

TResult TRecordEditor::cloneCurrent()
{
    if (!m_table.hasRecord() || m_table.isEditing())
        return TResult::failure(QStringLiteral("No record to clone"));
    QMap<QString, QString> values;
    for (const char *name : kCloneFields)
        values[QLatin1String(name)] = m_table.value(QLatin1String(name));
    const QString memo = m_table.memo();
    if (const TResult appended = appendWith(values); !appended)
        return appended;
    if (!memo.isEmpty()) {
        const TResult set = m_table.setValue(QStringLiteral("MEMO"), memo);
        if (!set) {
            m_table.cancelEdit();
            return set;
        }
    }
    const TResult posted = m_table.post();
    if (!posted) {
        m_table.cancelEdit();
        return posted;
    }
    return TResult::success();
}

TResult TRecordEditor::setDate(const QDate &date)
{
    return m_table.setValue(QStringLiteral("DATE"), TDateText::toYmd(date));
}

void TRecordEditor::reapplyFilterWhenNothingVisible()
{
    if (m_table.isOpen() && m_reapplyFilter && m_table.visibleCount() == 0)
        m_reapplyFilter();
}
