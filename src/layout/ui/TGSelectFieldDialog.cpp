#include "TGSelectFieldDialog.h"

#include "TGDataPanel.h"
#include "TGDataSource.h"
#include "TGPDLabel.h"

#include <QListWidget>
#include <QVBoxLayout>

TGSelectFieldDialog::TGSelectFieldDialog(TGPDLabel *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Select Field"), parent), m_object(object)
{
    FieldList = new QListWidget(this);
    FieldList->setObjectName(QStringLiteral("FieldList"));
    fields()->addWidget(FieldList);
    TGDataPanel *surface = object->dataParent();
    TGDataSource *dataSet = surface ? surface->DataSet() : nullptr;
    int selected = 0;
    if (dataSet) {
        for (int i = 0; i < dataSet->fieldCount(); ++i) {
            if (!dataSet->isTextField(i) || dataSet->fieldTag(i) < 0 || !dataSet->isFieldVisible(i))
                continue;
            if (dataSet->displayLabel(i) == object->DataFieldDescript)
                selected = static_cast<int>(m_fieldIndex.size());
            m_fieldIndex.append(i);
            FieldList->addItem(dataSet->displayLabel(i));
        }
    }
    if (FieldList->count() > 0)
        FieldList->setCurrentRow(selected);
}

void TGSelectFieldDialog::done(int result)
{
    TGDataPanel *surface = m_object->dataParent();
    if (result == QDialog::Accepted && surface && surface->DataSet() && FieldList->currentRow() >= 0) {
        const int field = m_fieldIndex.value(FieldList->currentRow());
        m_object->ChooseField(surface->DataSet()->fieldName(field), surface->DataSet()->displayLabel(field));
    }
    TGPropertyDialog::done(result);
    if (surface)
        surface->RefreshData();
}
