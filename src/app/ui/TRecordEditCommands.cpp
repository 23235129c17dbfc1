#include "TRecordEditCommands.h"

#include "TAddressTable.h"
#include "THourglass.h"
#include "TMemoSearchForm.h"
#include "TMessages.h"
#include "TNewRecordForm.h"
#include "TSelectDateForm.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

TRecordEditCommands::TRecordEditCommands(TAddressTable &table, TRecordFormParts parts, TRecordFormHooks hooks,
                                         QObject *parent)
    : QObject(parent), m_table(table), m_editor(table), m_parts(std::move(parts)), m_hooks(std::move(hooks))
{
    m_editor.setFilterReapplier([this] {
        if (m_hooks.reapplyFilter)
            m_hooks.reapplyFilter();
    });
    setDialogRunner({});
    setTextPrompt({});
}

void TRecordEditCommands::setDialogRunner(DialogRunner runner)
{
    m_runDialog = runner ? std::move(runner) : DialogRunner([](QDialog &d) { return d.exec(); });
}

void TRecordEditCommands::setTextPrompt(TextPrompt prompt)
{
    if (prompt) {
        m_prompt = std::move(prompt);
        return;
    }
    m_prompt = [this](QString &text) {
        bool ok = false;
        text = QInputDialog::getText(m_parts.window, QStringLiteral("Memo Search"),
                                     QStringLiteral("Search For"), QLineEdit::Normal, m_memoSearchText, &ok);
        return ok;
    };
}

bool TRecordEditCommands::canEdit() const
{
    return m_table.isOpen() && !m_table.isEditing() && m_table.hasRecord();
}

bool TRecordEditCommands::isEditing() const
{
    return m_table.isEditing();
}

// ---- The buttons and menu items ---------------------------------------------------------

void TRecordEditCommands::AddButtonClick()
{
    if (!m_table.isOpen() || m_table.isEditing())
        return;
    const TAddingPrefs &p = m_editor.prefs();
    if (m_parts.pages && m_parts.addressPage)
        m_parts.pages->setCurrentWidget(m_parts.addressPage);
    const TCarryValues carry = m_editor.carryValues();

    TNewRecordAnswers answers;
    if (p.PlugCityState || p.AutoDupCheck) {
        TNewRecordForm form(p.AutoDupCheck, p.PlugCityState, m_table.fieldWidth(QStringLiteral("LNAME")),
                            m_table.fieldWidth(QStringLiteral("FNAME")),
                            m_table.fieldWidth(QStringLiteral("ZIP")), m_parts.window);
        if (runDialog(form) != QDialog::Accepted)
            return;
        if (p.PlugCityState)
            answers.zip = form.zip();
        if (p.AutoDupCheck) {
            answers.lname = form.lastName();
            answers.fname = form.firstName();
        }
    }
    // The city and state come from the ZIP first; then the duplicate-name test.
    m_editor.lookUpCityState(answers);
    if (p.AutoDupCheck) {
        const bool goOn =
            m_editor.CheckDupName(answers.fname, answers.lname, [this](const QString &question) {
                if (m_hooks.beep)
                    m_hooks.beep();
                return TMessages::question(m_parts.window, QStringLiteral("Possible Duplicate"), question,
                                           QMessageBox::No);
            });
        if (!goOn) {
            if (m_hooks.refreshForm)
                m_hooks.refreshForm();
            return;
        }
    }

    if (m_parts.memo)
        m_parts.memo->clear();
    const TResult inserted =
        m_editor.insertNewRecord(answers, carry, m_today.isValid() ? m_today : QDate::currentDate());
    if (!inserted) {
        showFailure(inserted);
        if (m_hooks.refreshForm)
            m_hooks.refreshForm();
        return;
    }
    hideFindNext();
    if (m_hooks.refreshForm)
        m_hooks.refreshForm();
    setButtons();
    if (QWidget *w = box(m_editor.focusFieldAfterAdd()))
        w->setFocus(Qt::OtherFocusReason);
    SetSkipFields(true);
}

