// "Search and Replace" (TSearchAndReplace): finds the records whose chosen field is empty,
// equals a value or contains it, and replaces the whole field or the matching text, in every
// record or in those matching the filter. Opened modally by the main window through the
// hand-over; closes itself when done.
#pragma once

#include "TToolWindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TAddressSession;

class TSearchAndReplace : public TToolWindow
{
    Q_OBJECT

public:
    explicit TSearchAndReplace(TAddressSession &session, QWidget *parent = nullptr);

    QComboBox *TargetField;
    QRadioButton *FindExact;
    QRadioButton *FindPartial;
    QLineEdit *FindValue;
    QCheckBox *CaseSensitive;
    QRadioButton *ReplaceWhole;
    QRadioButton *ReplacePartial;
    QLineEdit *ReplaceValue;
    QRadioButton *ReplaceAll;
    QRadioButton *ReplaceFilter;
    QLabel *ProgressLabel;
    QPushButton *ReplaceButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

public slots:
    void DoitClick();
    void TargetFieldChange();

private:
    TAddressSession &m_session;
};
