// "Select Field": the fields of the surface's data set by display label, for a data field
// object (the visible text fields tagged 0 or more) or a memo object (every memo field). The
// object's field is chosen at first, else the first one. Afterwards (also after "Cancel") the
// surface refreshes its data.
#pragma once

#include "TGPropertyDialog.h"

#include <functional>

class QListWidget;
class TGDataPanel;
class TGDMultiLineLabel;
class TGPDLabel;

class TGSelectFieldDialog : public TGPropertyDialog
{
    Q_OBJECT
public:
    TGSelectFieldDialog(TGPDLabel *object, QWidget *parent = nullptr);
    TGSelectFieldDialog(TGDMultiLineLabel *object, QWidget *parent = nullptr);
    QListWidget *FieldList = nullptr;

    void done(int result) override;

private:
    void fill(bool memoFields, const QString &current);

    TGDataPanel *m_surface = nullptr;
    std::function<void(const QString &, const QString &)> m_choose;
    QList<int> m_fieldIndex; // data set field of each list row
};
