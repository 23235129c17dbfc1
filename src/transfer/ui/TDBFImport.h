// "DBF File Import" (TDBFImport): choose any DBF table, match its fields (by name and caption at
// first), import. Works on the address table the main window's hand-over opened exclusively for
// it; closes itself after an import.
#pragma once

#include "TDbfSource.h"
#include "TImportTargets.h"
#include "TImportWindow.h"

class TAddressTable;
class TDBFMatch;

class TDBFImport : public TImportWindow
{
    Q_OBJECT
public:
    // Requires: `table` open; it must outlive the window.
    explicit TDBFImport(TAddressTable &table, QWidget *parent = nullptr);

    const TDbfSource &source() const { return m_source; }

signals:
    void matchWindowShown(TDBFMatch *window);

public slots:
    void SelectButtonClick();
    void MatchButtonClick();
    void ImportButtonClick();

private:
    TAddressTable &m_table;
    TImportTargets m_targets;
    TDbfSource m_source;
    bool m_matchedOnce = false;
};
