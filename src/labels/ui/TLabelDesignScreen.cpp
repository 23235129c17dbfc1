#include "TLabelDesignScreen.h"

#include "THelpRequest.h"

#include "TAddressDataSource.h"
#include "TAddressTable.h"
#include "TChooseLabelLayout.h"
#include "TGDesignerSurface.h"
#include "TGLabelObjectFiler.h"
#include "TGLabelPanel.h"
#include "TGPostNetBarCode.h"
#include "TGSurfaceWidget.h"
#include "TGlabelsTemplates.h"
#include "TIniFile.h"
#include "TLabelDefaultFont.h"
#include "TLabelEdit.h"
#include "TLabelSheetArt.h"
#include "TLabelTemplates.h"
#include "TLabelZoom.h"
#include "TMessages.h"
#include "TPSpeedButton.h"
#include "TSelectLabel.h"
#include "TWindowPlacer.h"
#include "Units.h"

#include <QButtonGroup>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3104;

namespace {

const QString kClassName = QStringLiteral("TLabelDesignScreen");

TLabelShapeType shapeOf(const QString &code, TLabelShapeType current)
{
    const QString c = code.trimmed().toUpper();
    if (c == QLatin1String("RR"))
        return lsRoundRect;
    if (c == QLatin1String("SR"))
        return lsRectangle;
    if (c == QLatin1String("EL"))
        return lsEllipse;
    return current;
}

QString newLabelNotice()
{
    return QStringLiteral(
        "A new label has been created using the Avery 5160\rformat. To change to another label "
        "format, click on\rthe Change Layout button.\r\rA Database Mailing Address object has "
        "already been \radded to the label.\r\rFor additional assistance, click the Help button");
}

} // namespace

