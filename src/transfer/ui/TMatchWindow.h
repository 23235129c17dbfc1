// The field-matching window both imports share: a two-column "Field Match" grid with one row per
// address field and the source column or field matched to it, "&Select Field" (also a double
// click) with its menu, "&Clear Current", "Clear &All", "Ok", "Cancel", "Help". TAsciiMatch and
// TDBFMatch add their sample grid above. The import window makes one per "Match Fields".
#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

class TMatchWindow : public QDialog
{
    Q_OBJECT
public:
    // `captions`: the rows; `matched`: the name in each row's second cell ("" for none);
    // `fileName`: shown in the heading; `choices(row)`: the names the row's menu offers.
    TMatchWindow(const QStringList &captions, const QStringList &matched, const QString &fileName,
                 std::function<QStringList(int)> choices, QWidget *parent = nullptr);

    // The second cells as confirmed or edited so far.
    QStringList matched() const;

    QLabel *FieldMatchLabel;
    QTableWidget *MatchGrid;
    QPushButton *SelectFieldButton;
    QPushButton *ClearCurrentButton;
    QPushButton *ClearAllButton;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

signals:
    // The "&Select Field" menu is about to open (tests choose from it here).
    void menuShown(QMenu *menu);

public slots:
    void SelectFieldButtonClick();
    void ClearCurrentButtonClick();
    void ClearAllButtonClick();

protected:
    // Where subclasses put their sample grid, above the match grid.
    QVBoxLayout *m_top;
    void resizeEvent(QResizeEvent *event) override;

private:
    void put(int row, const QString &name);
    std::function<QStringList(int)> m_choices;
};
