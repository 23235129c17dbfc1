#include "TSearchAndReplace.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressSession.h"
#include "TFieldReplacer.h"
#include "TMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3705;

TSearchAndReplace::TSearchAndReplace(TAddressSession &session, QWidget *parent)
    : TToolWindow(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("Search and Replace"));
    TargetField = new QComboBox(this);
    for (const auto &field : TFieldReplacer::fields())
        TargetField->addItem(field.first, field.second);

    auto *findBox = new QGroupBox(QStringLiteral("Where the field value:"), this);
    FindExact = new QRadioButton(QStringLiteral("Is exactly equal to  (leave empty for blank)"), findBox);
    FindPartial = new QRadioButton(QStringLiteral("Contains"), findBox);
    FindExact->setChecked(true);
    FindValue = new QLineEdit(findBox);
    CaseSensitive = new QCheckBox(QStringLiteral("Case sensitive"), findBox);
    CaseSensitive->setChecked(true);
    auto *find = new QVBoxLayout(findBox);
    find->addWidget(FindExact);
    find->addWidget(FindPartial);
    find->addWidget(FindValue);
    find->addWidget(CaseSensitive);

    auto *actionBox = new QGroupBox(QStringLiteral("And do this action:"), this);
    ReplaceWhole = new QRadioButton(QStringLiteral("Replace the whole field with"), actionBox);
    ReplacePartial = new QRadioButton(QStringLiteral("Replace only the matching text with"), actionBox);
    ReplaceWhole->setChecked(true);
    ReplaceValue = new QLineEdit(actionBox);
    auto *action = new QVBoxLayout(actionBox);
    action->addWidget(ReplaceWhole);
    action->addWidget(ReplacePartial);
    action->addWidget(ReplaceValue);

    auto *usingBox = new QGroupBox(QStringLiteral("Using:"), this);
    ReplaceAll = new QRadioButton(QStringLiteral("All Records"), usingBox);
    ReplaceFilter = new QRadioButton(QStringLiteral("Records matching current Filter"), usingBox);
    ReplaceAll->setChecked(true);
    ReplaceFilter->setEnabled(session.isFilterSet());
    auto *usingLayout = new QVBoxLayout(usingBox);
    usingLayout->addWidget(ReplaceAll);
    usingLayout->addWidget(ReplaceFilter);

    ProgressLabel = new QLabel(QStringLiteral("Replacing Records "), this);
    ProgressLabel->hide();
    ReplaceButton = new QPushButton(QStringLiteral("Replace "), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ReplaceButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto *top = new QFormLayout;
    top->addRow(QStringLiteral("Search for field:"), TargetField);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(findBox);
    layout->addWidget(actionBox);
    layout->addWidget(usingBox);
    layout->addWidget(ProgressLabel);
    layout->addWidget(Gauge);
    layout->addLayout(buttons);

    connect(TargetField, &QComboBox::currentIndexChanged, this, &TSearchAndReplace::TargetFieldChange);
    connect(ReplaceButton, &QPushButton::clicked, this, &TSearchAndReplace::DoitClick);
    connect(CancelButton, &QPushButton::clicked, this, &TSearchAndReplace::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {TargetField, "The field to search in and change."},
             {FindExact, "Finds the records whose field is exactly the value; leave the value empty to find empty fields."},
             {FindPartial, "Finds the records whose field contains the value."},
             {FindValue, "The value to look for."},
             {CaseSensitive, "Tells capitals from small letters when looking for the value."},
             {ReplaceWhole, "Puts the new text in place of the whole field."},
             {ReplacePartial, "Puts the new text in place of the matching part only."},
             {ReplaceValue, "The new text."},
             {ReplaceAll, "Works on every record of the file."},
             {ReplaceFilter, "Works on the records that match the current filter."},
             {ReplaceButton, "Changes the records found."},
             {CancelButton, "Closes the window, or stops the replacing."},
             {HelpButton, "Opens the help page about search and replace."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    TargetFieldChange();
}

void TSearchAndReplace::TargetFieldChange()
{
    const int width = m_session.table().fieldWidth(TargetField->currentData().toString());
    for (QLineEdit *box : {FindValue, ReplaceValue}) {
        box->setMaxLength(width > 0 ? width : 32767);
        box->setText(box->text().left(box->maxLength()));
    }
}

void TSearchAndReplace::DoitClick()
{
    if (isRunning())
        return;
    TReplaceRequest request;
    request.field = TargetField->currentData().toString();
    request.find = FindValue->text();
    request.exact = FindExact->isChecked();
    request.caseSensitive = CaseSensitive->isChecked();
    request.replaceWhole = ReplaceWhole->isChecked();
    request.replacement = ReplaceValue->text();
    if (ReplaceFilter->isChecked() && m_session.isFilterSet())
        request.scopeFilter = m_session.filterExpression();
    if (!TMessages::question(this, QStringLiteral("Replace"),
                             TFieldReplacer::question(TargetField->currentText(), request), QMessageBox::No))
        return;
    HelpButton->hide();
    CancelButton->hide(); // the replacing runs to the end once confirmed
    ReplaceButton->setEnabled(false);
    ProgressLabel->show();
    beginRun();
    TReplaceOutcome outcome;
    const TResult result = TFieldReplacer::run(m_session.table(), request, *this, outcome);
    endRun();
    if (!result.ok)
        TMessages::failure(this, result);
    TMessages::information(this, QStringLiteral("Replaced %1 records").arg(outcome.replaced));
    if (outcome.tooLong > 0)
        TMessages::information(this,
                               QStringLiteral("%1 records were left as they were: the new value would not "
                                              "fit in the field")
                                   .arg(outcome.tooLong));
    TMessages::information(this, QStringLiteral("Replacement done"));
    accept();
}
