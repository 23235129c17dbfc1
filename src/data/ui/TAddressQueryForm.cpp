#include "TAddressQueryForm.h"

#include "THelpRequest.h"

#include "THourglass.h"
#include "TMessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The window's texts.
const QString kCaption = QStringLiteral("Address Filter");
const QString kSearching = QStringLiteral("Searching...");
const QString kMatches = QStringLiteral(" matches");
const QString kNoFilter = QStringLiteral("No filter set");
const QString kDateFormat = QStringLiteral("(YYYYMMDD)");
const QString kDateHint =
    QStringLiteral("Note: enter dates in the form: YYYYMMDD\r(i.e. 19970428 for April 28, 1997)");
const QString kHint = QStringLiteral("Hint: to look for only part of a value, first type in a $ and then the "
                                     "value to look for. As an example, to "
                                     "find all records containing the code letter C in the Codes field, type "
                                     "in $C. Right click on any field or "
                                     "press HELP for more helpful tips");

// Where each criterion's label and box sit, as on the record form: grid row and the column
// pair (label, box).
struct Place {
    int row;
    int column;
};
const Place kPlaces[TFilterCriteria::kCount] = {
    {0, 0}, // Last
    {0, 1}, // First
    {1, 0}, // Title
    {1, 1}, // Org
    {2, 0}, // Street
    {3, 0}, // Address 2
    {4, 2}, // Zip or Postal
    {4, 0}, // City
    {4, 1}, // State or Prov
    {5, 0}, // Country
    {2, 1}, // Phone
    {3, 1}, // Phone 2
    {2, 2}, // Fax
    {5, 1}, // E-mail
    {6, 2}, // Date
    {3, 2}, // Codes
    {6, 0}, // User 1
    {6, 1}, // User 2
};

} // namespace