TLabelDesignScreen::TLabelDesignScreen(const TLabelSetup &setup, bool isNew, TIniFile &ini,
                                       TAddressTable *table, const QString &programFolder,
                                       QWidget *mainWindow)
    : QDialog(mainWindow), m_ini(ini), m_table(table), m_programFolder(programFolder),
      m_glabelsFolder(TGlabelsTemplates::defaultFolder()), m_mainWindow(mainWindow), m_setup(setup),
      m_isNew(isNew)
{
    setWindowTitle(QStringLiteral("Label Design Screen"));
    setModal(true);
    setObjectName(kClassName);
    m_surface = std::make_unique<TGLabelPanel>(&m_owner, TWindowPlacer::dotsPerInch(mainWindow));
    m_surface->setProgramFolder(programFolder);
    if (m_table) {
        m_data = std::make_unique<TAddressDataSource>(*m_table);
        m_surface->setDataSet(m_data.get());
    }
    m_surface->setFont(TLabelDefaultFont::read(m_ini).font());

    auto *toolbar = new QWidget(this);
    buildTools(toolbar);

    LabelSetupDescription = new QLineEdit(this);
    LabelSetupDescription->setMaxLength(60);
    LabelSetupDescription->setText(isNew ? QStringLiteral("<New Label>") : setup.Description);
    TemplateType = new QLabel(this);
    TemplateType->setObjectName(QStringLiteral("TemplateType"));
    DefaultFontbutton = new QPushButton(TLabelDefaultFont::read(m_ini).caption(), this);
    ChangeLayoutButton = new QPushButton(QStringLiteral("Change Layout"), this);
    const auto small = [this](const QString &text) {
        auto *b = new QToolButton(this);
        b->setText(text);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    RecordFirst = small(QStringLiteral("|<"));
    RecordPrev = small(QStringLiteral("<"));
    RecordNext = small(QStringLiteral(">"));
    RecordLast = small(QStringLiteral(">|"));
    ZoomOutButton = small(QStringLiteral("-"));
    ZoomInButton = small(QStringLiteral("+"));
    ZoomCaption = new QLabel(QStringLiteral("100%"), this);
    SaveButton = new QPushButton(QStringLiteral("Save"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    SaveButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);

    m_design = new TGDesignerSurface(m_surface.get(), this);
    // The label designer zooms on its own ladder of whole percents.
    disconnect(m_design->surfaceWidget(), nullptr, m_design, nullptr);
    connect(m_design->surfaceWidget(), &TGSurfaceWidget::zoomInRequested, this, &TLabelDesignScreen::ZoomIn);
    connect(m_design->surfaceWidget(), &TGSurfaceWidget::zoomOutRequested, this,
            &TLabelDesignScreen::ZoomOut);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Description"), this));
    top->addWidget(LabelSetupDescription, 1);
    top->addWidget(TemplateType, 1);
    top->addWidget(ChangeLayoutButton);
    auto *bottom = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(RecordFirst), static_cast<QWidget *>(RecordPrev),
                       static_cast<QWidget *>(RecordNext), static_cast<QWidget *>(RecordLast)})
        bottom->addWidget(w);
    bottom->addSpacing(12);
    bottom->addWidget(ZoomOutButton);
    bottom->addWidget(ZoomCaption);
    bottom->addWidget(ZoomInButton);
    bottom->addSpacing(12);
    bottom->addWidget(DefaultFontbutton);
    bottom->addStretch();
    bottom->addWidget(SaveButton);
    bottom->addWidget(CancelButton);
    bottom->addWidget(HelpButton);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(toolbar);
    outer->addLayout(top);
    outer->addWidget(m_design, 1);
    outer->addLayout(bottom);
    resize(720, 460);

    connect(LabelSetupDescription, &QLineEdit::textEdited, this, &TLabelDesignScreen::showSave);
    connect(ChangeLayoutButton, &QPushButton::clicked, this, &TLabelDesignScreen::ChangeLayoutButtonClick);
    connect(DefaultFontbutton, &QPushButton::clicked, this, &TLabelDesignScreen::DefaultFontbuttonClick);
    connect(RecordFirst, &QToolButton::clicked, this, [this] { moveRecord(0); });
    connect(RecordPrev, &QToolButton::clicked, this, [this] { moveRecord(1); });
    connect(RecordNext, &QToolButton::clicked, this, [this] { moveRecord(2); });
    connect(RecordLast, &QToolButton::clicked, this, [this] { moveRecord(3); });
    connect(ZoomInButton, &QToolButton::clicked, this, &TLabelDesignScreen::ZoomIn);
    connect(ZoomOutButton, &QToolButton::clicked, this, &TLabelDesignScreen::ZoomOut);
    connect(SaveButton, &QPushButton::clicked, this, &TLabelDesignScreen::SaveButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    m_surface->DroppedObjectEvent = [this](const QRect &) {
        m_surface->setPanelState(TGLabelPanel::psPointing);
        Pointerbutton->setChecked(true);
    };
}

TLabelDesignScreen::~TLabelDesignScreen()
{
    // The widget refers to the surface: it goes first.
    delete m_design;
    m_design = nullptr;
    m_surface->DroppedObjectEvent = nullptr;
    m_surface->LabelChangedEvent = nullptr;
}

TResult TLabelDesignScreen::loadLayout(const QString &path)
{
    TGLabelObjectFiler filer;
    // The objects keep the names the file holds, so saving an unchanged layout writes the
    // same bytes again.
    filer.setKeepStoredNames(true);
    const TResult loaded = filer.LoadSurface(&m_owner, *m_surface, path);
    m_surface->undoStack().clear();
    m_surface->WireAllObjects();
    m_surface->RefreshData();
    return loaded;
}

void TLabelDesignScreen::buildTools(QWidget *bar)
{
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_tools = new QButtonGroup(this);
    m_tools->setExclusive(true);
    struct Tool {
        TPSpeedButton **button;
        const char *name;
        const char *text;
        const char *hint;
        int state;
    };
    const Tool tools[] = {
        {&Pointerbutton, "Pointerbutton", "Sel", "Selection tool", TGLabelPanel::psPointing},
        {&DrawLabelButton, "DrawLabelButton", "Txt", "Text tool", TGLabelPanel::psLabel},
        {&DrawMLTextButton, "DrawMLTextButton", "ML", "Multi-line text tool", TGLabelPanel::psMultiLineLabel},
        {&DrawCounterbutton, "DrawCounterbutton", "123", "Counter tool", TGLabelPanel::psCounterLabel},
        {&DrawSymbolButton, "DrawSymbolButton", "Sym", "Symbol tool", TGLabelPanel::psSymbolLabel},
        {&DrawRectanglebutton, "DrawRectanglebutton", "Rect", "Rectangle tool", TGLabelPanel::psRectangle},
        {&DrawEllipseButton, "DrawEllipseButton", "Ell", "Ellipse tool", TGLabelPanel::psEllipse},
        {&DrawRoundrectbutton, "DrawRoundrectbutton", "RRect", "Round Rectangle tool",
         TGLabelPanel::psRoundRectangle},
        {&DrawLinebutton, "DrawLinebutton", "Line", "Line Tool", TGLabelPanel::psLine},
        {&DrawImageButton, "DrawImageButton", "Art", "Clip Art Tool", TGLabelPanel::psImage},
        {&DrawPostNetBarCodeButton, "DrawPostNetBarCodeButton", "Bar", "Postnet Barcode tool",
         TGLabelPanel::psPostNetBarCode},
        {&DrawFieldButton, "DrawFieldButton", "Fld", "Database Field tool", TGLabelPanel::psDataLabel},
        {&DrawMemoFieldButton, "DrawMemoFieldButton", "Memo", "Database Memo Field tool",
         TGLabelPanel::psMultiLineDataLabel},
        {&DrawAddressButton, "DrawAddressButton", "Addr", "Database Mailing Address tool",
         TGLabelPanel::psAddressLabel},
    };
    for (const Tool &t : tools) {
        auto *b = new TPSpeedButton(bar);
        b->setObjectName(QLatin1String(t.name));
        b->setText(QLatin1String(t.text));
        b->setToolTip(QLatin1String(t.hint));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        *t.button = b;
        m_tools->addButton(b, t.state);
        row->addWidget(b);
    }
    Pointerbutton->setChecked(true);
    connect(m_tools, &QButtonGroup::idClicked, this, &TLabelDesignScreen::toolChosen);
    row->addSpacing(12);
    const auto toggle = [bar, row](const char *name, const char *text, const char *hint) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QLatin1String(name));
        b->setText(QLatin1String(text));
        b->setToolTip(QLatin1String(hint));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        row->addWidget(b);
        return b;
    };
    ShowGrid = toggle("ShowGrid", "Grid", "Show grid");
    SnapToGrid = toggle("SnapToGrid", "Snap", "Snap to Grid");
    ShowArt = toggle("ShowArt", "Art", "Show art");
    ShowFieldNamesButton =
        toggle("ShowFieldNamesButton", "[F]", "Toggle display of field names or field values");
    row->addStretch();
    connect(ShowGrid, &QToolButton::toggled, this, [this](bool on) {
        m_surface->setShowGrid(on);
        m_surface->Invalidate();
    });
    connect(SnapToGrid, &QToolButton::toggled, this, [this](bool on) { m_surface->setSnapToGrid(on); });
    connect(ShowArt, &QToolButton::toggled, this, &TLabelDesignScreen::DoDrawArt);
    connect(ShowFieldNamesButton, &QToolButton::toggled, this,
            [this](bool down) { m_surface->setDisplayDataValues(!down); });
}

