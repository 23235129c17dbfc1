#include "TConvertToUpper.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressSession.h"
#include "TCaseConverter.h"
#include "TMessages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3703;

TConvertToUpper::TConvertToUpper(TAddressSession &session, QWidget *parent)
    : TToolWindow(parent), m_session(session)
{
    setWindowTitle(QStringLiteral("Convert Case"));
    auto *fieldsBox = new QGroupBox(QStringLiteral("Which fields should be converted ?"), this);
    auto *grid = new QGridLayout(fieldsBox);
    int i = 0;
    for (const auto &field : TCaseConverter::fields()) {
        auto *check = new QCheckBox(field.first, fieldsBox);
        check->setChecked(true);
        FieldChecks.append(check);
        grid->addWidget(check, i % 8, i / 8);
        ++i;
    }
    AllCheck = new QCheckBox(QStringLiteral("All"), fieldsBox);
    AllCheck->setChecked(true);
    grid->addWidget(AllCheck, i % 8, i / 8);
    connect(AllCheck, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox *c : FieldChecks)
            c->setChecked(on);
    });

    auto *conversionBox = new QGroupBox(this);
    rUppercase = new QRadioButton(QStringLiteral("Uppercase"), conversionBox);
    rLowercase = new QRadioButton(QStringLiteral("Lowercase"), conversionBox);
    rFirstLetter = new QRadioButton(QStringLiteral("First letter capitalized"), conversionBox);
    rUppercase->setChecked(true);
    auto *conversions = new QVBoxLayout(conversionBox);
    conversions->addWidget(rUppercase);
    conversions->addWidget(rLowercase);
    conversions->addWidget(rFirstLetter);

    auto *recordsBox = new QGroupBox(this);
    rCurrentRecord = new QRadioButton(QStringLiteral("Current Record Only"), recordsBox);
    rAllRecords = new QRadioButton(QStringLiteral("All Records"), recordsBox);
    rFilterRecords = new QRadioButton(QStringLiteral("All Records Matching Filter"), recordsBox);
    rCurrentRecord->setChecked(true);
    rFilterRecords->setEnabled(session.isFilterSet());
    auto *records = new QVBoxLayout(recordsBox);
    records->addWidget(rCurrentRecord);
    records->addWidget(rAllRecords);
    records->addWidget(rFilterRecords);

    ConvertButton = new QPushButton(QStringLiteral("Convert"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ConvertButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto *choices = new QHBoxLayout;
    choices->addWidget(conversionBox);
    choices->addWidget(recordsBox);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fieldsBox);
    layout->addLayout(choices);
    layout->addWidget(Gauge);
    layout->addLayout(buttons);

    connect(ConvertButton, &QPushButton::clicked, this, &TConvertToUpper::ConvertButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TConvertToUpper::CancelButtonClick);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {AllCheck, "Ticks or clears every field at once."},
             {rUppercase, "Writes the fields in capitals."},
             {rLowercase, "Writes the fields in small letters."},
             {rFirstLetter, "Writes each word with a capital first letter."},
             {rCurrentRecord, "Converts the current record only."},
             {rAllRecords, "Converts every record of the file."},
             {rFilterRecords, "Converts the records that match the current filter."},
             {ConvertButton, "Converts the ticked fields after asking; this cannot be undone."},
             {CancelButton, "Closes the window, or stops a conversion that is running."},
             {HelpButton, "Opens the help page about converting case."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    for (QCheckBox *check : FieldChecks)
        TWhatsThis::describe(check, QStringLiteral("Converts the %1 field.").arg(check->text().remove(QLatin1Char('&'))));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TConvertToUpper::ConvertButtonClick()
{
    if (isRunning())
        return;
    QStringList names;
    for (int i = 0; i < FieldChecks.size(); ++i) {
        if (FieldChecks[i]->isChecked())
            names << TCaseConverter::fields()[size_t(i)].second;
    }
    if (names.isEmpty()) {
        TMessages::information(this, QStringLiteral("No fields checked for conversion"));
        return;
    }
    if (!TMessages::question(this, QStringLiteral("Convert"),
                             QStringLiteral("Convert now? This process cannot be undone.."), QMessageBox::No))
        return;
    using C = TCaseConverter::Conversion;
    const C conversion = rLowercase->isChecked()     ? C::Lower
                         : rFirstLetter->isChecked() ? C::FirstLetters
                                                     : C::Upper;
    using R = TCaseConverter::Records;
    const R records = rAllRecords->isChecked()                                 ? R::All
                      : rFilterRecords->isChecked() && m_session.isFilterSet() ? R::MatchingFilter
                                                                               : R::Current;
    HelpButton->hide();
    ConvertButton->setEnabled(false);
    beginRun();
    if (records == R::Current)
        Gauge->hide();
    int converted = 0;
    const TResult result = TCaseConverter::run(m_session.table(), names, conversion, records,
                                               m_session.filterExpression(), *this, converted);
    endRun();
    if (!result.ok)
        TMessages::failure(this, result);
    accept();
}

void TConvertToUpper::CancelButtonClick()
{
    if (!isRunning()) {
        reject();
        return;
    }
    if (TMessages::question(this, QStringLiteral("CANCEL"), QStringLiteral("Cancel case conversion?"),
                            QMessageBox::No))
        requestCancel();
}