TAddressQueryForm::TAddressQueryForm(const TFilterCriteria &criteria, Tester tester,
                                     const QStringList &labels, QWidget *parent)
    : QDialog(parent), m_tester(std::move(tester))
{
    setObjectName(QStringLiteral("TAddressQueryForm"));
    setWindowTitle(kCaption);
    setModal(true);

    auto *grid = new QGridLayout;
    for (int i = 0; i < TFilterCriteria::kCount; ++i) {
        auto *edit = new QLineEdit(criteria.text(i), this);
        edit->setObjectName(TFilterCriteria::boxName(i));
        const QString text =
            i < labels.size() && !labels.at(i).isEmpty() ? labels.at(i) : TFilterCriteria::defaultLabel(i);
        auto *label = new QLabel(text, this);
        label->setBuddy(edit);
        const Place p = kPlaces[i];
        grid->addWidget(label, p.row * 2, p.column * 2);
        grid->addWidget(edit, p.row * 2, p.column * 2 + 1);
        m_boxes[static_cast<size_t>(i)] = edit;
        m_labels[static_cast<size_t>(i)] = label;
    }
    qLName = m_boxes[TFilterCriteria::qLName];
    qFName = m_boxes[TFilterCriteria::qFName];
    qTitle = m_boxes[TFilterCriteria::qTitle];
    qOrg = m_boxes[TFilterCriteria::qOrg];
    qStreet = m_boxes[TFilterCriteria::qStreet];
    qstreet2 = m_boxes[TFilterCriteria::qstreet2];
    qZip = m_boxes[TFilterCriteria::qZip];
    qCity = m_boxes[TFilterCriteria::qCity];
    qState = m_boxes[TFilterCriteria::qState];
    qCountry = m_boxes[TFilterCriteria::qCountry];
    qPhone = m_boxes[TFilterCriteria::qPhone];
    qphone2 = m_boxes[TFilterCriteria::qphone2];
    qFax = m_boxes[TFilterCriteria::qFax];
    qEmail = m_boxes[TFilterCriteria::qEmail];
    qDate = m_boxes[TFilterCriteria::qDate];
    qCodes = m_boxes[TFilterCriteria::qCodes];
    quser1 = m_boxes[TFilterCriteria::quser1];
    quser2 = m_boxes[TFilterCriteria::quser2];

    // The date box: its format under it while it has the focus, and a hint.
    QString hint = kDateHint;
    qDate->setToolTip(hint.replace(QLatin1Char('\r'), QLatin1Char('\n')));
    qDate->installEventFilter(this);
    DateFormatLabel = new QLabel(kDateFormat, this);
    DateFormatLabel->setObjectName(QStringLiteral("DateFormatLabel"));
    DateFormatLabel->setVisible(false);
    const Place date = kPlaces[TFilterCriteria::qDate];
    grid->addWidget(DateFormatLabel, date.row * 2 + 1, date.column * 2 + 1);

    qTagged = new QCheckBox(QStringLiteral("Tagged"), this);
    qTagged->setObjectName(QStringLiteral("qTagged"));
    qTagged->setChecked(criteria.isTagged());
    qReverse = new QCheckBox(QStringLiteral("Reverse"), this);
    qReverse->setObjectName(QStringLiteral("qReverse"));
    qReverse->setChecked(criteria.isReverse());
    auto *flags = new QHBoxLayout;
    flags->addWidget(qTagged);
    flags->addWidget(qReverse);
    flags->addStretch();
    grid->addLayout(flags, 14, 0, 1, 6);

    ResultLabel = new QLabel(this);
    ResultLabel->setObjectName(QStringLiteral("ResultLabel"));
    HintLabel = new QLabel(kHint, this);
    HintLabel->setObjectName(QStringLiteral("HintLabel"));
    HintLabel->setWordWrap(true);

    TestButton = new QPushButton(QStringLiteral("Test"), this);
    ClearButton = new QPushButton(QStringLiteral("Clear"), this);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ResultLabel, 1);
    for (QPushButton *b : {TestButton, ClearButton, OkButton, CancelButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    OkButton->setDefault(true);
    TestButton->setObjectName(QStringLiteral("TestButton"));
    ClearButton->setObjectName(QStringLiteral("ClearButton"));
    OkButton->setObjectName(QStringLiteral("OkButton"));
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    HelpButton->setObjectName(QStringLiteral("HelpButton"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(HintLabel);

    connect(TestButton, &QPushButton::clicked, this, &TAddressQueryForm::TestButtonClick);
    connect(ClearButton, &QPushButton::clicked, this, &TAddressQueryForm::ClearButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &TAddressQueryForm::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TAddressQueryForm::HelpButtonClick);
}

bool TAddressQueryForm::edit(TFilterCriteria &criteria, Tester tester, const QStringList &labels,
                             QWidget *parent)
{
    TAddressQueryForm form(criteria, std::move(tester), labels, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    criteria = form.boxCriteria();
    return true;
}

TFilterCriteria TAddressQueryForm::boxCriteria() const
{
    TFilterCriteria c;
    for (int i = 0; i < TFilterCriteria::kCount; ++i)
        c.setText(i, m_boxes[static_cast<size_t>(i)]->text());
    c.setTagged(qTagged->isChecked());
    c.setReverse(qReverse->isChecked());
    return c;
}

void TAddressQueryForm::TestButtonClick()
{
    ResultLabel->setText(kSearching);
    ResultLabel->repaint();
    TFilterCriteria criteria = boxCriteria();
    TFilterOutcome outcome;
    {
        THourglass wait;
        if (m_tester)
            outcome = m_tester(criteria);
    }
    m_filterSet = criteria.isSet();
    m_hasMatches = outcome.count > 0;
    if (!outcome.message.isEmpty())
        TMessages::information(this, outcome.message);
    ResultLabel->setText(m_filterSet ? QString::number(outcome.count) + kMatches : kNoFilter);
}

void TAddressQueryForm::ClearButtonClick()
{
    for (QLineEdit *b : m_boxes)
        b->clear();
    qTagged->setChecked(false);
    qReverse->setChecked(false);
    TestButtonClick();
}

void TAddressQueryForm::OkButtonClick()
{
    TestButtonClick();
    if (m_hasMatches || !m_filterSet) {
        accept();
        return;
    }
    ++m_beeps;
    QApplication::beep();
}

void TAddressQueryForm::HelpButtonClick()
{
    emit helpRequested(kHelpTopic);
    THelpRequest::ask(this, kHelpTopic);
}

bool TAddressQueryForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qDate) {
        if (event->type() == QEvent::FocusIn)
            DateFormatLabel->setVisible(true);
        else if (event->type() == QEvent::FocusOut)
            DateFormatLabel->setVisible(false);
    }
    return QDialog::eventFilter(watched, event);
}

void TAddressQueryForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        HelpButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}
