// The "Select a Date" window of the "Date" button: a calendar with the chosen day's long date
// above it, buttons to step by month and year, and "Ok", "Cancel" and "No Date". Created on the
// stack by the record-editing commands.
#pragma once

#include <QDate>
#include <QDialog>
#include <QString>

class QCalendarWidget;
class QLabel;
class QPushButton;

class TSelectDateForm : public QDialog
{
    Q_OBJECT

public:
    enum class Choice { Cancelled, Date, NoDate };

    // Starts on `start`, or on `today` when `start` is invalid.
    explicit TSelectDateForm(const QDate &start, const QDate &today = QDate::currentDate(),
                             QWidget *parent = nullptr);

    // The day a record's date box shows, back as a date in the user's short date format;
    // `today` when it does not convert.
    static QDate startDate(const QString &shownDate, const QDate &today = QDate::currentDate());

    Choice choice() const { return m_choice; }
    QDate selectedDate() const;

    QCalendarWidget *Calendar = nullptr;
    QLabel *LongDateLabel = nullptr;
    QPushButton *YearBackButton = nullptr;
    QPushButton *MonthBackButton = nullptr;
    QPushButton *TodayButton = nullptr;
    QPushButton *MonthForwardButton = nullptr;
    QPushButton *YearForwardButton = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *NoDateButton = nullptr;

private:
    void showLongDate();
    void stepMonths(int months);

    QDate m_today;
    Choice m_choice = Choice::Cancelled;
};
