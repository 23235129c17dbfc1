#include "TSelectDateForm.h"

#include "THelpRequest.h"

#include "TDateText.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3004;

TSelectDateForm::TSelectDateForm(const QDate &start, const QDate &today, QWidget *parent)
    : QDialog(parent), m_today(today)
{
    setWindowTitle(QStringLiteral("Select a Date"));
    LongDateLabel = new QLabel(this);
    LongDateLabel->setAlignment(Qt::AlignCenter);
    Calendar = new QCalendarWidget(this);
    Calendar->setSelectedDate(start.isValid() ? start : today);

    auto button = [this](const char *text) {
        auto *b = new QPushButton(QLatin1String(text), this);
        b->setAutoDefault(false);
        return b;
    };
    YearBackButton = button("Year-");
    MonthBackButton = button("Month-");
    TodayButton = button("Today");
    MonthForwardButton = button("Month +");
    YearForwardButton = button("Year+");
    OkButton = button("Ok");
    CancelButton = button("Cancel");
    NoDateButton = button("No Date");
    OkButton->setDefault(true);

    connect(Calendar, &QCalendarWidget::selectionChanged, this, &TSelectDateForm::showLongDate);
    connect(Calendar, &QCalendarWidget::activated, OkButton, &QPushButton::click);
    connect(YearBackButton, &QPushButton::clicked, this, [this] { stepMonths(-12); });
    connect(MonthBackButton, &QPushButton::clicked, this, [this] { stepMonths(-1); });
    connect(MonthForwardButton, &QPushButton::clicked, this, [this] { stepMonths(1); });
    connect(YearForwardButton, &QPushButton::clicked, this, [this] { stepMonths(12); });
    connect(TodayButton, &QPushButton::clicked, this, [this] { Calendar->setSelectedDate(m_today); });
    connect(OkButton, &QPushButton::clicked, this, [this] {
        m_choice = Choice::Date;
        accept();
    });
    connect(NoDateButton, &QPushButton::clicked, this, [this] {
        m_choice = Choice::NoDate;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        m_choice = Choice::Cancelled;
        reject();
    });

    auto *steps = new QHBoxLayout;
    for (QPushButton *b :
         {YearBackButton, MonthBackButton, TodayButton, MonthForwardButton, YearForwardButton})
        steps->addWidget(b);
    auto *ends = new QHBoxLayout;
    ends->addStretch();
    for (QPushButton *b : {OkButton, CancelButton, NoDateButton})
        ends->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LongDateLabel);
    layout->addWidget(Calendar);
    layout->addLayout(steps);
    layout->addLayout(ends);
    showLongDate();
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

QDate TSelectDateForm::startDate(const QString &shownDate, const QDate &today)
{
    const QDate date = TDateText::fromDisplay(shownDate);
    return date.isValid() ? date : today;
}

QDate TSelectDateForm::selectedDate() const
{
    return Calendar->selectedDate();
}

void TSelectDateForm::showLongDate()
{
    LongDateLabel->setText(QLocale().toString(Calendar->selectedDate(), QLocale::LongFormat));
}

void TSelectDateForm::stepMonths(int months)
{
    Calendar->setSelectedDate(Calendar->selectedDate().addMonths(months));
}
