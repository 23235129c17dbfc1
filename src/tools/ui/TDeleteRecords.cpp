#include "TDeleteRecords.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressSession.h"
#include "TMessages.h"
#include "TRecordDeleter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3704;

TDeleteRecords::TDeleteRecords(TAddressSession &session, QWidget *parent)
    : TToolWindow(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("Delete Records"));
    ChoicePanel = new QWidget(this);
    DeleteAll = new QRadioButton(QStringLiteral("Delete &All Records"), ChoicePanel);
    const qint64 all = TRecordDeleter::recordsInFile(session.table());
    AllCountLabel = new QLabel(
        QStringLiteral("Removes all %1 records of the file for good, also those the filter hides").arg(all),
        ChoicePanel);
    DeleteFilter = new QRadioButton(QStringLiteral("Delete Records matching current &Filter"), ChoicePanel);
    DeleteNotFilter =
        new QRadioButton(QStringLiteral("Delete Records which do &NOT match current Filter"), ChoicePanel);
    DeleteAll->setChecked(true);
    DeleteFilter->setEnabled(session.isFilterSet());
    DeleteNotFilter->setEnabled(session.isFilterSet());
    auto *choices = new QVBoxLayout(ChoicePanel);
    choices->addWidget(DeleteAll);
    choices->addWidget(AllCountLabel);
    choices->addWidget(DeleteFilter);
    choices->addWidget(DeleteNotFilter);

    ProgressLabel = new QLabel(QStringLiteral("Deleting Records "), this);
    ProgressLabel->hide();
    DeleteNowButton = new QPushButton(QStringLiteral("Delete Now"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(DeleteNowButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ChoicePanel);
    layout->addWidget(ProgressLabel);
    layout->addWidget(Gauge);
    layout->addLayout(buttons);

    connect(DeleteNowButton, &QPushButton::clicked, this, &TDeleteRecords::DoitClick);
    connect(CancelButton, &QPushButton::clicked, this, &TDeleteRecords::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {DeleteAll, "Deletes every record of the file, also those the filter hides."},
             {DeleteFilter, "Deletes the records that match the current filter."},
             {DeleteNotFilter, "Deletes the records that do not match the current filter."},
             {DeleteNowButton, "Deletes the chosen records for good after asking."},
             {CancelButton, "Closes the window, or stops the deleting."},
             {HelpButton, "Opens the help page about deleting records."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TDeleteRecords::DoitClick()
{
    if (isRunning())
        return;
    if (!TMessages::question(this, QStringLiteral("DELETE"), QStringLiteral("Are you sure?"),
                             QMessageBox::No))
        return;
    TRecordDeleter::Choice choice = TRecordDeleter::Choice::MatchingFilter;
    if (DeleteAll->isChecked())
        choice = TRecordDeleter::Choice::All;
    else if (DeleteNotFilter->isChecked() && m_session.isFilterSet())
        choice = TRecordDeleter::Choice::NotMatchingFilter;
    HelpButton->hide();
    ChoicePanel->hide();
    CancelButton->hide(); // deletion runs to the end once confirmed
    DeleteNowButton->setEnabled(false);
    ProgressLabel->show();
    beginRun();
    qint64 deleted = 0;
    const TResult result =
        TRecordDeleter::run(m_session.table(), choice, m_session.filterExpression(), *this, deleted);
    endRun();
    if (!result.ok)
        TMessages::failure(this, result);
    TMessages::information(this, QStringLiteral("Deleted %1 records").arg(deleted));
    TMessages::information(
        this,
        QStringLiteral("For optimum space usage, please select\r\n[Rebuild Indexes] from the File menu"));
    accept();
}
