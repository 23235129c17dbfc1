// "Delete Records" (TDeleteRecords): deletes every record of the file for good, the records
// matching the main window's filter, or those not matching it, after a question whose default
// is No. Opened modally by the main window through the hand-over over the session's table;
// closes itself when done.
#pragma once

#include "TToolWindow.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;
class TAddressSession;

class TDeleteRecords : public TToolWindow
{
    Q_OBJECT

public:
    explicit TDeleteRecords(TAddressSession &session, QWidget *parent = nullptr);

    QRadioButton *DeleteAll;
    QRadioButton *DeleteFilter;
    QRadioButton *DeleteNotFilter;
    QLabel *AllCountLabel;
    QWidget *ChoicePanel;
    QLabel *ProgressLabel;
    QPushButton *DeleteNowButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

public slots:
    void DoitClick();

private:
    TAddressSession &m_session;
};
