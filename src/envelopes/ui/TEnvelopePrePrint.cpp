#include "TEnvelopePrePrint.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TBaseReport.h"
#include "TEnvelopeFeed.h"
#include "TEnvelopeFeedPicture.h"
#include "TEnvelopePlacement.h"
#include "TEnvelopeSizes.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3204;

TEnvelopePrePrint::TEnvelopePrePrint(TBaseReport &job, const TEnvelopeFeedValues &feed, int code,
                                     QWidget *parent)
    : QDialog(parent), m_job(job), m_feed(feed), m_code(code)
{
    setWindowTitle(QStringLiteral("Envelope Print"));
    setModal(true);
    auto *setup = new QGroupBox(QStringLiteral("Printer Setup"), this);
    PrinterName = new QLabel(setup);
    BinName = new QLabel(setup);
    PaperName = new QLabel(setup);
    OrientationName = new QLabel(setup);
    auto *setupLayout = new QVBoxLayout(setup);
    for (QLabel *l : {PrinterName, BinName, PaperName, OrientationName})
        setupLayout->addWidget(l);
    PrinterSetupButton = new QPushButton(QStringLiteral("Printer Setup"), setup);
    PrinterSetupButton->setAutoDefault(false);
    setupLayout->addWidget(PrinterSetupButton);

    auto *feedBox = new QGroupBox(QStringLiteral("Paper Feed"), this);
    FeedPicture = new QLabel(feedBox);
    FeedPicture->setFixedSize(TEnvelopeFeedPicture::size(TEnvelopeFeedPicture::Page));
    FeedDescription = new QLabel(feedBox);
    PaperFeedButton = new QPushButton(QStringLiteral("Paper Feed Method"), feedBox);
    PaperFeedButton->setAutoDefault(false);
    auto *feedLayout = new QHBoxLayout(feedBox);
    feedLayout->addWidget(FeedPicture);
    auto *feedText = new QVBoxLayout;
    feedText->addWidget(FeedDescription);
    feedText->addWidget(PaperFeedButton);
    feedLayout->addLayout(feedText);

    PageSizeWarning = new QLabel(
        QStringLiteral("WARNING: Printer PAPER SIZE and ORIENTATION do not match selected Envelope.\r\n"
                       "Use Printer Setup to correct this."),
        this);
    PageSizeWarning->setStyleSheet(QStringLiteral("color: red"));
    PageSizeWarning->setWordWrap(true);

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {OkButton, CancelButton, HelpButton})
        buttons->addWidget(b);
    auto *top = new QHBoxLayout;
    top->addWidget(setup);
    top->addWidget(feedBox);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(PageSizeWarning);
    layout->addLayout(buttons);

    connect(PrinterSetupButton, &QPushButton::clicked, this, &TEnvelopePrePrint::PrinterSetupButtonClick);
    connect(PaperFeedButton, &QPushButton::clicked, this, &TEnvelopePrePrint::PaperFeedButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {PrinterSetupButton, "Chooses the printer, its paper source and paper size."},
             {PaperFeedButton, "Changes how the envelopes go into the printer."},
             {OkButton, "Prints the envelopes fed as the picture shows."},
             {CancelButton, "Stops the run without printing."},
             {HelpButton, "Opens the help page about printing envelopes."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    showPrintSetup();
    showFeedMethod();
}

void TEnvelopePrePrint::showPrintSetup()
{
    const TEnvelopePrinterValues now = TEnvelopePreferences::current(m_job);
    PrinterName->setText(now.printer);
    BinName->setText(now.bin);
    PaperName->setText(now.paper);
    OrientationName->setText(m_job.Orientation() == TBaseReport::poLandScape ? QStringLiteral("Landscape")
                                                                             : QStringLiteral("Portrait"));
    PageSizeWarning->setVisible(TEnvelopePlacement::pageDiffers({m_job.PaperWidth(), m_job.PaperHeight()},
                                                                TEnvelopeSizes::size(m_code)));
}

void TEnvelopePrePrint::showFeedMethod()
{
    FeedPicture->setPixmap(QPixmap::fromImage(TEnvelopeFeedPicture::render(m_feed)));
    FeedDescription->setText(TEnvelopePlacement::description(m_feed));
}

void TEnvelopePrePrint::PrinterSetupButtonClick()
{
    (void)m_job.ShowPrinterSetup(); // a cancelled set-up changes nothing; the display shows what holds
    showPrintSetup();
}

void TEnvelopePrePrint::PaperFeedButtonClick()
{
    TEnvelopeFeed feed(m_feed, this);
    emit feedDialogOpened(&feed);
    if (feed.exec() == QDialog::Accepted) {
        m_feed = feed.values();
        m_job.setOrientation(m_feed.Orientation == TEnvelopeFeedValues::Landscape ? TBaseReport::poLandScape
                                                                                  : TBaseReport::poPortrait);
    }
    showPrintSetup();
    showFeedMethod();
}
