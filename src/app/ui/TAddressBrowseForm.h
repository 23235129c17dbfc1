// The "Address Browse" window: a read-only grid of the visible fields over the visible records
// of the main window's open address table, in its current order. Selecting a row makes that
// record the table's current one; first/previous/next/last move through the rows (a beep
// past either end); a double-click on the grid or "&Tag" toggles the current record's tag
// through the main window's routine. Columns may be moved and resized; the column order is
// written to the column file when the window closes, and the window remembers its placement.
// The main window opens it modally and keeps the table.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QPushButton;
class QTableView;
class TAddressTable;
class TBrowseModel;

class TAddressBrowseForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kHelpTopic = 1034;
    // The window's size at 96 pixels per inch.
    static constexpr int kDesignWidth = 640;
    static constexpr int kDesignHeight = 400;

    // `table` stands for the table, its data source and engine component; `programFolder`
    // holds the column file, `settingsPath` is the settings file; `toggleTag` toggles the tag
    // of the table's current record.
    TAddressBrowseForm(TAddressTable &table, const QString &programFolder, const QString &settingsPath,
                       std::function<void()> toggleTag, QWidget *parent = nullptr);
    ~TAddressBrowseForm() override;

    // The design size scaled for a screen of `dotsPerInch`: above 96 by dpi / 96 x 0.95.
    static QSize scaledDesignSize(int dotsPerInch);

    TBrowseModel *model() const { return m_model; }
    // The field names of the grid's columns as they are shown, left to right.
    QStringList shownColumns() const;
    // Every field object in its current order: the shown columns as the user arranged them in
    // the places the shown fields had, the hidden fields where they were.
    QStringList fieldOrder() const;
    // How often the window beeped (previous at the first row, next at the last).
    int beepCount() const { return m_beeps; }

    QTableView *Grid = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *HelpButton = nullptr;
    QPushButton *FirstButton = nullptr;
    QPushButton *PriorButton = nullptr;
    QPushButton *NextButton = nullptr;
    QPushButton *LastButton = nullptr;
    QPushButton *TagButton = nullptr;

signals:
    // Help or F1: the help topic to open.
    void helpRequested(int topic);

public slots:
    void FirstButtonClick();
    void PriorButtonClick();
    void NextButtonClick();
    void LastButtonClick();
    void TagButtonClick();
    void GridDblClick();
    void HelpButtonClick();

    // Closing however it closes: the column order is written and the placement saved.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void selectRow(int row);
    void selectCurrentRecord();
    void beep();
    void rowChanged(int row);

    TAddressTable &m_table;
    QString m_programFolder;
    QString m_settingsPath;
    std::function<void()> m_toggleTag;
    QStringList m_fieldOrder; // every field object, in position order as read
    TBrowseModel *m_model = nullptr;
    bool m_activated = false;
    bool m_closed = false;
    int m_beeps = 0;
};
