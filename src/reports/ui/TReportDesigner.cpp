#include "TReportDesigner.h"

#include "THelpRequest.h"

#include "TAddressSession.h"
#include "TGDesignerSurface.h"
#include "TGSurfaceWidget.h"
#include "THRuler.h"
#include "TMessages.h"
#include "TReportBands.h"
#include "TReportProperties.h"
#include "TWindowPlacer.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3401;

// A 5-pixel strip below a band: dragging it with the left button sizes the band above.
class TReportSizingStrip : public QWidget
{
public:
    TReportSizingStrip(TReportDesigner *designer, TReportBand band, bool draggable, QWidget *parent)
        : QWidget(parent), m_designer(designer), m_band(band), m_draggable(draggable)
    {
        setFixedHeight(5);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Mid);
        if (draggable)
            setCursor(Qt::SizeVerCursor);
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (!m_draggable || event->button() != Qt::LeftButton)
            return;
        m_pressY = event->globalPosition().toPoint().y();
        m_heightAtPress = m_designer->m_bands.settings.bandHeight(m_band);
        m_dragging = true;
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (m_dragging)
            m_designer->dragBand(m_band, m_heightAtPress, event->globalPosition().toPoint().y() - m_pressY,
                                 false);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (!m_dragging || event->button() != Qt::LeftButton)
            return;
        m_dragging = false;
        m_designer->dragBand(m_band, m_heightAtPress, event->globalPosition().toPoint().y() - m_pressY, true);
    }

private:
    TReportDesigner *m_designer;
    TReportBand m_band;
    bool m_draggable;
    bool m_dragging = false;
    int m_pressY = 0;
    int m_heightAtPress = 0;
};

// The inch ruler above the bands, starting at the left margin.
class TReportRulerWidget : public QWidget
{
public:
    explicit TReportRulerWidget(QWidget *parent) : QWidget(parent) { setFixedHeight(m_ruler.Height); }
    void setPage(double startInch, int width, double pixelsPerInch)
    {
        m_ruler.StartInch = startInch;
        m_ruler.Width = width;
        m_pixelsPerInch = pixelsPerInch;
        setFixedWidth(width);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_ruler.Paint(painter, m_pixelsPerInch);
    }

private:
    THRuler m_ruler;
    double m_pixelsPerInch = 96.0;
};

namespace {

const QString kClassName = QStringLiteral("TReportDesigner");

const char *const kToolHints[] = {"Selection tool", "Text tool",      "Database Field tool", "Line Tool",
                                  "Clip Art Tool",  "Date Time Tool", "Page Number Tool",    "Symbol tool",
                                  "Rectangle tool", "Ellipse tool",   "Round Rectangle tool"};
const char *const kToolTexts[] = {"Sel", "Abc", "[F]",  "Line", "Art",  "Date",
                                  "#",   "Sym", "Rect", "Ell",  "RRect"};

// The panel states of the report band for each tool button, in button order.
const int kToolStates[] = {
    TReportPanel::psPointing,   TReportPanel::psLabel,         TReportPanel::psDataLabel,
    TReportPanel::psLine,       TReportPanel::psImage,         TReportPanel::psDateTime,
    TReportPanel::psPageNumber, TReportPanel::psSymbolLabel,   TReportPanel::psRectangle,
    TReportPanel::psEllipse,    TReportPanel::psRoundRectangle};

QWidget *captionStrip(QCheckBox *check, QWidget *extra, QWidget *parent)
{
    auto *strip = new QWidget(parent);
    strip->setFixedHeight(20);
    strip->setAutoFillBackground(true);
    strip->setBackgroundRole(QPalette::Button);
    auto *l = new QHBoxLayout(strip);
    l->setContentsMargins(4, 0, 4, 0);
    l->addWidget(check);
    if (extra)
        l->addWidget(extra);
    l->addStretch();
    return strip;
}

} // namespace

