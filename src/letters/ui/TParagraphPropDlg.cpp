#include "TParagraphPropDlg.h"

#include "THelpRequest.h"

#include "TMessages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QVBoxLayout>

#include <cmath>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3304;

namespace {

// Document lengths are 96-dpi pixels: 15 twips to the pixel.
constexpr double kTwipsPerPixel = 15.0;

int twipsOf(qreal pixels)
{
    return static_cast<int>(std::nearbyint(pixels * kTwipsPerPixel));
}

qreal pixelsOf(int twips)
{
    return twips / kTwipsPerPixel;
}

QLineEdit *field(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

TParagraphTwips TParagraphTwips::of(const QTextBlockFormat &format)
{
    TParagraphTwips p;
    p.left = twipsOf(format.leftMargin());
    p.first = p.left + twipsOf(format.textIndent());
    p.right = twipsOf(format.rightMargin());
    p.spaceBefore = twipsOf(format.topMargin());
    p.spaceAfter = twipsOf(format.bottomMargin());
    const int type = format.lineHeightType();
    if (type == QTextBlockFormat::MinimumHeight || type == QTextBlockFormat::FixedHeight)
        p.lineHeight = twipsOf(format.lineHeight());
    return p;
}

void TParagraphTwips::applyTo(QTextBlockFormat &format) const
{
    format.setTopMargin(pixelsOf(spaceBefore));
    if (lineHeight > 0)
        format.setLineHeight(pixelsOf(lineHeight), QTextBlockFormat::MinimumHeight);
    else
        format.setLineHeight(0, QTextBlockFormat::SingleHeight);
    format.setBottomMargin(pixelsOf(spaceAfter));
    format.setLeftMargin(pixelsOf(left));
    format.setTextIndent(pixelsOf(first - left));
    format.setRightMargin(pixelsOf(right));
}

TParagraphPropDlg::TParagraphPropDlg(const TParagraphTwips &paragraph, QWidget *parent)
    : QDialog(parent), m_values(paragraph)
{
    setObjectName(QStringLiteral("TParagraphPropDlg"));
    setWindowTitle(QStringLiteral("Paragraph Properties"));
    setModal(true);
    FirstIndent = field("FirstIndent", this);
    LeftIndent = field("LeftIndent", this);
    RightIndent = field("RightIndent", this);
    Units = new QComboBox(this);
    Units->setObjectName(QStringLiteral("Units"));
    Units->addItems({QStringLiteral("Inch"), QStringLiteral("Cm")});
    FirstIndentCombo = new QComboBox(this);
    FirstIndentCombo->setObjectName(QStringLiteral("FirstIndentCombo"));
    FirstIndentCombo->addItems({QStringLiteral("Same as Left Indent"), QStringLiteral("Indented by")});
    FirstIndentCombo->setCurrentIndex(paragraph.first == paragraph.left ? 0 : 1);
    FirstIndent->setEnabled(FirstIndentCombo->currentIndex() == 1);
    SpaceBeforePts = field("SpaceBeforePts", this);
    LineHeightPts = field("LineHeightPts", this);
    SpaceAfterPts = field("SpaceAfterPts", this);
    SpaceBeforePts->setToolTip(
        QStringLiteral("Specify spacing before paragraph in points (1 point=1/72 inch)"));
    SpaceAfterPts->setToolTip(
        QStringLiteral("Specify spacing after paragraph in points (1 point=1/72 inch)"));
    LineHeightPts->setToolTip(
        QStringLiteral("Specify spacing between lines of paragraph in points (1 point=1/72 inch)"));
    Units->setToolTip(QStringLiteral("Change unit of measurement to inches or centimeters"));
    FirstIndentCombo->setToolTip(QStringLiteral("Specify special handling for first line indent"));
    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Left Indent"), LeftIndent);
    form->addRow(QStringLiteral("Right Indent"), RightIndent);
    form->addRow(QString(), FirstIndentCombo);
    form->addRow(QStringLiteral("First Indent"), FirstIndent);
    form->addRow(QStringLiteral("Units"), Units);
    form->addRow(QStringLiteral("Space before (pts)"), SpaceBeforePts);
    form->addRow(QStringLiteral("Line Height (pts)"), LineHeightPts);
    form->addRow(QStringLiteral("Space after (pts)"), SpaceAfterPts);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto *main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(buttons);
    redisplay();

    connect(Units, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { redisplay(); });
    connect(FirstIndentCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        FirstIndent->setEnabled(index == 1);
        if (index == 0)
            sameAsLeft();
    });
    for (QLineEdit *edit :
         {FirstIndent, LeftIndent, RightIndent, SpaceBeforePts, LineHeightPts, SpaceAfterPts}) {
        connect(edit, &QLineEdit::textEdited, this, [this, edit] {
            (void)convert(edit, false);
            if (edit == LeftIndent && FirstIndentCombo->currentIndex() == 0)
                sameAsLeft();
        });
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { (void)convert(edit, true); });
    }
    connect(OkButton, &QPushButton::clicked, this, [this] {
        for (QLineEdit *edit :
             {FirstIndent, LeftIndent, RightIndent, SpaceBeforePts, LineHeightPts, SpaceAfterPts})
            if (!convert(edit, true))
                return;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

TLengthUnit TParagraphPropDlg::unit() const
{
    return Units->currentIndex() == 1 ? TLengthUnit::Cm : TLengthUnit::Inch;
}

void TParagraphPropDlg::setHints()
{
    const QString in = unit() == TLengthUnit::Cm ? QStringLiteral("centimeters") : QStringLiteral("inches");
    LeftIndent->setToolTip(QStringLiteral("Specify left indent for the paragraph in ") + in);
    RightIndent->setToolTip(QStringLiteral("Specify right indent for the paragraph in ") + in);
    FirstIndent->setToolTip(QStringLiteral("Specify first line indent for the paragraph in ") + in);
}

void TParagraphPropDlg::redisplay()
{
    FirstIndent->setText(TLetterUnits::display(m_values.first, unit()));
    LeftIndent->setText(TLetterUnits::display(m_values.left, unit()));
    RightIndent->setText(TLetterUnits::display(m_values.right, unit()));
    SpaceBeforePts->setText(TLetterUnits::displayPoints(m_values.spaceBefore));
    LineHeightPts->setText(TLetterUnits::displayPoints(m_values.lineHeight));
    SpaceAfterPts->setText(TLetterUnits::displayPoints(m_values.spaceAfter));
    setHints();
}

void TParagraphPropDlg::sameAsLeft()
{
    FirstIndent->setText(LeftIndent->text());
    (void)convert(FirstIndent, false);
}

bool TParagraphPropDlg::convert(QLineEdit *edit, bool tell)
{
    const bool points = edit == SpaceBeforePts || edit == LineHeightPts || edit == SpaceAfterPts;
    const std::optional<int> twips =
        points ? TLetterUnits::parsePoints(edit->text()) : TLetterUnits::parse(edit->text(), unit());
    int &value = edit == FirstIndent      ? m_values.first
                 : edit == LeftIndent     ? m_values.left
                 : edit == RightIndent    ? m_values.right
                 : edit == SpaceBeforePts ? m_values.spaceBefore
                 : edit == LineHeightPts  ? m_values.lineHeight
                                          : m_values.spaceAfter;
    if (twips) {
        value = *twips;
        return true;
    }
    if (tell) {
        TMessages::information(this, QStringLiteral("'") + edit->text() +
                                         QStringLiteral("' is not a valid number"));
        edit->setText(points ? TLetterUnits::displayPoints(value) : TLetterUnits::display(value, unit()));
    }
    return false;
}
