// "ASCII File Import Match Fields" (TAsciiMatch): the sample lines of the chosen text file in a
// grid above the field match. Made by TAsciiImport for each "Match Fields"; "Ok" writes the
// matches into the column table it was given.
#pragma once

#include "TMatchWindow.h"

class QTableWidget;
class TAsciiColumns;
class TImportTargets;

class TAsciiMatch : public TMatchWindow
{
    Q_OBJECT
public:
    // `columns` and `targets` must outlive the window.
    TAsciiMatch(TAsciiColumns &columns, const TImportTargets &targets, const QString &fileName,
                QWidget *parent = nullptr);

    QTableWidget *SampleGrid;

    void accept() override;

private:
    TAsciiColumns &m_columns;
    const TImportTargets &m_targets;
};