TReportDesigner::TReportDesigner(TAddressSession &session, TReportBands &bands, const QString &description,
                                 const QString &layout, TIniFile &ini, QWidget *mainWindow)
    : QDialog(mainWindow), m_session(session), m_bands(bands), m_ini(ini), m_mainWindow(mainWindow)
{
    setObjectName(kClassName);
    setWindowTitle(QStringLiteral("Report Designer"));
    setModal(true);

    DescriptionField = new QLineEdit(description, this);
    DescriptionField->setMaxLength(60);
    LayoutLabel = new QLabel(layout, this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Description:"), this));
    top->addWidget(DescriptionField, 1);
    top->addWidget(new QLabel(QStringLiteral("Layout:"), this));
    top->addWidget(LayoutLabel);

    auto *tools = new QHBoxLayout;
    for (int t = 0; t < int(ToolButtons.size()); ++t) {
        auto *b = new QToolButton(this);
        b->setText(QString::fromLatin1(kToolTexts[t]));
        b->setToolTip(QString::fromLatin1(kToolHints[t]));
        b->setCheckable(true);
        b->setAutoExclusive(true);
        ToolButtons[size_t(t)] = b;
        tools->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, t] { ToolButtonClick(t); });
    }
    ToolButtons[0]->setChecked(true);
    const auto toggle = [this](const char *text, const char *hint) {
        auto *b = new QToolButton(this);
        b->setText(QString::fromLatin1(text));
        b->setToolTip(QString::fromLatin1(hint));
        b->setCheckable(true);
        return b;
    };
    ShowGridButton = toggle("Grid", "Show grid");
    SnapToGridButton = toggle("Snap", "Snap to Grid");
    FieldNamesButton = toggle("Names", "Toggle display of field names or field values");
    tools->addSpacing(12);
    for (QToolButton *b : {ShowGridButton, SnapToGridButton, FieldNamesButton})
        tools->addWidget(b);
    tools->addSpacing(12);
    const char *const records[] = {"|<", "<", ">", ">|"};
    const char *const recordHints[] = {"First record", "Prior record", "Next record", "Last record"};
    std::array<QToolButton *, 4> recordButtons{};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QToolButton(this);
        b->setText(QString::fromLatin1(records[i]));
        b->setToolTip(QString::fromLatin1(recordHints[i]));
        recordButtons[size_t(i)] = b;
        tools->addWidget(b);
        connect(b, &QToolButton::clicked, this, [this, i] { RecordButtonClick(i); });
    }
    FirstButton = recordButtons[0];
    PriorButton = recordButtons[1];
    NextButton = recordButtons[2];
    LastButton = recordButtons[3];
    tools->addStretch();

    // The page area: the bands as strips from the top.
    auto *page = new QWidget;
    auto *bandsLayout = new QVBoxLayout(page);
    bandsLayout->setContentsMargins(0, 0, 0, 0);
    bandsLayout->setSpacing(0);
    m_ruler = new TReportRulerWidget(page);
    bandsLayout->addWidget(m_ruler, 0, Qt::AlignLeft);
    HeaderCheck = new QCheckBox(QStringLiteral("Header"), page);
    DetailCheck = new QCheckBox(QStringLiteral("Detail"), page);
    MemoCheck = new QCheckBox(QStringLiteral("Memo"), page);
    FooterCheck = new QCheckBox(QStringLiteral("Footer"), page);
    MemoPropertiesButton = new QToolButton(page);
    MemoPropertiesButton->setText(QStringLiteral("Properties"));
    MemoPropertiesButton->setPopupMode(QToolButton::InstantPopup);
    MemoMenu = new QMenu(MemoPropertiesButton);
    MemoMenu->addAction(QStringLiteral("Font"), this, &TReportDesigner::MemoFontClick);
    const char *const alignments[] = {"Left Aligned", "Centered", "Right Aligned"};
    const int alignmentValues[] = {0, 2, 1};
    for (int i = 0; i < 3; ++i) {
        QAction *a = MemoMenu->addAction(QString::fromLatin1(alignments[i]));
        a->setCheckable(true);
        a->setData(alignmentValues[i]);
        const int value = alignmentValues[i];
        connect(a, &QAction::triggered, this, [this, value] { MemoAlignmentClick(value); });
    }
    MemoPropertiesButton->setMenu(MemoMenu);
    MemoBand = new QLabel(page);
    MemoBand->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    MemoBand->setAutoFillBackground(true);
    MemoBand->setBackgroundRole(QPalette::Base);
    MemoBand->setWordWrap(true);

    const TReportBand bandOrder[] = {TReportBand::Header, TReportBand::Detail, TReportBand::Memo,
                                     TReportBand::Footer};
    QCheckBox *checks[] = {HeaderCheck, DetailCheck, MemoCheck, FooterCheck};
    for (TReportBand band : bandOrder) {
        const size_t b = size_t(band);
        bandsLayout->addWidget(
            captionStrip(checks[b], band == TReportBand::Memo ? MemoPropertiesButton : nullptr, page));
        if (band == TReportBand::Memo) {
            bandsLayout->addWidget(MemoBand, 0, Qt::AlignLeft);
        } else {
            TReportPanel *surface = panel(band);
            auto *view = new TGDesignerSurface(surface, page);
            view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view->setFrameShape(QFrame::NoFrame);
            m_views[b] = view;
            bandsLayout->addWidget(view, 0, Qt::AlignLeft);
            surface->DroppedObjectEvent = [this](const QRect &) { ToolButtonClick(SelectionTool); };
        }
        m_strips[b] = new TReportSizingStrip(this, band, band != TReportBand::Memo, page);
        bandsLayout->addWidget(m_strips[b]);
        connect(checks[b], &QCheckBox::clicked, this, [this, band] { BandCheckClick(int(band)); });
    }
    bandsLayout->addStretch();
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);

    DefaultFontButton = new QPushButton(this);
    ChangeLayoutButton = new QPushButton(QStringLiteral("Change Layout"), this);
    SaveButton = new QPushButton(QStringLiteral("Save"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(DefaultFontButton);
    buttons->addStretch();
    for (QPushButton *b : {ChangeLayoutButton, SaveButton, CancelButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }

    auto *layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(top);
    layoutBox->addLayout(tools);
    layoutBox->addWidget(scroll, 1);
    layoutBox->addLayout(buttons);

    connect(ShowGridButton, &QToolButton::toggled, this, [this](bool on) {
        for (TReportPanel *p : {&m_bands.header, &m_bands.detail, &m_bands.footer}) {
            p->setShowGrid(on);
            p->Invalidate();
        }
    });
    connect(SnapToGridButton, &QToolButton::toggled, this, [this](bool on) {
        for (TReportPanel *p : {&m_bands.header, &m_bands.detail, &m_bands.footer})
            p->setSnapToGrid(on);
    });
    connect(FieldNamesButton, &QToolButton::toggled, this, [this](bool names) {
        m_bands.detail.setDisplayDataValues(!names);
        m_bands.detail.Invalidate();
    });
    connect(DefaultFontButton, &QPushButton::clicked, this, &TReportDesigner::DefaultFontClick);
    connect(ChangeLayoutButton, &QPushButton::clicked, this, &TReportDesigner::ChangeLayoutClick);
    connect(SaveButton, &QPushButton::clicked, this, &TReportDesigner::SaveButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    THelpRequest::wire(this, HelpButton, kHelpTopic);

    // The widgets set the surfaces' beep; the designer's own tells the test and the user.
    for (TReportPanel *p : {&m_bands.header, &m_bands.detail, &m_bands.footer})
        p->BeepEvent = [this] {
            QApplication::beep();
            emit beeped();
        };
    m_bands.detail.setDisplayDataValues(true);
    refreshRecord();
    LayoutBands();
    resize(std::max(640, m_bands.settings.bandWidth() + 60), 600);
}

TReportDesigner::~TReportDesigner()
{
    for (TReportPanel *p : {&m_bands.header, &m_bands.detail, &m_bands.footer}) {
        p->DroppedObjectEvent = nullptr;
        p->setPanelState(TReportPanel::psPointing);
        p->DrawingEnabled = true;
    }
}

void TReportDesigner::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    TWindowPlacer::restore(this, kClassName, m_ini, false, m_mainWindow);
}

void TReportDesigner::done(int result)
{
    (void)TWindowPlacer::save(this, kClassName, m_ini); // a placement not kept is no error to tell
    QDialog::done(result);
}

QString TReportDesigner::description() const
{
    return DescriptionField->text();
}

QString TReportDesigner::layoutText() const
{
    return LayoutLabel->text();
}

TReportPanel *TReportDesigner::panel(TReportBand band) const
{
    switch (band) {
    case TReportBand::Header:
        return &m_bands.header;
    case TReportBand::Detail:
        return &m_bands.detail;
    case TReportBand::Footer:
        return &m_bands.footer;
    case TReportBand::Memo:
        break;
    }
    return nullptr;
}

TGDesignerSurface *TReportDesigner::bandView(TReportBand band) const
{
    return m_views[size_t(band)];
}

QWidget *TReportDesigner::sizingStrip(TReportBand band) const
{
    return m_strips[size_t(band)];
}

bool TReportDesigner::accepts(TReportBand band) const
{
    return m_accepts[size_t(band)];
}

void TReportDesigner::ToolButtonClick(int t)
{
    m_tool = Tool(t);
    ToolButtons[size_t(t)]->setChecked(true);
    const auto only = [this](TReportBand band) {
        for (size_t b = 0; b < 4; ++b)
            m_accepts[b] = b == size_t(band);
    };
    switch (m_tool) {
    case SelectionTool:
        m_accepts = {true, true, true, true};
        break;
    case DataFieldTool:
        only(TReportBand::Detail);
        break;
    case ClipArtTool:
    case DateTimeTool:
    case PageNumberTool:
        only(TReportBand::Header);
        break;
    default:
        break; // the bands accept as the previous tool left them
    }
    for (TReportBand band : {TReportBand::Header, TReportBand::Detail, TReportBand::Footer}) {
        TReportPanel *p = panel(band);
        p->setPanelState(kToolStates[t]);
        p->DrawingEnabled = accepts(band);
        if (m_views[size_t(band)])
            m_views[size_t(band)]->surfaceWidget()->setCursor(p->Pointing() ? Qt::ArrowCursor
                                                                            : Qt::CrossCursor);
    }
}

void TReportDesigner::LayoutBands()
{
    TReportSettings &s = m_bands.settings;
    m_bands.applySettings();
    HeaderCheck->setChecked(s.headerUsed);
    DetailCheck->setChecked(s.detailUsed);
    MemoCheck->setChecked(s.memoUsed);
    FooterCheck->setChecked(s.footerUsed);
    MemoPropertiesButton->setVisible(s.memoUsed);
    for (QAction *a : MemoMenu->actions())
        if (a->isCheckable())
            a->setChecked(a->data().toInt() == s.memoAlignment);
    const int width = std::max(1, s.bandWidth());
    for (TReportBand band : {TReportBand::Header, TReportBand::Detail, TReportBand::Footer}) {
        TGDesignerSurface *view = m_views[size_t(band)];
        const int height = s.isBandUsed(band) ? s.bandHeight(band) : 0;
        view->surfaceWidget()->resize(view->surfaceWidget()->sizeHint());
        view->setFixedSize(width, height);
        view->setVisible(height > 0);
    }
    m_ruler->setPage(s.inches(s.leftMargin), width, s.pixelsPerInch());
    MemoBand->setFixedSize(width, s.memoBandHeight());
    MemoBand->setVisible(s.memoUsed);
    QFont memoFont(s.memoFont.name);
    memoFont.setPointSize(std::max(1, s.memoFont.size));
    memoFont.setBold(s.memoFont.bold);
    memoFont.setItalic(s.memoFont.italic);
    MemoBand->setFont(memoFont);
    MemoBand->setAlignment((s.memoAlignment == 1   ? Qt::AlignRight
                            : s.memoAlignment == 2 ? Qt::AlignHCenter
                                                   : Qt::AlignLeft) |
                           Qt::AlignTop);
    DefaultFontButton->setText(defaultFontCaption());
}

QString TReportDesigner::defaultFontCaption() const
{
    const TReportFontChoice &f = m_bands.settings.defaultFont;
    QString caption = QStringLiteral("Default Font: ") + f.name + QStringLiteral(", ") +
                      QString::number(f.size) + QStringLiteral(" pt ");
    if (f.bold)
        caption += QStringLiteral(", bold");
    if (f.italic)
        caption += QStringLiteral(", italic");
    return caption;
}

void TReportDesigner::dragBand(TReportBand band, int heightAtPress, int dy, bool released)
{
    TReportSettings &s = m_bands.settings;
    if (!s.isBandUsed(band))
        return;
    s.dragBand(band, heightAtPress, dy);
    LayoutBands();
    if (released)
        if (TReportPanel *p = panel(band)) {
            p->KeepObjectsInside();
            p->Invalidate();
        }
}

void TReportDesigner::BandCheckClick(int b)
{
    const TReportBand band = TReportBand(b);
    QCheckBox *checks[] = {HeaderCheck, DetailCheck, MemoCheck, FooterCheck};
    m_bands.settings.switchBand(band, checks[b]->isChecked());
    LayoutBands();
}

void TReportDesigner::SaveButtonClick()
{
    TReportSettings &s = m_bands.settings;
    for (TReportBand band : {TReportBand::Header, TReportBand::Detail, TReportBand::Footer})
        if (s.bandHeight(band) == 0)
            s.switchBand(band, false);
    if (!s.headerUsed && !s.detailUsed && !s.memoUsed && !s.footerUsed) {
        TMessages::information(this,
                               QStringLiteral("No report bands are selected. Please select at least one"));
        LayoutBands();
        return;
    }
    m_bands.applySettings();
    for (TReportBand band : {TReportBand::Header, TReportBand::Detail, TReportBand::Footer}) {
        TReportPanel *p = panel(band);
        if (s.isBandUsed(band))
            p->RemoveObjectsOutside();
        else
            p->ClearObjects();
    }
    accept();
}

void TReportDesigner::ChangeLayoutClick()
{
    TReportProperties dialog(m_bands.settings, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_bands.settings = dialog.settings();
    if (!dialog.pageDescription().isEmpty())
        LayoutLabel->setText(dialog.pageDescription());
    LayoutBands();
}

void TReportDesigner::DefaultFontClick()
{
    TReportFontChoice &f = m_bands.settings.defaultFont;
    QFont start(f.name);
    start.setPointSize(std::max(1, f.size));
    start.setBold(f.bold);
    start.setItalic(f.italic);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, start, this);
    if (ok)
        f = {chosen.family(), chosen.pointSize() > 0 ? chosen.pointSize() : f.size, chosen.bold(),
             chosen.italic()};
    LayoutBands();
}

void TReportDesigner::MemoFontClick()
{
    TReportFontChoice &f = m_bands.settings.memoFont;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, MemoBand->font(), this);
    if (ok)
        f = {chosen.family(), chosen.pointSize() > 0 ? chosen.pointSize() : f.size, chosen.bold(),
             chosen.italic()};
    LayoutBands();
}

void TReportDesigner::MemoAlignmentClick(int alignment)
{
    m_bands.settings.memoAlignment = alignment;
    LayoutBands();
}

void TReportDesigner::RecordButtonClick(int which)
{
    TAddressTable &table = m_session.table();
    // A move past either end stays where it is; nothing to report.
    switch (which) {
    case 0:
        (void)table.first();
        break;
    case 1:
        (void)table.prior();
        break;
    case 2:
        (void)table.next();
        break;
    default:
        (void)table.last();
        break;
    }
    refreshRecord();
}

void TReportDesigner::refreshRecord()
{
    m_bands.detail.RefreshData();
    m_bands.detail.Invalidate();
    MemoBand->setText(m_session.table().hasRecord() ? m_session.table().memo() : QString());
}
