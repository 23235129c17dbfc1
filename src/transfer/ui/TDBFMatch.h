// "DBF File Import Match Fields" (TDBFMatch): the source table's records in the "Import DBF File
// Browser" grid above the field match. Made by TDBFImport for each "Match Fields"; "Ok" writes
// the matches into the source it was given, "Cancel" keeps the earlier ones.
#pragma once

#include "TMatchWindow.h"

class QTableWidget;
class TDbfSource;
class TImportTargets;

class TDBFMatch : public TMatchWindow
{
    Q_OBJECT
public:
    // `source` and `targets` must outlive the window.
    TDBFMatch(TDbfSource &source, const TImportTargets &targets, QWidget *parent = nullptr);

    QTableWidget *BrowserGrid;

    void accept() override;

private:
    TDbfSource &m_source;
    const TImportTargets &m_targets;
};
