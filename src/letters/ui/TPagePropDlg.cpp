#include "TPagePropDlg.h"

#include "THelpRequest.h"

#include "TMessages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3303;

namespace {

QLineEdit *field(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

TPagePropDlg::TPagePropDlg(const TLetterPageLayout &layout, TLengthUnit unit, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TPagePropDlg"));
    setWindowTitle(QStringLiteral("Page Properties"));
    setModal(true);
    Unit = new QComboBox(this);
    Unit->setObjectName(QStringLiteral("Unit"));
    Unit->addItems({QStringLiteral("Inch"), QStringLiteral("Cm"), QStringLiteral("Twips")});
    Unit->setCurrentIndex(static_cast<int>(unit));
    PaperWidth = field("PaperWidth", this);
    PaperHeight = field("PaperHeight", this);
    MarginTop = field("MarginTop", this);
    MarginBottom = field("MarginBottom", this);
    MarginLeft = field("MarginLeft", this);
    MarginRight = field("MarginRight", this);
    m_fields = {PaperWidth, PaperHeight, MarginTop, MarginBottom, MarginLeft, MarginRight};
    m_twips = {layout.paperWidth,   layout.paperHeight, layout.marginTop,
               layout.marginBottom, layout.marginLeft,  layout.marginRight};
    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto *top = new QFormLayout;
    top->addRow(QStringLiteral("Unit"), Unit);
    auto *paper = new QGroupBox(QStringLiteral(" Paper Size "), this);
    auto *paperForm = new QFormLayout(paper);
    paperForm->addRow(QStringLiteral("Width"), PaperWidth);
    paperForm->addRow(QStringLiteral("Height"), PaperHeight);
    auto *margins = new QGroupBox(QStringLiteral(" Margins "), this);
    auto *marginForm = new QFormLayout(margins);
    marginForm->addRow(QStringLiteral("Top"), MarginTop);
    marginForm->addRow(QStringLiteral("Bottom"), MarginBottom);
    marginForm->addRow(QStringLiteral("Left"), MarginLeft);
    marginForm->addRow(QStringLiteral("Right"), MarginRight);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(paper);
    main->addWidget(margins);
    main->addLayout(buttons);

    redisplay();
    connect(Unit, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { redisplay(); });
    for (int i = 0; i < kCount; ++i) {
        connect(m_fields[i], &QLineEdit::textEdited, this, [this, i] { (void)convert(i, false); });
        connect(m_fields[i], &QLineEdit::editingFinished, this, [this, i] { (void)convert(i, true); });
    }
    connect(OkButton, &QPushButton::clicked, this, &TPagePropDlg::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

TLengthUnit TPagePropDlg::unit() const
{
    return static_cast<TLengthUnit>(std::clamp(Unit->currentIndex(), 0, 2));
}

void TPagePropDlg::redisplay()
{
    for (int i = 0; i < kCount; ++i)
        m_fields[i]->setText(TLetterUnits::display(m_twips[i], unit()));
}

bool TPagePropDlg::convert(int i, bool tell)
{
    const std::optional<int> twips = TLetterUnits::parse(m_fields[i]->text(), unit());
    if (twips) {
        m_twips[i] = *twips;
        return true;
    }
    if (tell) {
        TMessages::information(this, QStringLiteral("'") + m_fields[i]->text() +
                                         QStringLiteral("' is not a valid number"));
        m_fields[i]->setText(TLetterUnits::display(m_twips[i], unit()));
    }
    return false;
}

TLetterPageLayout TPagePropDlg::layout() const
{
    TLetterPageLayout l;
    l.paperWidth = m_twips[kWidth];
    l.paperHeight = m_twips[kHeight];
    l.marginTop = m_twips[kTop];
    l.marginBottom = m_twips[kBottom];
    l.marginLeft = m_twips[kLeft];
    l.marginRight = m_twips[kRight];
    return l;
}

void TPagePropDlg::OkButtonClick()
{
    for (int i = 0; i < kCount; ++i)
        if (!convert(i, true))
            return;
    const QString problem = layout().problem();
    if (!problem.isEmpty()) {
        TMessages::information(this, problem);
        return;
    }
    accept();
}