void TRecordEditCommands::EditButtonClick()
{
    if (!canEdit())
        return;
    const xbase::Status locked = m_table.engine().lockRecord();
    if (!locked.ok()) {
        showFailure(TResult::failure(QString::fromStdString(locked.message())));
        return;
    }
    hideFindNext();
    setButtons();
}

bool TRecordEditCommands::SaveButtonClick()
{
    if (!m_table.isEditing())
        return false;
    QMap<QString, QString> fields;
    for (auto it = m_parts.boxes.cbegin(); it != m_parts.boxes.cend(); ++it)
        if (it.value())
            fields.insert(it.key(), it.value()->text());
    const QString memo = m_parts.memo ? m_parts.memo->toPlainText() : m_table.memo();
    const TResult saved = m_editor.save(fields, memo);
    if (!saved) {
        // The boxes keep what the user typed; the table keeps the edit open.
        showFailure(saved);
        setButtons();
        return false;
    }
    afterPost();
    if (m_hooks.refreshForm)
        m_hooks.refreshForm();
    return true;
}

void TRecordEditCommands::CancelButtonClick()
{
    if (!m_table.isEditing())
        return;
    m_editor.cancel();
    afterCancel();
    if (m_hooks.refreshForm)
        m_hooks.refreshForm();
}

void TRecordEditCommands::DeleteButtonClick()
{
    if (!canEdit())
        return;
    if (!TMessages::question(m_parts.window, QStringLiteral("DELETE"), QStringLiteral("Delete this record?"),
                             QMessageBox::No))
        return;
    const TResult deleted = m_editor.deleteCurrent();
    if (!deleted)
        showFailure(deleted);
    if (m_hooks.refreshForm)
        m_hooks.refreshForm();
    setButtons();
}

void TRecordEditCommands::mnuCloneClick()
{
    if (!canEdit())
        return;
    if (!TMessages::question(m_parts.window, QStringLiteral("Clone"), QStringLiteral("Clone this record?"),
                             QMessageBox::Yes))
        return;
    TResult cloned;
    {
        THourglass hourglass;
        cloned = m_editor.cloneCurrent();
    }
    if (m_hooks.refreshForm)
        m_hooks.refreshForm();
    setButtons();
    if (cloned)
        TMessages::information(m_parts.window,
                               QStringLiteral("Clone completed. Current record is an exact copy"));
    else
        showFailure(cloned);
}

void TRecordEditCommands::DateLabelClick()
{
    if (!m_table.isEditing() && !canEdit())
        return;
    const QDate today = m_today.isValid() ? m_today : QDate::currentDate();
    const QString shown =
        m_parts.dateBox ? m_parts.dateBox->text() : m_table.value(QStringLiteral("DisplayDate"));
    TSelectDateForm form(TSelectDateForm::startDate(shown, today), today, m_parts.window);
    runDialog(form);
    if (form.choice() == TSelectDateForm::Choice::Cancelled)
        return;
    if (!m_table.isEditing())
        EditButtonClick();
    if (!m_table.isEditing())
        return;
    const TResult set =
        m_editor.setDate(form.choice() == TSelectDateForm::Choice::Date ? form.selectedDate() : QDate());
    if (!set)
        showFailure(set);
    if (m_parts.dateBox)
        m_parts.dateBox->setText(m_table.value(QStringLiteral("DisplayDate")));
    setButtons();
}

void TRecordEditCommands::SearchMemoButtonClick()
{
    if (!canEdit())
        return;
    QString text = m_memoSearchText;
    if (!m_prompt(text) || text.isEmpty())
        return;
    m_memoSearchText = text;
    searchMemo(false);
}

void TRecordEditCommands::SearchMemoNextButtonClick()
{
    if (!canEdit() || m_memoSearchText.isEmpty())
        return;
    searchMemo(true);
}

void TRecordEditCommands::EditFieldClick()
{
    if (canEdit())
        EditButtonClick();
}

// ---- Key actions ------------------------------------------------------------------------

void TRecordEditCommands::saveAndOfferAnother()
{
    if (!m_table.isEditing() || !SaveButtonClick())
        return;
    if (TMessages::question(m_parts.window, QStringLiteral("Add"), QStringLiteral("Add another record?"),
                            QMessageBox::Yes))
        AddButtonClick();
}

