// "Select Field": the text fields of the surface's data set by display label, for a data
// field object. Afterwards (also after "Cancel") the surface refreshes its data.
#pragma once

#include "TGPropertyDialog.h"

class QListWidget;
class TGPDLabel;

class TGSelectFieldDialog : public TGPropertyDialog
{
    Q_OBJECT
public:
    TGSelectFieldDialog(TGPDLabel *object, QWidget *parent = nullptr);
    QListWidget *FieldList = nullptr;

    void done(int result) override;

private:
    TGPDLabel *m_object;
    QList<int> m_fieldIndex; // data set field of each list row
};