void TLabelDesignScreen::toolChosen(int panelState)
{
    if (panelState == TGLabelPanel::psPostNetBarCode && m_setup.LblWidth < kPostNetMinWidthInches) {
        TMessages::information(this,
                               QStringLiteral("This label is not wide enough for a \rpostnet barcode. At "
                                              "least 2.85 inches are needed"));
        Pointerbutton->setChecked(true);
        m_surface->setPanelState(TGLabelPanel::psPointing);
        return;
    }
    m_surface->setPanelState(panelState);
}

void TLabelDesignScreen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    m_activating = true;
    TWindowPlacer::restore(this, kClassName, m_ini, false, m_mainWindow);
    SetLabelSizeFromInches();
    showTemplateType();
    ShowArt->setEnabled(!m_setup.Art.isEmpty());
    {
        const QSignalBlocker block(ShowArt);
        ShowArt->setChecked(ShowArt->isEnabled());
    }
    DoDrawArt();
    m_surface->LabelChangedEvent = [this](TGBasePanel *) {
        if (!m_activating)
            showSave();
    };
    SaveButton->hide();
    m_surface->RefreshData();
    if (m_isNew) {
        m_surface->setPanelState(TGLabelPanel::psAddressLabel);
        // From (5, 5) to 10 pixels short of the right and bottom edges.
        m_surface->CreateObject(QRect(5, 5, m_surface->Width() - 15, m_surface->Height() - 15));
        m_surface->setPanelState(TGLabelPanel::psPointing);
        Pointerbutton->setChecked(true);
        m_activating = false;
        TMessages::information(this, newLabelNotice());
    }
    m_activating = false;
    m_design->surfaceWidget()->setFocus();
}

