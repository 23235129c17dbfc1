// "Text 3D Effects": shadow and highlight direction, colour and depth and the font colour of
// a text object, shown at once on a sample text.
#pragma once

#include "TGPropertyDialog.h"

#include "TGPLabel.h"

#include <memory>

class QComboBox;
class QPushButton;
class QSpinBox;
class TGBasePanel;
class TGOwner;

class TG3DEffectsDialog : public TGPropertyDialog
{
    Q_OBJECT
public:
    TG3DEffectsDialog(TGBaseLabel *object, QWidget *parent = nullptr);
    ~TG3DEffectsDialog() override;

    QComboBox *ShadowDirectionCombo = nullptr;
    QPushButton *ShadowColorButton = nullptr;
    QSpinBox *ShadowDepthSpin = nullptr;
    QComboBox *HighlightDirectionCombo = nullptr;
    QPushButton *HighlightColorButton = nullptr;
    QSpinBox *HighlightDepthSpin = nullptr;
    QPushButton *FontColorButton = nullptr;

    // The sample the choices are shown on.
    const TGPLabel &sample() const { return *m_sample; }

    void accept() override;

private:
    void showSample();
    QWidget *m_preview = nullptr;
    TGBaseLabel *m_object;
    std::unique_ptr<TGOwner> m_owner;
    std::unique_ptr<TGBasePanel> m_surface;
    TGPLabel *m_sample = nullptr;
};
