#include "TG3DEffectsDialog.h"

#include "THelpRequest.h"

#include "TGBasePanel.h"
#include "TGOwner.h"
#include "TGSurfaceWidget.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3507;

TG3DEffectsDialog::TG3DEffectsDialog(TGBaseLabel *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Text 3D Effects"), parent), m_object(object),
      m_owner(std::make_unique<TGOwner>()),
      m_surface(std::make_unique<TGBasePanel>(m_owner.get(), screen()->logicalDotsPerInchY()))
{
    m_surface->setSize(260, 80);
    m_surface->setShape(lsRectangle);
    m_sample = static_cast<TGPLabel *>(m_surface->insertObject(std::make_unique<TGPLabel>(m_owner.get())));
    m_sample->setCaption(QStringLiteral("Sample"));
    m_sample->setFont(object->Font());
    m_sample->setTransparent(false);
    m_sample->setBackColor(TGColor::clWhite);
    m_sample->SetBounds(10, 10, 240, 60);
    m_sample->setDirectionShadow(object->DirectionShadow());
    m_sample->setDepthShadow(object->DepthShadow());
    m_sample->setColorShadow(object->colorShadow());
    m_sample->setDirectionHighlight(object->DirectionHighlight());
    m_sample->setDepthHighlight(object->DepthHighlight());
    m_sample->setColorHighlight(object->colorHighlight());

    auto *form = new QFormLayout;
    ShadowDirectionCombo = new QComboBox(this);
    ShadowDirectionCombo->setObjectName(QStringLiteral("ShadowDirectionCombo"));
    ShadowDirectionCombo->addItems({QStringLiteral("None"), QStringLiteral("Right"), QStringLiteral("Left"),
                                    QStringLiteral("Lower Right"), QStringLiteral("Lower Left"),
                                    QStringLiteral("Down")});
    ShadowDirectionCombo->setCurrentIndex(object->DirectionShadow());
    form->addRow(QStringLiteral("Shadow Direction"), ShadowDirectionCombo);
    ShadowColorButton = new QPushButton(QStringLiteral("Shadow Color"), this);
    ShadowColorButton->setObjectName(QStringLiteral("ShadowColorButton"));
    form->addRow(ShadowColorButton);
    ShadowDepthSpin = new QSpinBox(this);
    ShadowDepthSpin->setObjectName(QStringLiteral("ShadowDepthSpin"));
    ShadowDepthSpin->setRange(0, 10);
    ShadowDepthSpin->setValue(std::clamp(object->DepthShadow(), 0, 10));
    form->addRow(QStringLiteral("Shadow Depth"), ShadowDepthSpin);
    HighlightDirectionCombo = new QComboBox(this);
    HighlightDirectionCombo->setObjectName(QStringLiteral("HighlightDirectionCombo"));
    HighlightDirectionCombo->addItems({QStringLiteral("None"), QStringLiteral("Right"),
                                       QStringLiteral("Left"), QStringLiteral("Upper Right"),
                                       QStringLiteral("Upper Left"), QStringLiteral("Up")});
    HighlightDirectionCombo->setCurrentIndex(object->DirectionHighlight());
    form->addRow(QStringLiteral("Highlight Direction"), HighlightDirectionCombo);
    HighlightColorButton = new QPushButton(QStringLiteral("Highlight Color"), this);
    HighlightColorButton->setObjectName(QStringLiteral("HighlightColorButton"));
    form->addRow(HighlightColorButton);
    HighlightDepthSpin = new QSpinBox(this);
    HighlightDepthSpin->setObjectName(QStringLiteral("HighlightDepthSpin"));
    HighlightDepthSpin->setRange(0, 10);
    HighlightDepthSpin->setValue(std::clamp(object->DepthHighlight(), 0, 10));
    form->addRow(QStringLiteral("Highlight Depth"), HighlightDepthSpin);
    FontColorButton = new QPushButton(QStringLiteral("Font Color"), this);
    FontColorButton->setObjectName(QStringLiteral("FontColorButton"));
    form->addRow(FontColorButton);
    fields()->addLayout(form);
    m_preview = new TGSurfaceWidget(m_surface.get(), this);
    fields()->addWidget(m_preview);

    connect(ShadowDirectionCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int i) { m_sample->setDirectionShadow(static_cast<TShadowDirection>(i)); });
    connect(HighlightDirectionCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int i) { m_sample->setDirectionHighlight(static_cast<THighlightDirection>(i)); });
    connect(ShadowDepthSpin, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int d) { m_sample->setDepthShadow(d); });
    connect(HighlightDepthSpin, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int d) { m_sample->setDepthHighlight(d); });
    auto chooseColour = [this](TColor start, auto apply) {
        const QColor c = QColorDialog::getColor(TGColor::toQColor(start), this);
        if (c.isValid())
            apply(TGColor::fromQColor(c));
    };
    connect(ShadowColorButton, &QPushButton::clicked, this, [this, chooseColour] {
        chooseColour(m_sample->colorShadow(), [this](TColor c) { m_sample->setColorShadow(c); });
    });
    connect(HighlightColorButton, &QPushButton::clicked, this, [this, chooseColour] {
        chooseColour(m_sample->colorHighlight(), [this](TColor c) { m_sample->setColorHighlight(c); });
    });
    connect(FontColorButton, &QPushButton::clicked, this, [this, chooseColour] {
        chooseColour(m_sample->Font().color(), [this](TColor c) {
            TGFont f = m_sample->Font();
            f.setColor(c);
            m_sample->setFont(f);
        });
    });
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

TG3DEffectsDialog::~TG3DEffectsDialog()
{
    delete m_preview; // before the surface it shows
    m_preview = nullptr;
}

void TG3DEffectsDialog::accept()
{
    m_object->setFont(m_sample->Font());
    m_object->setDirectionShadow(m_sample->DirectionShadow());
    m_object->setDepthShadow(m_sample->DepthShadow());
    m_object->setColorShadow(m_sample->colorShadow());
    m_object->setDirectionHighlight(m_sample->DirectionHighlight());
    m_object->setDepthHighlight(m_sample->DepthHighlight());
    m_object->setColorHighlight(m_sample->colorHighlight());
    m_object->NotifyChanged();
    TGPropertyDialog::accept();
}
