#include "TSearchForm.h"

#include "THelpRequest.h"

#include "TSortOrders.h"
#include "TWhatsThis.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TSearchForm::TSearchForm(const QString &currentSortName, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Search"));
    OrderLabel = new QLabel(QStringLiteral("Search &Order"), this);
    OrderCombo = new QComboBox(this);
    OrderCombo->addItems(TSortOrders::names());
    OrderCombo->setCurrentIndex(qMax(0, TSortOrders::indexOfName(currentSortName)));
    OrderLabel->setBuddy(OrderCombo);
    PromptLabel = new QLabel(this);
    SearchEdit = new QLineEdit(this);
    PromptLabel->setBuddy(SearchEdit);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(OrderLabel);
    layout->addWidget(OrderCombo);
    layout->addWidget(PromptLabel);
    layout->addWidget(SearchEdit);
    layout->addLayout(buttons);

    connect(OrderCombo, &QComboBox::currentIndexChanged, this, &TSearchForm::OrderComboChange);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TSearchForm::HelpButtonClick);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {OrderCombo, "The order searched in; the file is shown in this order afterwards."},
             {SearchEdit, "The beginning of the value looked for; case does not matter."},
             {OkButton, "Goes to the first record that starts with the text; when none does, the record shown stays."},
             {CancelButton, "Closes the window and stays on the current record."},
             {HelpButton, "Opens the help page about searching."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    OrderComboChange();
    SearchEdit->setFocus();
}

QString TSearchForm::sortName() const
{
    return OrderCombo->currentText();
}

QString TSearchForm::text() const
{
    return SearchEdit->text();
}

bool TSearchForm::wantsSearch() const
{
    return result() == QDialog::Accepted && !text().isEmpty();
}

QString TSearchForm::promptFor(const QString &sortName)
{
    return QStringLiteral("Search ") + sortName + QStringLiteral(" starting with...");
}

void TSearchForm::OrderComboChange()
{
    PromptLabel->setText(promptFor(sortName()));
}

void TSearchForm::HelpButtonClick()
{
    emit helpRequested(kHelpTopic);
    THelpRequest::ask(this, kHelpTopic);
}

void TSearchForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    SearchEdit->setFocus();
}

void TSearchForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        HelpButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}
