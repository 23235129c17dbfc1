// "Select Label Template" (TSelectLabel): the stock sheets of the catalogue filtered by maker
// and printer class, product type and European paper, and, when the gLabels template library
// is installed, the sheets of its makers. Created per use by the label designer over an open
// catalogue and shown modally; Ok hands back the chosen sheet.
#pragma once

#include "TLabelSetup.h"

#include <QDialog>
#include <QVector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class TGlabelsTemplates;
class TLabelTemplates;

class TSelectLabel : public QDialog
{
    Q_OBJECT
public:
    // The caption of the manufacturer entry that lists the gLabels templates.
    static QString glabelsEntry() { return QStringLiteral("Other makers (gLabels templates)"); }

    // `catalogue` (open) and `glabels` (may be null or empty) must outlive the dialog. The
    // chooser starts from `setup`'s TplDescrip, Printer, Manufac and ProdType.
    TSelectLabel(TLabelTemplates &catalogue, const TGlabelsTemplates *glabels, const TLabelSetup &setup,
                 QWidget *parent = nullptr);

    // The sheet of the current row (its Description is the catalogue's DESCRIPT); Ok is only
    // possible while there is one.
    TLabelSetup chosen() const;
    // The sheets listed under the current filter.
    const QVector<TLabelSetup> &listed() const { return m_listed; }

    QComboBox *eManuFac;
    QComboBox *eProdType;
    QCheckBox *EuropeanPaper;
    QTreeWidget *Grid;
    QLineEdit *HeightField;
    QLineEdit *WidthField;
    QLineEdit *AcrossField;
    QLineEdit *DownField;
    QLineEdit *PaperWidthField;
    QLineEdit *PaperHeightField;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

public slots:
    // The filter from the lists and the check box, and the list of the sheets it shows.
    void BuildLabelQuery();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void PositionLabelCombos();
    void showCurrent();
    bool isGlabelsChosen() const;

    TLabelTemplates &m_catalogue;
    const TGlabelsTemplates *m_glabels;
    TLabelSetup m_setup;
    QVector<TLabelSetup> m_listed;
    bool m_activated = false;
};
