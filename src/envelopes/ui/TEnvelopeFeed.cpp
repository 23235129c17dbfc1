#include "TEnvelopeFeed.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TEnvelopeFeedPicture.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3203;

namespace {

QPushButton *choice(const char *caption, QWidget *parent)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setCheckable(true);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TEnvelopeFeed::TEnvelopeFeed(const TEnvelopeFeedValues &values, QWidget *parent)
    : QDialog(parent), m_values(values)
{
    setWindowTitle(QStringLiteral("Paper Feed Method"));
    setModal(true);
    auto *intro = new QLabel(
        QStringLiteral("Please indicate how you normally feed envelopes into your printer:"), this);
    auto *note = new QLabel(QStringLiteral("(note: there are many printers and many ways to feed envelopes - "
                                           "this may take some experimenting)"),
                            this);
    note->setWordWrap(true);
    LeftButton = choice("&Left", this);
    RightButton = choice("&Right", this);
    CenterButton = choice("&Center", this);
    PortraitButton = choice("&Portrait", this);
    LandscapeButton = choice("&Landscape", this);
    UpButton = choice("&Up", this);
    DownButton = choice("&Down", this);
    ClockWiseCheck = new QCheckBox(QStringLiteral("Clock&wise Rotation"), this);
    FeedPicture = new QLabel(this);
    FeedPicture->setFixedSize(TEnvelopeFeedPicture::size(TEnvelopeFeedPicture::Page));

    auto *grid = new QGridLayout;
    grid->addWidget(LeftButton, 0, 0);
    grid->addWidget(CenterButton, 0, 1);
    grid->addWidget(RightButton, 0, 2);
    grid->addWidget(PortraitButton, 1, 0);
    grid->addWidget(LandscapeButton, 1, 1);
    grid->addWidget(ClockWiseCheck, 1, 2);
    grid->addWidget(UpButton, 2, 0);
    grid->addWidget(DownButton, 2, 1);
    auto *middle = new QHBoxLayout;
    middle->addLayout(grid);
    middle->addWidget(FeedPicture);

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {OkButton, CancelButton, HelpButton})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(note);
    layout->addLayout(middle);
    layout->addLayout(buttons);

    connect(LeftButton, &QPushButton::clicked, this, [this] { setPosition(TEnvelopeFeedValues::Left); });
    connect(RightButton, &QPushButton::clicked, this, [this] { setPosition(TEnvelopeFeedValues::Right); });
    connect(CenterButton, &QPushButton::clicked, this, [this] { setPosition(TEnvelopeFeedValues::Center); });
    connect(PortraitButton, &QPushButton::clicked, this,
            [this] { setOrientation(TEnvelopeFeedValues::Portrait); });
    connect(LandscapeButton, &QPushButton::clicked, this,
            [this] { setOrientation(TEnvelopeFeedValues::Landscape); });
    connect(UpButton, &QPushButton::clicked, this, [this] { setFacing(TEnvelopeFeedValues::FaceUp); });
    connect(DownButton, &QPushButton::clicked, this, [this] { setFacing(TEnvelopeFeedValues::FaceDown); });
    connect(ClockWiseCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_values.ClockWise = on;
        showValues();
    });
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {LeftButton, "The envelope lies at the left of the tray."},
             {CenterButton, "The envelope lies in the middle of the tray."},
             {RightButton, "The envelope lies at the right of the tray."},
             {PortraitButton, "The envelope goes in short edge first."},
             {LandscapeButton, "The envelope goes in long edge first."},
             {UpButton, "The envelope goes in face up."},
             {DownButton, "The envelope goes in face down."},
             {ClockWiseCheck, "For envelopes fed long edge first: the printing is turned clockwise."},
             {OkButton, "Keeps the feed method shown in the picture."},
             {CancelButton, "Closes the window and keeps the earlier feed method."},
             {HelpButton, "Opens the help page about feeding envelopes."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    showValues();
}

void TEnvelopeFeed::setPosition(int position)
{
    m_values.Position = position;
    showValues();
}

void TEnvelopeFeed::setOrientation(int orientation)
{
    m_values.Orientation = orientation;
    showValues();
}

void TEnvelopeFeed::setFacing(int facing)
{
    m_values.Facing = facing;
    showValues();
}

void TEnvelopeFeed::showValues()
{
    LeftButton->setChecked(m_values.Position == TEnvelopeFeedValues::Left);
    RightButton->setChecked(m_values.Position == TEnvelopeFeedValues::Right);
    CenterButton->setChecked(m_values.Position == TEnvelopeFeedValues::Center);
    PortraitButton->setChecked(m_values.Orientation == TEnvelopeFeedValues::Portrait);
    LandscapeButton->setChecked(m_values.Orientation == TEnvelopeFeedValues::Landscape);
    UpButton->setChecked(m_values.Facing == TEnvelopeFeedValues::FaceUp);
    DownButton->setChecked(m_values.Facing == TEnvelopeFeedValues::FaceDown);
    // The rotation only means something for an envelope fed landscape.
    ClockWiseCheck->setVisible(m_values.Orientation == TEnvelopeFeedValues::Landscape);
    {
        const QSignalBlocker quiet(ClockWiseCheck);
        ClockWiseCheck->setChecked(m_values.ClockWise);
    }
    FeedPicture->setPixmap(QPixmap::fromImage(TEnvelopeFeedPicture::render(m_values)));
}
