#include "TGDataPanel.h"

#include "TGDataSource.h"
#include "TGGraphicControl.h"

void TGDataPanel::setDisplayDataValues(bool on)
{
    m_displayDataValues = on;
    RefreshData();
}

void TGDataPanel::RefreshData()
{
    if (!m_dataSet || !m_dataSet->isOpen())
        return;
    for (TGGraphicControl *o : objects())
        o->ShowDataValue();
    ProcessPending();
}
