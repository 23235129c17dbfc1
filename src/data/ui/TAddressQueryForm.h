// The filter window ("Address Filter"): one box per filter criterion, laid out like the record
// form, the flags "Tagged" and "Reverse", and Test / Clear / Ok / Cancel / Help. The main window
// opens it modally over a copy of its criteria; the window tests them on the open table through
// the tester it is given and never keeps the table.
#pragma once

#include "TFilterCriteria.h"
#include "TRecordQuery.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TAddressQueryForm : public QDialog
{
    Q_OBJECT

public:
    // Applies the criteria it is handed to the open table (they may come back cleared, when the
    // filter is dropped), goes to the first record and returns the outcome.
    using Tester = std::function<TFilterOutcome(TFilterCriteria &criteria)>;

    // The boxes and flags start with `criteria`. `labels` are the record form's current label
    // texts in criterion order; missing or empty ones take the default labels.
    TAddressQueryForm(const TFilterCriteria &criteria, Tester tester, const QStringList &labels = {},
                      QWidget *parent = nullptr);

    // The main window's "Filter": runs the window modally. After OK `criteria` are the boxes'
    // criteria, after Cancel they stay what they were. Returns true for OK. The caller then
    // applies the filter and refreshes its buttons.
    static bool edit(TFilterCriteria &criteria, Tester tester, const QStringList &labels = {},
                     QWidget *parent = nullptr);

    // The criteria as the boxes and flags hold them.
    TFilterCriteria boxCriteria() const;
    // The box of criterion `index` (0-based) and its label.
    QLineEdit *box(int index) const { return m_boxes[static_cast<size_t>(index)]; }
    QLabel *boxLabel(int index) const { return m_labels[static_cast<size_t>(index)]; }
    // How often the window beeped (Ok with a filter that matches nothing).
    int beepCount() const { return m_beeps; }

    // The criterion boxes under their given names.
    QLineEdit *qLName, *qFName, *qTitle, *qOrg, *qStreet, *qstreet2, *qZip, *qCity, *qState, *qCountry,
        *qPhone, *qphone2, *qFax, *qEmail, *qDate, *qCodes, *quser1, *quser2;
    QCheckBox *qTagged;
    QCheckBox *qReverse;
    // "Searching...", n + " matches" or "No filter set".
    QLabel *ResultLabel;
    // "(YYYYMMDD)", shown while the date box has the focus.
    QLabel *DateFormatLabel;
    QLabel *HintLabel;
    QPushButton *TestButton;
    QPushButton *ClearButton;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

    static constexpr int kHelpTopic = 1033;

signals:
    // Help or F1: the help topic to open.
    void helpRequested(int topic);

public slots:
    void TestButtonClick();
    void ClearButtonClick();
    void OkButtonClick();
    void HelpButtonClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Tester m_tester;
    std::array<QLineEdit *, TFilterCriteria::kCount> m_boxes{};
    std::array<QLabel *, TFilterCriteria::kCount> m_labels{};
    bool m_hasMatches = false;
    bool m_filterSet = false;
    int m_beeps = 0;
};
