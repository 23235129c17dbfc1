#include "TEnvelopeDesignScreen.h"

#include "THelpRequest.h"

#include "TAddressDataSource.h"
#include "TAddressSession.h"
#include "TChooseEnvelopeLayout.h"
#include "TEnvelopeSizes.h"
#include "TGDesignerSurface.h"
#include "TGSurfaceWidget.h"
#include "TIniFile.h"
#include "TPSpeedButton.h"
#include "TWindowPlacer.h"

#include <QButtonGroup>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3202;

namespace {

const QString kSection = QStringLiteral("Envelope");
const QString kClassName = QStringLiteral("TEnvelopeDesignScreen");

enum TRecordMove { rmFirst, rmPrior, rmNext, rmLast };

QToolButton *toggle(const char *text, const char *hint, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setText(QString::fromLatin1(text));
    b->setToolTip(QString::fromLatin1(hint));
    b->setCheckable(true);
    return b;
}

} // namespace

TEnvelopeDesignScreen::TEnvelopeDesignScreen(TAddressSession &session, TIniFile &ini, QWidget *parent)
    : QDialog(parent), m_session(session), m_ini(ini), m_surface(&m_owner, TWindowPlacer::dotsPerInch(parent))
{
    setWindowTitle(QStringLiteral("Envelope Design Screen"));
    setModal(true);
    m_data = std::make_unique<TAddressDataSource>(session.table());
    m_surface.setDataSet(m_data.get());
    m_surface.setProgramFolder(session.programFolder());

    LabelSetupDescription = new QLineEdit(this);
    LabelSetupDescription->setMaxLength(60);

    auto *tools = new QHBoxLayout;
    m_tools = new QButtonGroup(this);
    m_tools->setExclusive(true);
    const auto tool = [&](const char *text, const char *hint, int state) {
        auto *b = new TPSpeedButton(this);
        b->setText(QString::fromLatin1(text));
        b->setToolTip(QString::fromLatin1(hint));
        b->setCheckable(true);
        m_tools->addButton(b, state);
        tools->addWidget(b);
        return b;
    };
    Pointerbutton = tool("Select", "Selection tool", TEnvelopePanel::psPointing);
    DrawLabelButton = tool("Text", "Text tool", TEnvelopePanel::psLabel);
    DrawMLTextButton = tool("Lines", "Multi-line text tool", TEnvelopePanel::psMultiLineLabel);
    DrawRectanglebutton = tool("Rect", "Rectangle tool", TEnvelopePanel::psRectangle);
    DrawEllipseButton = tool("Ellipse", "Ellipse tool", TEnvelopePanel::psEllipse);
    DrawRoundrectbutton = tool("Round", "Round Rectangle tool", TEnvelopePanel::psRoundRectangle);
    DrawLinebutton = tool("Line", "Line Tool", TEnvelopePanel::psLine);
    DrawImageButton = tool("Art", "Clip Art Tool", TEnvelopePanel::psImage);
    DrawPostNetBarCodeButton = tool("POSTNET", "Postnet Barcode tool", TEnvelopePanel::psPostNetBarCode);
    DrawFieldButton = tool("Field", "Database Field tool", TEnvelopePanel::psDataLabel);
    DrawAddressButton = tool("Address", "Database Mailing Address tool", TEnvelopePanel::psAddressLabel);
    DrawFIMBarcodeButton = tool("FIM", "FIM Barcode tool", TEnvelopePanel::psFIMBarCode);
    Pointerbutton->setChecked(true);
    connect(m_tools, &QButtonGroup::idClicked, this, [this](int state) { m_surface.setPanelState(state); });

    ShowGrid = toggle("Grid", "Show grid", this);
    SnapToGrid = toggle("Snap", "Snap to Grid", this);
    ShowFieldNamesButton = toggle("Names", "Toggle display of field names or field values", this);
    ShowPrinterMarginsButton = toggle("Margins", "Show Printer Margins", this);
    USPSTemplate = toggle("USPS", "Show USPS Automation Template", this);
    for (QToolButton *b :
         {ShowGrid, SnapToGrid, ShowFieldNamesButton, ShowPrinterMarginsButton, USPSTemplate})
        tools->addWidget(b);
    tools->addStretch();
    connect(ShowGrid, &QToolButton::toggled, this, [this](bool on) {
        m_surface.setShowGrid(on);
        m_surface.Invalidate();
    });
    connect(SnapToGrid, &QToolButton::toggled, this, [this](bool on) { m_surface.setSnapToGrid(on); });
    connect(ShowFieldNamesButton, &QToolButton::toggled, this, [this](bool down) {
        m_surface.setDisplayDataValues(!down);
        m_surface.Invalidate();
    });
    connect(ShowPrinterMarginsButton, &QToolButton::toggled, this, [this](bool on) {
        m_surface.ShowMargins = on;
        m_surface.Invalidate();
    });
    connect(USPSTemplate, &QToolButton::toggled, this, [this](bool on) {
        m_surface.ShowAreas = on;
        m_surface.Invalidate();
    });

    m_designer = new TGDesignerSurface(&m_surface, this);
    // The designer's own zoom steps take the keypad keys.
    disconnect(m_designer->surfaceWidget(), &TGSurfaceWidget::zoomInRequested, m_designer, nullptr);
    disconnect(m_designer->surfaceWidget(), &TGSurfaceWidget::zoomOutRequested, m_designer, nullptr);
    connect(m_designer->surfaceWidget(), &TGSurfaceWidget::zoomInRequested, this,
            &TEnvelopeDesignScreen::ZoomIn);
    connect(m_designer->surfaceWidget(), &TGSurfaceWidget::zoomOutRequested, this,
            &TEnvelopeDesignScreen::ZoomOut);
    // After an object is drawn the selection tool returns.
    m_surface.DroppedObjectEvent = [this](const QRect &) {
        Pointerbutton->setChecked(true);
        m_surface.setPanelState(TEnvelopePanel::psPointing);
    };

    ChangeSizeButton = new QPushButton(QStringLiteral("Change Size"), this);
    const auto recordButton = [this](const char *text) {
        auto *b = new QToolButton(this);
        b->setText(QString::fromLatin1(text));
        return b;
    };
    RecordFirst = recordButton("|<");
    RecordPrev = recordButton("<");
    RecordNext = recordButton(">");
    RecordLast = recordButton(">|");
    ZoomOutButton = recordButton("-");
    ZoomInButton = recordButton("+");
    ZoomCaption = new QLabel(QStringLiteral("100%"), this);
    DefaultFontbutton = new QPushButton(this);
    SaveButton = new QPushButton(QStringLiteral("Save"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(ChangeSizeButton);
    for (QToolButton *b : {RecordFirst, RecordPrev, RecordNext, RecordLast})
        bottom->addWidget(b);
    bottom->addWidget(ZoomOutButton);
    bottom->addWidget(ZoomCaption);
    bottom->addWidget(ZoomInButton);
    bottom->addWidget(DefaultFontbutton);
    bottom->addStretch();
    for (QPushButton *b : {SaveButton, CancelButton, HelpButton}) {
        b->setAutoDefault(false);
        bottom->addWidget(b);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LabelSetupDescription);
    layout->addLayout(tools);
    layout->addWidget(m_designer, 1);
    layout->addLayout(bottom);

    connect(ChangeSizeButton, &QPushButton::clicked, this, &TEnvelopeDesignScreen::ChangeSizeButtonClick);
    connect(RecordFirst, &QToolButton::clicked, this, [this] { RecordButtonClick(rmFirst); });
    connect(RecordPrev, &QToolButton::clicked, this, [this] { RecordButtonClick(rmPrior); });
    connect(RecordNext, &QToolButton::clicked, this, [this] { RecordButtonClick(rmNext); });
    connect(RecordLast, &QToolButton::clicked, this, [this] { RecordButtonClick(rmLast); });
    connect(ZoomInButton, &QToolButton::clicked, this, &TEnvelopeDesignScreen::ZoomIn);
    connect(ZoomOutButton, &QToolButton::clicked, this, &TEnvelopeDesignScreen::ZoomOut);
    connect(DefaultFontbutton, &QPushButton::clicked, this, &TEnvelopeDesignScreen::DefaultFontbuttonClick);
    connect(SaveButton, &QPushButton::clicked, this, &TEnvelopeDesignScreen::SaveButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    connect(LabelSetupDescription, &QLineEdit::textEdited, this, [this] { LabelChanged(); });

    readDefaultFont();
    showDefaultFont();
    setNumber(m_number);
    SaveButton->hide();
}

TEnvelopeDesignScreen::~TEnvelopeDesignScreen()
{
    // The surface outlives its widget's events no longer once the window goes.
    m_surface.LabelChangedEvent = nullptr;
    m_surface.DroppedObjectEvent = nullptr;
}

void TEnvelopeDesignScreen::setPrinterPage(int left, int top, int right, int bottom, int pageHeight,
                                           int pageWidth)
{
    m_surface.LeftMargin = left;
    m_surface.TopMargin = top;
    m_surface.RightMargin = right;
    m_surface.BottomMargin = bottom;
    m_surface.PageHeight = pageHeight;
    m_surface.PageWidth = pageWidth;
}

void TEnvelopeDesignScreen::setDescriptionText(const QString &text)
{
    LabelSetupDescription->setText(text);
}

void TEnvelopeDesignScreen::setNumber(int code)
{
    m_number = code;
    m_envelope = TEnvelopeSizes::size(code);
    SetEnvelopeSizeFromInches();
}

void TEnvelopeDesignScreen::readDefaultFont()
{
    TGFont font = m_surface.Font();
    font.setName(m_ini.readString(kSection, QStringLiteral("DefaultFontName"), QStringLiteral("Arial")));
    const int points = m_ini.readInteger(kSection, QStringLiteral("DefaultFontSize"), 10);
    font.setSize(points > 0 && points <= TGFont::kMaxDrawPoints ? points : 10);
    int style = 0;
    if (m_ini.readBool(kSection, QStringLiteral("DefaultFontBold"), false))
        style |= fsBold;
    if (m_ini.readBool(kSection, QStringLiteral("DefaultFontItalic"), false))
        style |= fsItalic;
    font.setStyle(style);
    m_surface.setFont(font);
}

void TEnvelopeDesignScreen::showDefaultFont()
{
    const TGFont &font = m_surface.Font();
    QString caption = QStringLiteral("Default Font: ") + font.name() + QStringLiteral(", ") +
                      QString::number(font.size()) + QStringLiteral(" pt ");
    if (font.isBold())
        caption += QStringLiteral(", bold");
    if (font.isItalic())
        caption += QStringLiteral(", italic");
    DefaultFontbutton->setText(caption);
}

void TEnvelopeDesignScreen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    m_activating = true;
    TWindowPlacer::restore(this, kClassName, m_ini, false, parentWidget());
    SetEnvelopeSizeFromInches();
    m_surface.LabelChangedEvent = [this](TGBasePanel *) { LabelChanged(); };
    SaveButton->hide();
    m_activating = false;
}

void TEnvelopeDesignScreen::done(int result)
{
    (void)TWindowPlacer::save(this, kClassName, m_ini); // a placement not saved only costs the next opening
    QDialog::done(result);
}

void TEnvelopeDesignScreen::LabelChanged()
{
    if (!m_activating)
        SaveButton->show();
}

void TEnvelopeDesignScreen::SetEnvelopeSizeFromInches()
{
    const float zoom = m_surface.ScaleFactor();
    const bool activating = m_activating;
    m_activating = true;
    m_designer->setZoom(1.0f);
    const double ppi = m_surface.PixelsPerInch();
    const int height = Rounding::halfEven(m_envelope.height.value * ppi);
    const int width = Rounding::halfEven(m_envelope.width.value * ppi);
    if (height != m_surface.Height() || width != m_surface.Width()) {
        m_surface.setSize(width, height);
        m_surface.Invalidate();
    }
    m_designer->setZoom(zoom);
    m_designer->surfaceWidget()->resize(m_designer->surfaceWidget()->sizeHint());
    m_activating = activating;
}

void TEnvelopeDesignScreen::ChangeSizeButtonClick()
{
    TChooseEnvelopeLayout chooser(m_number, this);
    emit sizeChooserOpened(&chooser);
    if (chooser.exec() != QDialog::Accepted)
        return;
    const int code = chooser.code();
    if (code == m_number)
        return;
    setNumber(code);
    m_surface.KeepObjectsInside();
    m_surface.Invalidate();
    LabelChanged();
}

void TEnvelopeDesignScreen::setZoomPercent(int percent)
{
    const bool activating = m_activating;
    m_activating = true;
    m_surface.clearSelection();
    m_zoomPercent = percent;
    m_designer->setZoom(float(percent) / 100.0f);
    ZoomCaption->setText(QString::number(percent) + QStringLiteral("%"));
    m_activating = activating;
}

// Zoom steps are whole percents, so the ends are reached exactly.
void TEnvelopeDesignScreen::ZoomIn()
{
    if (m_zoomPercent + 10 <= kMaxZoomPercent)
        setZoomPercent(m_zoomPercent + 10);
}

void TEnvelopeDesignScreen::ZoomOut()
{
    if (m_zoomPercent - 10 >= kMinZoomPercent)
        setZoomPercent(m_zoomPercent - 10);
}

void TEnvelopeDesignScreen::RecordButtonClick(int move)
{
    TAddressTable &table = m_session.table();
    switch (move) {
    case rmFirst:
        (void)table.first(); // at either end the record stays: nothing to show
        break;
    case rmPrior:
        (void)table.prior();
        break;
    case rmNext:
        (void)table.next();
        break;
    default:
        (void)table.last();
        break;
    }
    m_surface.RefreshData();
    m_surface.Invalidate();
}

void TEnvelopeDesignScreen::DefaultFontbuttonClick()
{
    QFontDialog dialog(m_surface.Font().qtFont(m_surface.PixelsPerInch()), this);
    if (dialog.exec() == QDialog::Accepted)
        m_surface.setFont(m_surface.Font().chosenFrom(dialog.selectedFont()));
    // The keys are written either way, so they always hold the surface's font.
    const TGFont &font = m_surface.Font();
    (void)m_ini.writeStrings(
        kSection,
        {{QStringLiteral("DefaultFontName"), font.name()},
         {QStringLiteral("DefaultFontSize"), QString::number(font.size())},
         {QStringLiteral("DefaultFontBold"), font.isBold() ? QStringLiteral("1") : QStringLiteral("0")},
         {QStringLiteral("DefaultFontItalic"), font.isItalic() ? QStringLiteral("1") : QStringLiteral("0")}});
    showDefaultFont();
}

void TEnvelopeDesignScreen::SaveButtonClick()
{
    m_surface.RemoveObjectsOutside();
    m_description = LabelSetupDescription->text().left(50);
    accept();
}

void TEnvelopeDesignScreen::keyPressEvent(QKeyEvent *event)
{
    // The description box, and Escape, keep the dialog's own keys.
    if (LabelSetupDescription->hasFocus() || event->key() == Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (m_designer->surfaceWidget()->viewKey(event->key(), event->modifiers()))
        return;
    if (!m_surface.KeyDown(event->key(), event->modifiers()))
        QDialog::keyPressEvent(event);
}
