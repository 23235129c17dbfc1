#include "TGSelectFieldDialog.h"

#include "THelpRequest.h"

#include "TGDMultiLineLabel.h"
#include "TGDataPanel.h"
#include "TGDataSource.h"
#include "TGPDLabel.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3503;

TGSelectFieldDialog::TGSelectFieldDialog(TGPDLabel *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Select Field"), parent), m_surface(object->dataParent()),
      m_choose([object](const QString &name, const QString &label) { object->ChooseField(name, label); })
{
    fill(false, object->DataFieldDescript);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

TGSelectFieldDialog::TGSelectFieldDialog(TGDMultiLineLabel *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Select Field"), parent), m_surface(object->dataParent()),
      m_choose([object](const QString &name, const QString &label) { object->ChooseField(name, label); })
{
    fill(true, object->DataFieldDescript);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TGSelectFieldDialog::fill(bool memoFields, const QString &current)
{
    FieldList = new QListWidget(this);
    FieldList->setObjectName(QStringLiteral("FieldList"));
    fields()->addWidget(FieldList);
    TGDataSource *dataSet = m_surface ? m_surface->DataSet() : nullptr;
    int selected = 0;
    if (dataSet) {
        for (int i = 0; i < dataSet->fieldCount(); ++i) {
            // Memo objects list every memo field, with no tag or visibility filter.
            const bool listed = memoFields ? dataSet->isMemoField(i)
                                           : dataSet->isTextField(i) && dataSet->fieldTag(i) >= 0 &&
                                                 dataSet->isFieldVisible(i);
            if (!listed)
                continue;
            if (dataSet->displayLabel(i) == current)
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
    TGDataPanel *surface = m_surface;
    if (result == QDialog::Accepted && surface && surface->DataSet() && FieldList->currentRow() >= 0) {
        const int field = m_fieldIndex.value(FieldList->currentRow());
        m_choose(surface->DataSet()->fieldName(field), surface->DataSet()->displayLabel(field));
    }
    TGPropertyDialog::done(result);
    if (surface)
        surface->RefreshData();
}
