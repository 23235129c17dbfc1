// A surface that shows record values: data-bound objects read the current record of its
// DataSet, and show values when DisplayDataValues or Printing is on, bracketed field names
// otherwise. Owned like every surface by its window, which also sets the data set.
#pragma once

#include "TGBasePanel.h"

class TGDataSource;

class TGDataPanel : public TGBasePanel
{
public:
    // As for every surface: the owner outlives it, the pixels per inch are the creator's.
    TGDataPanel(TGOwner *owner, double pixelsPerInch) : TGBasePanel(owner, pixelsPerInch) {}

    bool DisplayDataValues() const { return m_displayDataValues; }
    // Also refreshes the data.
    void setDisplayDataValues(bool on);
    // The open address data set, or null; the caller keeps it alive while it is set.
    TGDataSource *DataSet() const { return m_dataSet; }
    void setDataSet(TGDataSource *dataSet) { m_dataSet = dataSet; }

    // ShowDataValue on every object when the data set is set and open, then pending updates.
    void RefreshData() override;

private:
    bool m_displayDataValues = true;
    TGDataSource *m_dataSet = nullptr;
};
