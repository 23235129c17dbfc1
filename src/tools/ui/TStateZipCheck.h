// "Check State and Zip  Codes" (TStateZipCheck): checks every record's state and ZIP against
// the reference list CSZ.DBF in the program's system folder and lists the questionable records
// in an editable grid, where the user corrects or tags them. Opened modally by the main window
// through the hand-over with the query "!ISDEL"; its temporary index, in the address file's
// folder, is removed when the window goes, also after a failure.
#pragma once

#include "TStateZipFinder.h"
#include "TToolWindow.h"

#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class QWidget;
class TAddressSession;
class TCszListModel;
class TToolGridModel;

namespace xbase {
class Table;
}

class TStateZipCheck : public TToolWindow
{
    Q_OBJECT

public:
    explicit TStateZipCheck(TAddressSession &session, QWidget *parent = nullptr);
    ~TStateZipCheck() override;

    const TStateZipFinder &finder() const { return m_finder; }
    TToolGridModel *gridModel() const { return m_model.get(); }
    QString indexPath() const;

    QWidget *SetupPanel;
    QCheckBox *CheckBlanks;
    QPushButton *CheckitButton;
    QPushButton *CancelButton;
    QLabel *CountLabel;
    QWidget *ResultPanel;
    QTableView *ChkStateZip;
    QPushButton *EditButton;
    QPushButton *SaveButton;
    QPushButton *CancelEditButton;
    QPushButton *TagButton;
    QPushButton *TagAllButton;
    QPushButton *EditListButton;
    QWidget *ListPanel;
    QTableView *CszGrid;
    QPushButton *AddButton;
    QPushButton *DeleteListButton;
    QPushButton *SaveListButton;
    QPushButton *UndoListButton;
    QPushButton *CloseButton;
    QPushButton *HelpButton;

public slots:
    void CheckitButtonClick();
    void CancelButtonClick();
    void TagButtonClick();
    void TagAllButtonClick();
    // "Edit State/Province File" and "Stop Editing".
    void EditListButtonClick();

protected:
    void stepped(int done) override;

private:
    int currentRow() const;

    TAddressSession &m_session;
    TStateZipFinder m_finder;
    std::unique_ptr<TToolGridModel> m_model;
    std::unique_ptr<xbase::Table> m_list;
    std::unique_ptr<TCszListModel> m_listModel;
    bool m_checked = false;
};
