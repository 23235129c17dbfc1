// "Envelope Design Screen": edits one envelope setup's layout on an envelope surface sized
// like the envelope, with the drawing tools, the USPS automation zones and the printer's
// margins as guides, the address records to see real values, zoom, Change Size and the
// default font. The envelope window creates one per New or Modify, fills it, shows it
// modally and, on Save, stores the surface and the values it hands back.
#pragma once

#include "TEnvelopePanel.h"
#include "TGOwner.h"
#include "TResult.h"
#include "Units.h"

#include <QDialog>

#include <memory>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TAddressDataSource;
class TAddressSession;
class TChooseEnvelopeLayout;
class TGDesignerSurface;
class TIniFile;
class TPSpeedButton;

class TEnvelopeDesignScreen : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMinZoomPercent = 50;
    static constexpr int kMaxZoomPercent = 150;

    // `session` (an address file open) and `ini` must outlive the window.
    TEnvelopeDesignScreen(TAddressSession &session, TIniFile &ini, QWidget *parent = nullptr);
    ~TEnvelopeDesignScreen() override;

    TEnvelopePanel &surface() { return m_surface; }
    TGDesignerSurface *designer() const { return m_designer; }

    // The printer's page and unprintable edges in design pixels at zoom 1.0, for the margins.
    void setPrinterPage(int left, int top, int right, int bottom, int pageHeight, int pageWidth);
    // What the description box shows ("<New envelope>" for a new setup).
    void setDescriptionText(const QString &text);
    // The setup's description (the box text, first 50 characters, after Save) and size code.
    const QString &description() const { return m_description; }
    void setDescription(const QString &description) { m_description = description; }
    int Number() const { return m_number; }
    // Also sizes the surface to the envelope of `code`.
    void setNumber(int code);
    InchSize envelope() const { return m_envelope; }
    // The zoom in whole percent.
    int zoomPercent() const { return m_zoomPercent; }

    QLineEdit *LabelSetupDescription;
    TPSpeedButton *Pointerbutton;
    TPSpeedButton *DrawLabelButton;
    TPSpeedButton *DrawMLTextButton;
    TPSpeedButton *DrawRectanglebutton;
    TPSpeedButton *DrawEllipseButton;
    TPSpeedButton *DrawRoundrectbutton;
    TPSpeedButton *DrawLinebutton;
    TPSpeedButton *DrawImageButton;
    TPSpeedButton *DrawPostNetBarCodeButton;
    TPSpeedButton *DrawFieldButton;
    TPSpeedButton *DrawAddressButton;
    TPSpeedButton *DrawFIMBarcodeButton;
    QToolButton *ShowGrid;
    QToolButton *SnapToGrid;
    QToolButton *ShowFieldNamesButton;
    QToolButton *ShowPrinterMarginsButton;
    QToolButton *USPSTemplate;
    QPushButton *ChangeSizeButton;
    QToolButton *RecordFirst;
    QToolButton *RecordPrev;
    QToolButton *RecordNext;
    QToolButton *RecordLast;
    QToolButton *ZoomInButton;
    QToolButton *ZoomOutButton;
    QLabel *ZoomCaption;
    QPushButton *DefaultFontbutton;
    QPushButton *SaveButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

signals:
    // The size chooser is about to open (tests answer it here).
    void sizeChooserOpened(TChooseEnvelopeLayout *chooser);

public slots:
    void ChangeSizeButtonClick();
    void ZoomIn();
    void ZoomOut();
    void DefaultFontbuttonClick();
    void SaveButtonClick();
    void RecordButtonClick(int move);

protected:
    void showEvent(QShowEvent *event) override;
    // Unless the description box has the focus: Page Up and Page Down scroll the design area
    // one line, Home and End to its top and bottom; keypad plus and minus zoom; other keys go
    // to the surface (moving and sizing objects).
    void keyPressEvent(QKeyEvent *event) override;
    // Save, Cancel and the close box all end here: the placement is saved.
    void done(int result) override;

private:
    void SetEnvelopeSizeFromInches();
    void setZoomPercent(int percent);
    void LabelChanged();
    void showDefaultFont();
    void readDefaultFont();

    TAddressSession &m_session;
    TIniFile &m_ini;
    TGOwner m_owner;
    TEnvelopePanel m_surface;
    std::unique_ptr<TAddressDataSource> m_data;
    TGDesignerSurface *m_designer = nullptr;
    QButtonGroup *m_tools = nullptr;
    QString m_description;
    int m_number = 20;
    InchSize m_envelope;
    int m_zoomPercent = 100;
    bool m_activating = true;
    bool m_activated = false;
};
