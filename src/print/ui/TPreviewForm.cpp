#include "TPreviewForm.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TFilePreview.h"
#include "TMessages.h"
#include "TWindowPlacer.h"
#include "TZoom.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3600;

namespace {
const QString kClassName = QStringLiteral("TPreviewForm");

QPushButton *makeButton(const QString &text, const QString &name, const QString &tip, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}
} // namespace

TPreviewForm::TPreviewForm(const QByteArray &recording, const QString &caption, int zoomMode, TIniFile &ini,
                           QWidget *mainWindow)
    : QDialog(mainWindow), m_caption(caption), m_zoomMode(zoomMode), m_ini(ini), m_mainWindow(mainWindow)
{
    setObjectName(kClassName);
    setModal(true);
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(760, 680);
    const TPrintResult opened = m_reader.open(recording);
    if (!opened.ok())
        m_openError = opened.message();

    FirstPageButton = makeButton(QStringLiteral("|<"), QStringLiteral("FirstPageButton"),
                                 QStringLiteral("First page"), this);
    PrevPageButton = makeButton(QStringLiteral("<"), QStringLiteral("PrevPageButton"),
                                QStringLiteral("Previous page"), this);
    NextPageButton =
        makeButton(QStringLiteral(">"), QStringLiteral("NextPageButton"), QStringLiteral("Next page"), this);
    LastPageButton =
        makeButton(QStringLiteral(">|"), QStringLiteral("LastPageButton"), QStringLiteral("Last page"), this);
    ZoomInButton =
        makeButton(QStringLiteral("+"), QStringLiteral("ZoomInButton"), QStringLiteral("Zoom in"), this);
    ZoomOutButton =
        makeButton(QStringLiteral("-"), QStringLiteral("ZoomOutButton"), QStringLiteral("Zoom out"), this);
    PageWidthButton = makeButton(QStringLiteral("Width"), QStringLiteral("PageWidthButton"),
                                 QStringLiteral("Page width"), this);
    WholePageButton = makeButton(QStringLiteral("Page"), QStringLiteral("WholePageButton"),
                                 QStringLiteral("Whole page"), this);
    Zoom100Button = makeButton(QStringLiteral("100%"), QStringLiteral("Zoom100Button"),
                               QStringLiteral("Actual size"), this);
    OkButton = makeButton(QStringLiteral("Ok"), QStringLiteral("OkButton"), QString(), this);
    HelpButton = makeButton(QStringLiteral("Help"), QStringLiteral("HelpButton"), QString(), this);

    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setAlignment(Qt::AlignCenter);
    ScrollBox->setBackgroundRole(QPalette::Dark);
    ScrollBox->setFrameShape(QFrame::NoFrame);
    FilePreview = new TFilePreview(m_reader);
    ScrollBox->setWidget(FilePreview);

    auto *bar = new QHBoxLayout;
    for (QPushButton *b : {FirstPageButton, PrevPageButton, NextPageButton, LastPageButton, ZoomInButton,
                           ZoomOutButton, PageWidthButton, WholePageButton, Zoom100Button})
        bar->addWidget(b);
    bar->addStretch();
    bar->addWidget(OkButton);
    bar->addWidget(HelpButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(bar);
    layout->addWidget(ScrollBox, 1);

    connect(FirstPageButton, &QPushButton::clicked, this, [this] { showPage(1); });
    connect(PrevPageButton, &QPushButton::clicked, this, [this] { showPage(m_page); });
    connect(NextPageButton, &QPushButton::clicked, this, [this] { showPage(m_page + 2); });
    connect(LastPageButton, &QPushButton::clicked, this, [this] { showPage(pageCount()); });
    connect(ZoomInButton, &QPushButton::clicked, this, [this] { setZoomFactor(m_zoom + TZoom::kZoomInc); });
    connect(ZoomOutButton, &QPushButton::clicked, this, [this] { setZoomFactor(m_zoom - TZoom::kZoomInc); });
    connect(PageWidthButton, &QPushButton::clicked, this,
            [this] { setZoomFactor(TZoom::kPageWidthRequest); });
    connect(WholePageButton, &QPushButton::clicked, this,
            [this] { setZoomFactor(TZoom::kWholePageRequest); });
    connect(Zoom100Button, &QPushButton::clicked, this, [this] { setZoomFactor(100.0); });
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(FilePreview, &TFilePreview::pageClicked, this, [this](Qt::MouseButton button) {
        setZoomFactor(button == Qt::LeftButton ? m_zoom + TZoom::kZoomInc : m_zoom - TZoom::kZoomInc);
    });
    auto *up = new QShortcut(QKeySequence(Qt::Key_Up), this);
    connect(up, &QShortcut::activated, this, [this] { scrollBy(-1); });
    auto *down = new QShortcut(QKeySequence(Qt::Key_Down), this);
    connect(down, &QShortcut::activated, this, [this] { scrollBy(1); });
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {FirstPageButton, "Shows the first page."},
             {PrevPageButton, "Shows the previous page."},
             {NextPageButton, "Shows the next page."},
             {LastPageButton, "Shows the last page."},
             {ZoomInButton, "Makes the page larger."},
             {ZoomOutButton, "Makes the page smaller."},
             {PageWidthButton, "Fits the width of the page in the window."},
             {WholePageButton, "Fits the whole page in the window."},
             {Zoom100Button, "Shows the page at its real size."},
             {OkButton, "Closes the preview."},
             {HelpButton, "Opens the help page about the preview."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

double TPreviewForm::screenDpi() const
{
    return TWindowPlacer::dotsPerInch(this);
}

void TPreviewForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TPreviewForm::FormActivate()
{
    TWindowPlacer::restore(this, kClassName, m_ini, false, m_mainWindow);
    if (!m_openError.isEmpty()) {
        TMessages::information(this, m_openError);
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    const bool severalPages = pageCount() >= 2;
    for (QPushButton *b : {FirstPageButton, PrevPageButton, NextPageButton, LastPageButton})
        b->setVisible(severalPages);
    m_page = 0;
    setZoomFactor(TZoom::requestForMode(m_zoomMode));
}

void TPreviewForm::setZoomFactor(double request)
{
    if (pageCount() == 0)
        return;
    const QSize view =
        ScrollBox->maximumViewportSize() - QSize(ScrollBox->verticalScrollBar()->sizeHint().width(), 0);
    m_zoom = TZoom::resolve(request, m_reader.pageSize(m_page), view, screenDpi());
    FilePreview->showPage(m_page, m_zoom, screenDpi());
    updateCaption();
}

void TPreviewForm::showPage(int page)
{
    if (pageCount() == 0)
        return;
    const int index = std::clamp(page, 1, pageCount()) - 1;
    if (index == m_page && FilePreview->pageIndex() == index)
        return;
    m_page = index;
    FilePreview->showPage(m_page, m_zoom, screenDpi());
    updateCaption();
}

void TPreviewForm::updateCaption()
{
    setWindowTitle(QStringLiteral("Preview Page ") + QString::number(m_page + 1) + QStringLiteral(" of ") +
                   QString::number(pageCount()) + QStringLiteral(" ( ") +
                   QString::number(static_cast<int>(std::nearbyint(m_zoom))) + QStringLiteral("% )"));
}

void TPreviewForm::scrollBy(int steps)
{
    QScrollBar *bar = ScrollBox->verticalScrollBar();
    // setValue keeps the value within 0 and the range.
    bar->setValue(bar->value() + steps * bar->singleStep());
}

void TPreviewForm::done(int result)
{
    if (m_activated)
        TWindowPlacer::save(this, kClassName, m_ini);
    QDialog::done(result);
}
