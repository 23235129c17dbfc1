#include "TRTFPreviewForm.h"

#include "THelpRequest.h"

#include "TAddressTable.h"
#include "TIniFile.h"
#include "TLetterDocument.h"
#include "TLetterMerge.h"
#include "TLetterPageLayout.h"
#include "TLetterPrint.h"
#include "TMergeTableRecord.h"
#include "TMessages.h"
#include "TWindowPlacer.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTextDocument>
#include <QVBoxLayout>

#include <cmath>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3306;

namespace {

const QString kClassName = QStringLiteral("TRTFPreviewForm");

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

enum RecordMove { kFirst, kPrior, kNext, kLast };

} // namespace

TRTFPreviewForm::TRTFPreviewForm(const QTextDocument &templateDocument, TAddressTable *table,
                                 const TMergeDates &dates, TIniFile *ini, QWidget *parent)
    : QDialog(parent), m_template(TLetterDocument::copy(templateDocument)), m_table(table), m_dates(dates),
      m_ini(ini)
{
    setObjectName(kClassName);
    setWindowTitle(QStringLiteral("Preview Letters"));
    setModal(true);
    PageScroll = new QScrollArea(this);
    PageScroll->setObjectName(QStringLiteral("PageScroll"));
    PageScroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PageScroll->setBackgroundRole(QPalette::Dark);
    Page = new QLabel;
    Page->setObjectName(QStringLiteral("Page"));
    Page->setCursor(Qt::CrossCursor); // the magnifier: a click zooms
    Page->installEventFilter(this);
    PageScroll->setWidget(Page);
    FirstRecord = button(QStringLiteral("|<"), "FirstRecord", this);
    PriorRecord = button(QStringLiteral("<"), "PriorRecord", this);
    NextRecord = button(QStringLiteral(">"), "NextRecord", this);
    LastRecord = button(QStringLiteral(">|"), "LastRecord", this);
    PriorPage = button(QStringLiteral("Previous Page"), "PriorPage", this);
    NextPage = button(QStringLiteral("Next Page"), "NextPage", this);
    ZoomIn = button(QStringLiteral("Zoom In"), "ZoomIn", this);
    ZoomOut = button(QStringLiteral("Zoom Out"), "ZoomOut", this);
    FitWidth = button(QStringLiteral("Page Width"), "FitWidth", this);
    FitPage = button(QStringLiteral("Whole Page"), "FitPage", this);
    OkButton = button(QStringLiteral("Ok"), "OkButton", this);
    HelpButton = button(QStringLiteral("Help"), "HelpButton", this);
    FirstRecord->setToolTip(QStringLiteral("First record"));
    PriorRecord->setToolTip(QStringLiteral("Previous record"));
    NextRecord->setToolTip(QStringLiteral("Next record"));
    LastRecord->setToolTip(QStringLiteral("Last record"));

    auto *bar = new QHBoxLayout;
    for (QPushButton *b : {FirstRecord, PriorRecord, NextRecord, LastRecord, PriorPage, NextPage, ZoomIn,
                           ZoomOut, FitWidth, FitPage})
        bar->addWidget(b);
    bar->addStretch();
    bar->addWidget(OkButton);
    bar->addWidget(HelpButton);
    auto *main = new QVBoxLayout(this);
    main->addLayout(bar);
    main->addWidget(PageScroll, 1);
    resize(860, 900);

    m_dpi = std::max(logicalDpiX(), 1);
    m_state.fit(width(), pagePixels().width());

    connect(FirstRecord, &QPushButton::clicked, this, [this] { moveRecord(kFirst); });
    connect(PriorRecord, &QPushButton::clicked, this, [this] { moveRecord(kPrior); });
    connect(NextRecord, &QPushButton::clicked, this, [this] { moveRecord(kNext); });
    connect(LastRecord, &QPushButton::clicked, this, [this] { moveRecord(kLast); });
    connect(PriorPage, &QPushButton::clicked, this, &TRTFPreviewForm::PriorPageClick);
    connect(NextPage, &QPushButton::clicked, this, &TRTFPreviewForm::NextPageClick);
    connect(ZoomIn, &QPushButton::clicked, this, &TRTFPreviewForm::ZoomInClick);
    connect(ZoomOut, &QPushButton::clicked, this, &TRTFPreviewForm::ZoomOutClick);
    connect(FitWidth, &QPushButton::clicked, this, &TRTFPreviewForm::FitWidthClick);
    connect(FitPage, &QPushButton::clicked, this, &TRTFPreviewForm::FitPageClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

TRTFPreviewForm::~TRTFPreviewForm() = default;

QSize TRTFPreviewForm::pagePixels() const
{
    const TLetterPageLayout page = TLetterPageLayout::of(*m_template);
    return {page.paperWidth * m_dpi / TLetterPageLayout::kTwipsPerInch,
            page.paperHeight * m_dpi / TLetterPageLayout::kTwipsPerInch};
}

void TRTFPreviewForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    refill();
    (void)draw(); // a failure has shown its message; the window stays open
    if (m_ini)
        TWindowPlacer::restore(this, kClassName, *m_ini, false);
}

void TRTFPreviewForm::closeEvent(QCloseEvent *event)
{
    if (m_ini)
        (void)TWindowPlacer::save(this, kClassName, *m_ini); // a placement not kept is no error to tell
    QDialog::closeEvent(event);
}

void TRTFPreviewForm::refill()
{
    m_working = TLetterDocument::copy(*m_template);
    if (m_table && m_table->hasRecord())
        TLetterMerge::ReplaceTokens(*m_working, TMergeTableRecord(*m_table), m_dates);
}

bool TRTFPreviewForm::draw()
{
    if (!m_working)
        refill();
    const QSize page = pagePixels();
    const QSize panel(page.width() * m_state.zoom / 100, page.height() * m_state.zoom / 100);
    QImage image(panel.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    if (image.isNull()) {
        TMessages::information(this, QStringLiteral("There was an error drawing the preview"));
        return false;
    }
    const int dotsPerMetre = static_cast<int>(std::lround(m_dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    // The letter is laid out once at the screen's resolution and drawn scaled to the zoom,
    // so the lines break where they break on paper.
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    const QRect rect = TLetterPageLayout::of(*m_template).DeterminePrinterBounds(m_dpi, m_dpi, 0, 0);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(m_state.zoom / 100.0, m_state.zoom / 100.0);
    m_state.nextIndex = TLetterPrint::drawPage(*m_working, &device, painter, rect, m_state.pageIndex);
    painter.end();
    m_image = image;
    Page->setPixmap(QPixmap::fromImage(m_image));
    Page->resize(m_image.size());
    return true;
}

void TRTFPreviewForm::ZoomInClick()
{
    if (m_state.zoomIn())
        (void)draw();
}

void TRTFPreviewForm::ZoomOutClick()
{
    if (m_state.zoomOut())
        (void)draw();
}

void TRTFPreviewForm::FitWidthClick()
{
    m_state.fit(width(), pagePixels().width());
    (void)draw();
}

void TRTFPreviewForm::FitPageClick()
{
    m_state.fit(height(), pagePixels().height());
    (void)draw();
}

void TRTFPreviewForm::NextPageClick()
{
    if (!m_state.nextPage())
        return;
    setWindowTitle(m_state.caption());
    (void)draw();
}

void TRTFPreviewForm::PriorPageClick()
{
    if (!m_state.previousPage())
        return;
    setWindowTitle(m_state.caption());
    (void)draw();
}

void TRTFPreviewForm::moveRecord(int how)
{
    if (m_table) {
        const TResult moved = how == kFirst   ? m_table->first()
                              : how == kPrior ? m_table->prior()
                              : how == kNext  ? m_table->next()
                                              : m_table->last();
        if (!moved && !moved.isNotFound())
            TMessages::failure(this, moved);
    }
    m_state.restart();
    setWindowTitle(m_state.caption());
    refill();
    (void)draw();
}

bool TRTFPreviewForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Page && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            ZoomInClick();
        else
            ZoomOutClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
