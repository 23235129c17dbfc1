// "Check and Repair Duplicates" (TDupCheck): runs the duplicate check over the session's table
// and lists the suspected duplicates in an editable grid, where the user edits, deletes or tags
// them. Opened modally by the main window through the hand-over with the query "!ISDEL"; its
// temporary index is removed when the window goes, also after a failure.
#pragma once

#include "TDuplicateFinder.h"
#include "TToolWindow.h"

#include <memory>

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;
class QWidget;
class TAddressSession;
class TToolGridModel;

class TDupCheck : public TToolWindow
{
    Q_OBJECT

public:
    explicit TDupCheck(TAddressSession &session, QWidget *parent = nullptr);
    ~TDupCheck() override;

    const TDuplicateFinder &finder() const { return m_finder; }
    TToolGridModel *gridModel() const { return m_model.get(); }
    QString indexPath() const;

    QWidget *SetupPanel;
    QButtonGroup *KindofCheck;
    QSpinBox *AddressChars;
    QLabel *AddressCharsLabel;
    QPushButton *CheckitButton;
    QPushButton *CancelButton;
    QLabel *CountLabel;
    QWidget *ResultPanel;
    QTableView *ChkDupsGrid;
    QPushButton *FirstButton;
    QPushButton *PriorButton;
    QPushButton *NextButton;
    QPushButton *LastButton;
    QPushButton *DeleteButton;
    QPushButton *SaveButton;
    QPushButton *UndoButton;
    QPushButton *TagButton;
    QPushButton *TagAllButton;
    QPushButton *OkButton;
    QPushButton *HelpButton;

public slots:
    void CheckitButtonClick();
    void CancelButtonClick();
    void DeleteButtonClick();
    void SaveButtonClick();
    void UndoButtonClick();
    void TagButtonClick();
    void TagAllButtonClick();

protected:
    void stepped(int done) override;

private:
    int currentRow() const;
    void moveTo(int row);

    TAddressSession &m_session;
    TDuplicateFinder m_finder;
    std::unique_ptr<TToolGridModel> m_model;
    bool m_done = false;
};
