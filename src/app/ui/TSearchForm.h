// The "Search" window: the sort order to search in and the text its keys are to begin with.
// It only asks; the main window selects the order and runs TAddressSearch. Created on the
// stack for one search.
#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TSearchForm : public QDialog
{
    Q_OBJECT

public:
    // Lists the sort names in menu order with `currentSortName` (any case) selected; an
    // unknown name selects the first.
    explicit TSearchForm(const QString &currentSortName, QWidget *parent = nullptr);

    // The chosen sort name ("Last Name") and the typed text, as they stand.
    QString sortName() const;
    QString text() const;
    // True when the window closed with "Ok" and a text to search for; "Cancel", or "Ok"
    // with an empty text, asks for nothing.
    bool wantsSearch() const;

    // "Search " + sort name + " starting with...".
    static QString promptFor(const QString &sortName);

    static constexpr int kHelpTopic = 1026;

    QComboBox *OrderCombo = nullptr;
    QLabel *OrderLabel = nullptr;  // "Search &Order"
    QLabel *PromptLabel = nullptr; // follows the selection
    QLineEdit *SearchEdit = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *HelpButton = nullptr;

signals:
    void helpRequested(int topic);

public slots:
    void OrderComboChange();
    void HelpButtonClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
};