void TLabelDesignScreen::SetLabelSizeFromInches()
{
    const bool was = m_activating;
    m_activating = true;
    const float zoom = m_surface->ScaleFactor();
    if (zoom != 1.0f)
        m_design->setZoom(1.0f);
    const double ppi = m_surface->PixelsPerInch();
    const int height = Rounding::halfEven(m_setup.LblHeight * ppi);
    const int width = Rounding::halfEven(m_setup.LblWidth * ppi);
    if (width != m_surface->Width() || height != m_surface->Height() || m_setup.LblShape != m_lastShape) {
        m_surface->setShape(shapeOf(m_setup.LblShape, m_surface->Shape()));
        m_lastShape = m_setup.LblShape;
        m_surface->setSize(width, height);
        m_design->surfaceWidget()->resize(m_design->surfaceWidget()->sizeHint());
        m_surface->Invalidate();
    }
    if (zoom != 1.0f)
        m_design->setZoom(zoom);
    m_activating = was;
}

void TLabelDesignScreen::DoDrawArt()
{
    if (ShowArt->isChecked() && !m_setup.Art.isEmpty()) {
        const float zoom = m_surface->ScaleFactor() > 0 ? m_surface->ScaleFactor() : 1.0f;
        const QSize designSize(Rounding::halfEven(m_surface->Width() / zoom),
                               Rounding::halfEven(m_surface->Height() / zoom));
        m_surface->Picture() = TLabelSheetArt::background(m_setup, designSize);
    } else {
        m_surface->Picture().clear();
    }
    m_surface->Invalidate();
}

void TLabelDesignScreen::showTemplateType()
{
    TemplateType->setText(m_setup.isUserDefined() ? QStringLiteral("User Defined Label Layout")
                                                  : m_setup.TplDescrip);
}

void TLabelDesignScreen::showSave()
{
    SaveButton->show();
}

void TLabelDesignScreen::ChangeLayoutButtonClick()
{
    TChooseLabelLayout chooser(this);
    const int choice = chooser.choose();
    const bool artWasDown = ShowArt->isChecked();
    if (choice == TChooseLabelLayout::kUserDefined) {
        TLabelEdit edit(m_setup, this);
        if (edit.exec() != QDialog::Accepted)
            return;
        m_setup = edit.values(m_setup);
        m_setup.makeUserDefined();
        SetLabelSizeFromInches();
        {
            const QSignalBlocker block(ShowArt);
            ShowArt->setChecked(false);
        }
        ShowArt->setEnabled(false);
        DoDrawArt();
    } else if (choice == TChooseLabelLayout::kTemplates) {
        TLabelTemplates catalogue;
        const TResult opened = catalogue.open(m_programFolder);
        if (!opened) {
            TMessages::information(this, opened.message);
            return;
        }
        if (!m_glabels) {
            m_glabels = std::make_unique<TGlabelsTemplates>();
            m_glabels->read(m_glabelsFolder);
        }
        TSelectLabel select(catalogue, m_glabels.get(), m_setup, this);
        if (select.exec() != QDialog::Accepted)
            return;
        const TLabelSetup row = select.chosen();
        if (row.isUserDefined()) {
            // A sheet of the gLabels library: its geometry as a user-defined sheet.
            m_setup.takeTemplate(row);
            m_setup.makeUserDefined();
            m_setup.TplDescrip = row.TplDescrip;
        } else {
            m_setup.takeTemplate(row);
        }
        SetLabelSizeFromInches();
        ShowArt->setEnabled(!m_setup.Art.isEmpty());
        {
            const QSignalBlocker block(ShowArt);
            ShowArt->setChecked(ShowArt->isEnabled());
        }
        DoDrawArt();
    } else {
        return;
    }
    afterLayoutChange(artWasDown);
    showSave();
}

