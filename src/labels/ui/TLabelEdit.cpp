#include "TLabelEdit.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TMessages.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3103;

using Box = TLabelEditValues::Box;

TLabelEdit::TLabelEdit(const TLabelSetup &setup, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("User Defined Label Layout"));
    setModal(true);
    auto *grid = new QGridLayout;
    const auto numeric = [this](const QString &name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setMaxLength(8);
        auto *validator = new QDoubleValidator(0, 9999, 3, e);
        validator->setNotation(QDoubleValidator::StandardNotation);
        validator->setLocale(QLocale::c());
        e->setValidator(validator);
        return e;
    };
    LabelWidthEdit = numeric(QStringLiteral("LabelWidthEdit"));
    LabelHeightEdit = numeric(QStringLiteral("LabelHeightEdit"));
    HorizPitchEdit = numeric(QStringLiteral("HorizPitchEdit"));
    VertPitchEdit = numeric(QStringLiteral("VertPitchEdit"));
    LeftMarginEdit = numeric(QStringLiteral("LeftMarginEdit"));
    TopMarginEdit = numeric(QStringLiteral("TopMarginEdit"));
    PaperWidthEdit = numeric(QStringLiteral("PaperWidthEdit"));
    PaperHeightEdit = numeric(QStringLiteral("PaperHeightEdit"));
    AcrossSpin = new QSpinBox(this);
    AcrossSpin->setRange(1, TLabelSetup::kMaxAcross);
    DownSpin = new QSpinBox(this);
    DownSpin->setRange(1, TLabelSetup::kMaxDown);
    PaperSizeCombo = new QComboBox(this);
    for (const TLabelPaper &paper : TLabelSetup::papers())
        PaperSizeCombo->addItem(paper.caption);
    LabelShapeCombo = new QComboBox(this);
    LabelShapeCombo->addItems(TLabelSetup::shapeCaptions());
    InchesRadio = new QRadioButton(QStringLiteral("Use &Inches"), this);
    MillimetersRadio = new QRadioButton(QStringLiteral("Use &Millimeters"), this);
    InchesRadio->setChecked(true);

    int row = 0;
    const auto put = [&](const char *caption, QWidget *w, int column) {
        auto *label = new QLabel(QLatin1String(caption), this);
        label->setBuddy(w);
        grid->addWidget(label, row, column * 2);
        grid->addWidget(w, row, column * 2 + 1);
    };
    put("Label Width", LabelWidthEdit, 0);
    put("Label Height", LabelHeightEdit, 1);
    ++row;
    put("Horizontal Pitch", HorizPitchEdit, 0);
    put("Vertical Pitch", VertPitchEdit, 1);
    ++row;
    put("Left Margin", LeftMarginEdit, 0);
    put("Top Margin", TopMarginEdit, 1);
    ++row;
    put("# across", AcrossSpin, 0);
    put("# down", DownSpin, 1);
    ++row;
    put("Paper size", PaperSizeCombo, 0);
    put("Label Shape", LabelShapeCombo, 1);
    ++row;
    put("Paper Width", PaperWidthEdit, 0);
    put("Paper Height", PaperHeightEdit, 1);

    auto *units = new QHBoxLayout;
    units->addWidget(InchesRadio);
    units->addWidget(MillimetersRadio);
    units->addStretch();
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addLayout(units);
    outer->addLayout(buttons);

    m_values.setInches(Box::Width, setup.LblWidth);
    m_values.setInches(Box::Height, setup.LblHeight);
    m_values.setInches(Box::HorizPitch, setup.HorizPitch);
    m_values.setInches(Box::VertPitch, setup.VertPitch);
    m_values.setInches(Box::LeftMarg, setup.LeftMarg);
    m_values.setInches(Box::TopMarg, setup.TopMarg);
    m_values.setInches(Box::PaperWidth, setup.SheetWidth);
    m_values.setInches(Box::PaperHeight, setup.SheetDepth);
    AcrossSpin->setValue(setup.NbrAcross);
    DownSpin->setValue(setup.NbrDown);
    PaperSizeCombo->setCurrentIndex(std::max(0, TLabelSetup::paperIndex(setup.PaperSize)));
    LabelShapeCombo->setCurrentIndex(TLabelSetup::shapeIndex(setup.LblShape));
    showValues();

    for (int b = 0; b < TLabelEditValues::kBoxes; ++b) {
        const auto box = static_cast<Box>(b);
        connect(edit(box), &QLineEdit::textEdited, this,
                [this, box](const QString &text) { m_values.setText(box, text); });
    }
    connect(LabelWidthEdit, &QLineEdit::editingFinished, this, [this] {
        m_values.raisePitchToWidth();
        HorizPitchEdit->setText(m_values.text(Box::HorizPitch));
    });
    connect(LabelHeightEdit, &QLineEdit::editingFinished, this, [this] {
        m_values.raisePitchToHeight();
        VertPitchEdit->setText(m_values.text(Box::VertPitch));
    });
    connect(PaperSizeCombo, qOverload<int>(&QComboBox::activated), this, &TLabelEdit::paperChosen);
    connect(MillimetersRadio, &QRadioButton::toggled, this, [this](bool on) {
        m_values.setMillimetres(on);
        showValues();
    });
    connect(OkButton, &QPushButton::clicked, this, &TLabelEdit::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {LabelWidthEdit, "The width of one label."},
             {LabelHeightEdit, "The height of one label."},
             {HorizPitchEdit, "From the left edge of one label to the left edge of the next one in the row."},
             {VertPitchEdit, "From the top edge of one label to the top edge of the one below."},
             {LeftMarginEdit, "From the left edge of the paper to the first label."},
             {TopMarginEdit, "From the top edge of the paper to the first label."},
             {PaperWidthEdit, "The width of the paper."},
             {PaperHeightEdit, "The height of the paper."},
             {AcrossSpin, "How many labels a row has."},
             {DownSpin, "How many labels a column has."},
             {PaperSizeCombo, "A standard paper size, or your own width and height."},
             {LabelShapeCombo, "The shape of the labels, drawn in the designer."},
             {InchesRadio, "Every value is in inches."},
             {MillimetersRadio, "Every value is in millimetres."},
             {OkButton, "Checks that the labels fit on the paper and takes the values."},
             {CancelButton, "Closes the window and keeps the earlier sheet."},
             {HelpButton, "Opens the help page about typing in a label sheet."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

QLineEdit *TLabelEdit::edit(Box box) const
{
    QLineEdit *const edits[] = {LabelWidthEdit, LabelHeightEdit, HorizPitchEdit, VertPitchEdit,
                                LeftMarginEdit, TopMarginEdit,   PaperWidthEdit, PaperHeightEdit};
    return edits[box];
}

void TLabelEdit::showValues()
{
    for (int b = 0; b < TLabelEditValues::kBoxes; ++b)
        edit(static_cast<Box>(b))->setText(m_values.text(static_cast<Box>(b)));
}

void TLabelEdit::paperChosen(int index)
{
    if (index < 0 || index >= TLabelSetup::papers().size())
        return;
    const TLabelPaper &paper = TLabelSetup::papers().at(index);
    if (!paper.fixed)
        return;
    m_values.setInches(Box::PaperWidth, paper.widthInches);
    m_values.setInches(Box::PaperHeight, paper.heightInches);
    PaperWidthEdit->setText(m_values.text(Box::PaperWidth));
    PaperHeightEdit->setText(m_values.text(Box::PaperHeight));
}

TLabelSetup TLabelEdit::values(const TLabelSetup &setup) const
{
    TLabelSetup s = setup;
    s.LblWidth = static_cast<float>(m_values.inches(Box::Width));
    s.LblHeight = static_cast<float>(m_values.inches(Box::Height));
    s.HorizPitch = static_cast<float>(m_values.inches(Box::HorizPitch));
    s.VertPitch = static_cast<float>(m_values.inches(Box::VertPitch));
    s.LeftMarg = static_cast<float>(m_values.inches(Box::LeftMarg));
    s.TopMarg = static_cast<float>(m_values.inches(Box::TopMarg));
    s.SheetWidth = static_cast<float>(m_values.inches(Box::PaperWidth));
    s.SheetDepth = static_cast<float>(m_values.inches(Box::PaperHeight));
    s.NbrAcross = AcrossSpin->value();
    s.NbrDown = DownSpin->value();
    s.PaperSize = TLabelSetup::papers().at(std::max(0, PaperSizeCombo->currentIndex())).code;
    s.LblShape = TLabelSetup::shapeCode(LabelShapeCombo->currentIndex());
    return s;
}

void TLabelEdit::OkButtonClick()
{
    const QString message = values(TLabelSetup()).validLabelMessage();
    if (!message.isEmpty()) {
        TMessages::information(this, message);
        return;
    }
    accept();
}
