#include "TSelectLabel.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TGlabelsTemplates.h"
#include "TLabelTemplates.h"
#include "TMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3101;

TSelectLabel::TSelectLabel(TLabelTemplates &catalogue, const TGlabelsTemplates *glabels,
                           const TLabelSetup &setup, QWidget *parent)
    : QDialog(parent), m_catalogue(catalogue), m_glabels(glabels), m_setup(setup)
{
    setWindowTitle(QStringLiteral("Select Label Template"));
    setModal(true);
    eManuFac = new QComboBox(this);
    eManuFac->addItems(TLabelTemplates::manufacturers());
    if (m_glabels && !m_glabels->templates().isEmpty())
        eManuFac->addItem(glabelsEntry());
    eProdType = new QComboBox(this);
    eProdType->addItems(TLabelTemplates::products());
    EuropeanPaper = new QCheckBox(QStringLiteral("European paper sizes only (A4, A5)"), this);
    Grid = new QTreeWidget(this);
    Grid->setColumnCount(1);
    Grid->setHeaderLabels({QStringLiteral("Description")});
    Grid->setRootIsDecorated(false);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setUniformRowHeights(true);
    Grid->setMinimumSize(340, 260);
    const auto field = [this] {
        auto *e = new QLineEdit(this);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        return e;
    };
    HeightField = field();
    WidthField = field();
    AcrossField = field();
    DownField = field();
    PaperWidthField = field();
    PaperHeightField = field();
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);

    auto *filters = new QFormLayout;
    filters->addRow(QStringLiteral("Manufacturer"), eManuFac);
    filters->addRow(QStringLiteral("Product"), eProdType);
    filters->addRow(EuropeanPaper);
    auto *values = new QFormLayout;
    values->addRow(QStringLiteral("Label Height"), HeightField);
    values->addRow(QStringLiteral("Label Width"), WidthField);
    values->addRow(QStringLiteral("Across"), AcrossField);
    values->addRow(QStringLiteral("Down"), DownField);
    values->addRow(QStringLiteral("Paper Width"), PaperWidthField);
    values->addRow(QStringLiteral("Paper Height"), PaperHeightField);
    auto *middle = new QHBoxLayout;
    middle->addWidget(Grid, 1);
    middle->addLayout(values);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(filters);
    outer->addLayout(middle);
    outer->addLayout(buttons);

    connect(eManuFac, qOverload<int>(&QComboBox::currentIndexChanged), this, &TSelectLabel::BuildLabelQuery);
    connect(eProdType, qOverload<int>(&QComboBox::currentIndexChanged), this, &TSelectLabel::BuildLabelQuery);
    connect(EuropeanPaper, &QCheckBox::toggled, this, &TSelectLabel::BuildLabelQuery);
    connect(Grid, &QTreeWidget::currentItemChanged, this, &TSelectLabel::showCurrent);
    connect(Grid, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (OkButton->isEnabled())
            accept();
    });
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {eManuFac, "Shows only the sheets of this maker."},
             {eProdType, "Shows only the sheets of this kind of product."},
             {EuropeanPaper, "Shows only sheets on A4 or A5 paper."},
             {Grid, "The label sheets that fit the choices above. Select one and press Ok."},
             {HeightField, "The height of one label of the selected sheet."},
             {WidthField, "The width of one label of the selected sheet."},
             {AcrossField, "How many labels the sheet has in a row."},
             {DownField, "How many labels the sheet has in a column."},
             {PaperWidthField, "The width of the sheet's paper."},
             {PaperHeightField, "The height of the sheet's paper."},
             {OkButton, "Takes the selected sheet for the label setup."},
             {CancelButton, "Closes the window and keeps the earlier sheet."},
             {HelpButton, "Opens the help page about choosing a label sheet."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TSelectLabel::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    PositionLabelCombos();
}

bool TSelectLabel::isGlabelsChosen() const
{
    return eManuFac->currentText() == glabelsEntry();
}

void TSelectLabel::PositionLabelCombos()
{
    const TLabelComboChoice choice = TLabelTemplates::PositionLabelCombos(m_setup);
    {
        const QSignalBlocker a(eManuFac);
        const QSignalBlocker b(eProdType);
        eManuFac->setCurrentIndex(choice.manufacturer);
        eProdType->setCurrentIndex(choice.product);
    }
    BuildLabelQuery();
    if (!choice.findByName || m_listed.isEmpty())
        return;
    // The row of the setup's sheet; when none has its name, the last row.
    int row = static_cast<int>(m_listed.size()) - 1;
    for (int i = 0; i < m_listed.size(); ++i)
        if (m_listed.at(i).Description == m_setup.TplDescrip) {
            row = i;
            break;
        }
    Grid->setCurrentItem(Grid->topLevelItem(row));
}

void TSelectLabel::BuildLabelQuery()
{
    m_listed.clear();
    if (isGlabelsChosen()) {
        for (const TGlabelsTemplate &t : m_glabels->templates()) {
            const QString paper = t.sheet.PaperSize.toUpper();
            if (EuropeanPaper->isChecked() && !paper.contains(QLatin1String("A4")) &&
                !paper.contains(QLatin1String("A5")))
                continue;
            m_listed.append(t.sheet);
        }
    } else {
        const QString expr = TLabelTemplates::BuildLabelQuery(
            eManuFac->currentText(), eProdType->currentIndex(), EuropeanPaper->isChecked());
        const TResult set = m_catalogue.setQuery(expr);
        if (!set)
            TMessages::failure(this, set);
        for (const TLabelTemplateRow &row : m_catalogue.rows())
            m_listed.append(row.sheet);
    }
    {
        const QSignalBlocker block(Grid);
        Grid->clear();
        QList<QTreeWidgetItem *> items;
        for (const TLabelSetup &sheet : std::as_const(m_listed))
            items.append(new QTreeWidgetItem(QStringList{sheet.Description}));
        Grid->addTopLevelItems(items);
    }
    const bool any = !m_listed.isEmpty();
    OkButton->setEnabled(any);
    Grid->setEnabled(any);
    if (any)
        Grid->setCurrentItem(Grid->topLevelItem(0));
    showCurrent();
}

void TSelectLabel::showCurrent()
{
    const int row = Grid->indexOfTopLevelItem(Grid->currentItem());
    if (row < 0 || row >= m_listed.size()) {
        for (QLineEdit *e :
             {HeightField, WidthField, AcrossField, DownField, PaperWidthField, PaperHeightField})
            e->clear();
        return;
    }
    const TLabelSetup &s = m_listed.at(row);
    HeightField->setText(QString::number(s.LblHeight, 'f', 3));
    WidthField->setText(QString::number(s.LblWidth, 'f', 3));
    AcrossField->setText(QString::number(s.NbrAcross));
    DownField->setText(QString::number(s.NbrDown));
    PaperWidthField->setText(QString::number(s.SheetWidth, 'f', 3));
    PaperHeightField->setText(QString::number(s.SheetDepth, 'f', 3));
}

TLabelSetup TSelectLabel::chosen() const
{
    const int row = Grid->indexOfTopLevelItem(Grid->currentItem());
    return row >= 0 && row < m_listed.size() ? m_listed.at(row) : TLabelSetup();
}