void TLabelDesignScreen::afterLayoutChange(bool artWasDown)
{
    m_surface->KeepObjectsInside();
    ShowArt->setEnabled(!m_setup.Art.isEmpty());
    if (artWasDown && ShowArt->isEnabled()) {
        const QSignalBlocker block(ShowArt);
        ShowArt->setChecked(true);
    }
    DoDrawArt();
    showTemplateType();
    removeNarrowPostNets();
    m_surface->Invalidate();
}

void TLabelDesignScreen::removeNarrowPostNets()
{
    if (m_setup.LblWidth >= kPostNetMinWidthInches)
        return;
    std::vector<TGGraphicControl *> bars;
    for (TGGraphicControl *o : m_surface->objects())
        if (dynamic_cast<TGPostNetBarCode *>(o))
            bars.push_back(o);
    if (bars.empty())
        return;
    TMessages::information(this,
                           QStringLiteral("Warning: This label is not wide enough for a \rpostnet barcode. "
                                          "At least 2.85 inches are needed"));
    // Every barcode that no longer fits goes, not only the first.
    m_surface->beginEdit();
    for (TGGraphicControl *o : bars) {
        m_surface->removeFromSelection(o);
        m_surface->deleteObject(o);
    }
    m_surface->endEdit(QStringLiteral("Delete"));
}

void TLabelDesignScreen::moveRecord(int how)
{
    if (!m_table)
        return;
    TResult moved;
    switch (how) {
    case 0:
        moved = m_table->first();
        break;
    case 1:
        moved = m_table->prior();
        break;
    case 2:
        moved = m_table->next();
        break;
    default:
        moved = m_table->last();
        break;
    }
    if (!moved && !moved.isNotFound()) {
        TMessages::failure(this, moved);
        return;
    }
    m_surface->RefreshData();
    if (how == 0)
        m_surface->ResetCounters();
    else
        m_surface->AdvanceCounters();
    m_surface->Invalidate();
}

void TLabelDesignScreen::setZoomPercent(int percent)
{
    m_surface->clearSelection();
    const bool was = m_activating;
    m_activating = true;
    m_design->setZoom(TLabelZoom::factorOf(percent));
    m_activating = was;
    ZoomCaption->setText(QString::number(TLabelZoom::percentOf(m_surface->ScaleFactor())) + QLatin1Char('%'));
    DoDrawArt();
}

void TLabelDesignScreen::ZoomIn()
{
    setZoomPercent(TLabelZoom::zoomIn(TLabelZoom::percentOf(m_surface->ScaleFactor())));
}

void TLabelDesignScreen::ZoomOut()
{
    setZoomPercent(TLabelZoom::zoomOut(TLabelZoom::percentOf(m_surface->ScaleFactor())));
}

void TLabelDesignScreen::DefaultFontbuttonClick()
{
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, m_surface->Font().qtFont(m_surface->PixelsPerInch()), this);
    if (!ok)
        return;
    m_surface->setFont(m_surface->Font().chosenFrom(chosen));
    const TLabelDefaultFont font = TLabelDefaultFont::fromFont(m_surface->Font());
    if (!font.write(m_ini))
        TMessages::information(this,
                               QStringLiteral("The default font could not be written to ") + m_ini.path());
    DefaultFontbutton->setText(font.caption());
}

void TLabelDesignScreen::keyPressEvent(QKeyEvent *event)
{
    // The description box, and Escape, keep the dialog's own keys.
    if (LabelSetupDescription->hasFocus() || event->key() == Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (m_design->surfaceWidget()->viewKey(event->key(), event->modifiers()))
        return;
    if (!m_surface->KeyDown(event->key(), event->modifiers()))
        QDialog::keyPressEvent(event);
}

void TLabelDesignScreen::SaveButtonClick()
{
    m_surface->RemoveObjectsOutside();
    m_setup.Description = LabelSetupDescription->text().left(TLabelSetup::kDescriptionLength);
    if (m_saver) {
        const TResult saved = m_saver(*this);
        if (!saved) {
            TMessages::failure(this, saved);
            return;
        }
    }
    accept();
}

void TLabelDesignScreen::done(int result)
{
    if (m_shown)
        TWindowPlacer::save(this, kClassName, m_ini);
    QDialog::done(result);
}
