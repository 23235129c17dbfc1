// "Import Corvantis 1.x DBF" / "Import Corvantis 2.x DBF" (TImportOlder): choose an address file
// of an older version, recognised by its fields, and import it by the fixed mapping into the
// session's own table. Made per use by the main window's hand-over with the format number.
#pragma once

#include "TDbfImportRun.h"
#include "TDbfSource.h"
#include "TImportWindow.h"

class TAddressTable;

class TImportOlder : public TImportWindow
{
    Q_OBJECT
public:
    // `format`: 0 for 1.x, 1 for 2.x. Requires: `table` open; it must outlive the window.
    TImportOlder(TAddressTable &table, int format, QWidget *parent = nullptr);

public slots:
    void SelectButtonClick();
    void ImportButtonClick();

private:
    TAddressTable &m_table;
    TDbfImportRun::Older m_version;
    TDbfSource m_source;
};
