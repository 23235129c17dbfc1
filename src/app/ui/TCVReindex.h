// The window "Rebuild indexes for <file>": on "Reindex" it packs the open address file and
// builds its 26 tags again, showing the engine's progress. Opened modally by the main window
// with its table; closes itself when the run ends.
#pragma once

#include "TResult.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class TAddressTable;

class TCVReindex : public QDialog
{
    Q_OBJECT

public:
    TCVReindex(TAddressTable &table, QWidget *parent = nullptr);

    // The result of the run ("Reindex" pressed); success when it was never started.
    const TResult &result() const { return m_result; }
    bool hasRun() const { return m_ran; }

    QPushButton *ReindexButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *HelpButton = nullptr;
    QLabel *StatusLabel = nullptr;
    QProgressBar *Gauge = nullptr;

public slots:
    void ReindexButtonClick();

private:
    TAddressTable &m_table;
    TResult m_result;
    bool m_ran = false;
};
