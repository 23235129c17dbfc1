// The "Searching" window of the memo search: shows the text searched for and a "Cancel"
// button while the search walks the records. Created on the stack for one search.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class TAddressTable;

class TMemoSearchForm : public QDialog
{
    Q_OBJECT

public:
    explicit TMemoSearchForm(const QString &text, QWidget *parent = nullptr);

    // Shows the window, runs the search on a frozen display (see TMemoSearch::run) and hides
    // the window. "Cancel" stops the search between records.
    bool run(TAddressTable &table, bool fromNext);

    bool isCancelled() const { return m_cancelled; }
    // Called every time the search looks at a record, before the record is tested; tests use
    // it to press "Cancel" part-way.
    void setRecordHook(std::function<void(int tested)> hook) { m_recordHook = std::move(hook); }

    QLabel *TextLabel = nullptr;
    QPushButton *CancelButton = nullptr;

private:
    QString m_text;
    bool m_cancelled = false;
    std::function<void(int)> m_recordHook;
};