void TRecordEditCommands::askSave()
{
    if (m_table.isEditing() && TMessages::question(m_parts.window, QStringLiteral("Save"),
                                                   QStringLiteral("Save changes?"), QMessageBox::Yes))
        SaveButtonClick();
}

void TRecordEditCommands::askCancel()
{
    if (m_table.isEditing() && TMessages::question(m_parts.window, QStringLiteral("Cancel"),
                                                   QStringLiteral("Cancel changes?"), QMessageBox::No))
        CancelButtonClick();
}

void TRecordEditCommands::moveNext()
{
    if (canEdit() && !m_table.next() && m_hooks.beep)
        m_hooks.beep();
}

void TRecordEditCommands::movePrior()
{
    if (canEdit() && !m_table.prior() && m_hooks.beep)
        m_hooks.beep();
}

void TRecordEditCommands::moveFirst()
{
    if (canEdit())
        m_table.first();
}

void TRecordEditCommands::moveLast()
{
    if (canEdit())
        m_table.last();
}

// ---- Form state -------------------------------------------------------------------------

void TRecordEditCommands::SetSkipFields(bool on)
{
    const QStringList skipped = on ? TRecordEditor::skippedFields(m_editor.prefs()) : QStringList();
    QHash<QString, QLineEdit *> all = m_parts.boxes;
    if (m_parts.dateBox)
        all.insert(QStringLiteral("DATE"), m_parts.dateBox);
    for (auto it = all.cbegin(); it != all.cend(); ++it) {
        QLineEdit *w = it.value();
        if (!w)
            continue;
        // The policy a box had before it was skipped is kept in a property, so any policy the
        // form gave it comes back.
        const QVariant saved = w->property("corvantisTabPolicy");
        if (skipped.contains(it.key())) {
            if (!saved.isValid())
                w->setProperty("corvantisTabPolicy", int(w->focusPolicy()));
            w->setFocusPolicy(Qt::FocusPolicy(w->focusPolicy() & ~Qt::TabFocus));
        } else if (saved.isValid()) {
            w->setFocusPolicy(Qt::FocusPolicy(saved.toInt()));
            w->setProperty("corvantisTabPolicy", QVariant());
        }
    }
}

void TRecordEditCommands::keepFocusInForm()
{
    if (!m_table.isEditing() || !m_parts.window)
        return;
    QWidget *focused = m_parts.window->focusWidget();
    if (focused) {
        if (focused == m_parts.memo || focused == m_parts.dateBox)
            return;
        for (QLineEdit *b : std::as_const(m_parts.boxes))
            if (b == focused)
                return;
    }
    if (QWidget *last = box(QStringLiteral("LNAME")))
        last->setFocus(Qt::OtherFocusReason);
}

void TRecordEditCommands::hideFindNext()
{
    if (m_parts.findNextButton)
        m_parts.findNextButton->hide();
}

void TRecordEditCommands::afterPost()
{
    SetSkipFields(false);
    setButtons();
}

void TRecordEditCommands::afterCancel()
{
    SetSkipFields(false);
    setButtons();
}

// ---- Helpers ----------------------------------------------------------------------------

void TRecordEditCommands::showFailure(const TResult &result)
{
    TMessages::failure(m_parts.window, result, QStringLiteral("The record could not be written"));
}

void TRecordEditCommands::setButtons()
{
    if (m_hooks.setButtons)
        m_hooks.setButtons();
    keepFocusInForm();
}

int TRecordEditCommands::runDialog(QDialog &dialog)
{
    return m_runDialog(dialog);
}

void TRecordEditCommands::searchMemo(bool fromNext)
{
    TMemoSearchForm form(m_memoSearchText, m_parts.window);
    const bool found = form.run(m_table, fromNext);
    if (m_parts.findNextButton)
        m_parts.findNextButton->setVisible(found);
    if (!found && m_hooks.beep)
        m_hooks.beep();
    if (m_hooks.refreshForm)
        m_hooks.refreshForm();
}

QWidget *TRecordEditCommands::box(const QString &field) const
{
    if (field == QLatin1String("DATE"))
        return m_parts.dateBox;
    return m_parts.boxes.value(field);
}
