#include "TReportProperties.h"

#include "THelpRequest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3402;

// The page picture: paints the dialog's page and hands clicks back.
class TReportPagePicture : public QWidget
{
public:
    explicit TReportPagePicture(TReportProperties *dialog) : QWidget(dialog), m_dialog(dialog)
    {
        setFixedSize(240, 240); // the largest page, 11.68 in at 1/20 of the display
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        m_dialog->paintPicture(p);
    }
    void mousePressEvent(QMouseEvent *event) override { m_dialog->PictureClick(event->position().toPoint()); }

private:
    TReportProperties *m_dialog;
};

namespace {

struct NamedColour {
    const char *name;
    TColor colour;
};
// The shade colours offered, 0x00BBGGRR.
const NamedColour kColours[] = {{"White", 0xFFFFFF},  {"Silver", 0xC0C0C0}, {"Gray", 0x808080},
                                {"Black", 0x000000},  {"Red", 0x0000FF},    {"Yellow", 0x00FFFF},
                                {"Lime", 0x00FF00},   {"Aqua", 0xFFFF00},   {"Blue", 0xFF0000},
                                {"Fuchsia", 0xFF00FF}};

const char *const kBandPages[] = {"Header", "Detail", "Memo", "Footer"};

QDoubleSpinBox *marginBox(QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setRange(0.0, 4.0);
    box->setDecimals(2);
    box->setSingleStep(0.05);
    box->setValue(0.5);
    return box;
}

} // namespace

TReportProperties::TReportProperties(const TReportSettings &settings, QWidget *parent)
    : QDialog(parent), m_settings(settings)
{
    setWindowTitle(QStringLiteral("Report Layout"));
    setModal(true);
    PageControl = new QTabWidget(this);

    auto *page = new QWidget(PageControl);
    auto *orientation = new QGroupBox(QStringLiteral("Orientation"), page);
    PortraitButton = new QRadioButton(QStringLiteral("Portrait"), orientation);
    LandscapeButton = new QRadioButton(QStringLiteral("Landscape"), orientation);
    auto *ol = new QVBoxLayout(orientation);
    ol->addWidget(PortraitButton);
    ol->addWidget(LandscapeButton);
    auto *size = new QGroupBox(QStringLiteral("Size"), page);
    LetterButton = new QRadioButton(QStringLiteral("Letter"), size);
    A4Button = new QRadioButton(QStringLiteral("A4"), size);
    auto *sl = new QVBoxLayout(size);
    sl->addWidget(LetterButton);
    sl->addWidget(A4Button);
    auto *margins = new QGroupBox(QStringLiteral("Margins (in inches)"), page);
    LeftMargin = marginBox(margins);
    TopMargin = marginBox(margins);
    RightMargin = marginBox(margins);
    BottomMargin = marginBox(margins);
    auto *ml = new QFormLayout(margins);
    ml->addRow(QStringLiteral("Left"), LeftMargin);
    ml->addRow(QStringLiteral("Top"), TopMargin);
    ml->addRow(QStringLiteral("Right"), RightMargin);
    ml->addRow(QStringLiteral("Bottom"), BottomMargin);
    auto *pl = new QGridLayout(page);
    pl->addWidget(orientation, 0, 0);
    pl->addWidget(size, 1, 0);
    pl->addWidget(margins, 0, 1, 2, 1);
    PageControl->addTab(page, QStringLiteral("Page"));

    for (int b = 0; b < 4; ++b) {
        auto *w = new QWidget(PageControl);
        BandPage &bp = Bands[size_t(b)];
        auto *borders = new QGroupBox(QStringLiteral("Borders"), w);
        bp.Top = new QCheckBox(QStringLiteral("Top"), borders);
        bp.Left = new QCheckBox(QStringLiteral("Left"), borders);
        bp.Bottom = new QCheckBox(QStringLiteral("Bottom"), borders);
        bp.Right = new QCheckBox(QStringLiteral("Right"), borders);
        auto *bl = new QVBoxLayout(borders);
        for (QCheckBox *c : {bp.Top, bp.Left, bp.Bottom, bp.Right})
            bl->addWidget(c);
        bp.LineWidth = new QSpinBox(w);
        bp.LineWidth->setRange(1, 3);
        bp.ShadePercent = new QSpinBox(w);
        bp.ShadePercent->setRange(0, 100);
        bp.ShadePercent->setSingleStep(20);
        bp.ShadeColor = new QComboBox(w);
        for (const NamedColour &c : kColours)
            bp.ShadeColor->addItem(QString::fromLatin1(c.name), QVariant::fromValue(uint(c.colour)));
        auto *fl = new QFormLayout;
        fl->addRow(QStringLiteral("Line Width"), bp.LineWidth);
        fl->addRow(QStringLiteral("Shade Percent"), bp.ShadePercent);
        fl->addRow(QStringLiteral("Shade Color"), bp.ShadeColor);
        auto *wl = new QHBoxLayout(w);
        wl->addWidget(borders);
        wl->addLayout(fl);
        PageControl->addTab(w, QString::fromLatin1(kBandPages[b]));
        for (QCheckBox *c : {bp.Top, bp.Left, bp.Bottom, bp.Right})
            connect(c, &QCheckBox::toggled, this, [this, b] { BandChange(b); });
        connect(bp.LineWidth, &QSpinBox::valueChanged, this, [this, b] { BandChange(b); });
        connect(bp.ShadePercent, &QSpinBox::valueChanged, this, [this, b] { BandChange(b); });
        connect(bp.ShadeColor, &QComboBox::currentIndexChanged, this, [this, b] { BandChange(b); });
    }

    PagePicture = new TReportPagePicture(this);
    SaveButton = new QPushButton(QStringLiteral("Save"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    DefaultsButton = new QPushButton(QStringLiteral("Defaults"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(PagePicture);
    for (QPushButton *b : {SaveButton, CancelButton, DefaultsButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addLayout(buttons);

    for (QRadioButton *r : {PortraitButton, LandscapeButton, LetterButton, A4Button})
        connect(r, &QRadioButton::toggled, this, &TReportProperties::PageChange);
    for (QDoubleSpinBox *m : {LeftMargin, TopMargin, RightMargin, BottomMargin})
        connect(m, &QDoubleSpinBox::editingFinished, this, &TReportProperties::PageChange);
    connect(SaveButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(DefaultsButton, &QPushButton::clicked, this, &TReportProperties::DefaultsButtonClick);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    showSettings();
}

void TReportProperties::showSettings()
{
    m_showing = true;
    const TReportPage page = m_settings.page();
    // A custom size shows as the portrait or landscape Letter it is closest to in shape.
    const bool landscape = page == TReportPage::Custom ? m_settings.pageWidth > m_settings.pageHeight
                                                       : TReportSettings::isLandscape(page);
    (landscape ? LandscapeButton : PortraitButton)->setChecked(true);
    (TReportSettings::isA4(page) ? A4Button : LetterButton)->setChecked(true);
    LeftMargin->setValue(m_settings.inches(m_settings.leftMargin));
    TopMargin->setValue(m_settings.inches(m_settings.topMargin));
    RightMargin->setValue(m_settings.inches(m_settings.rightMargin));
    BottomMargin->setValue(m_settings.inches(m_settings.bottomMargin));
    for (size_t b = 0; b < 4; ++b) {
        const TReportBandFrame &f = m_settings.frames[b];
        BandPage &bp = Bands[b];
        bp.Top->setChecked(f.top);
        bp.Left->setChecked(f.left);
        bp.Bottom->setChecked(f.bottom);
        bp.Right->setChecked(f.right);
        bp.LineWidth->setValue(f.lineWidth);
        bp.ShadePercent->setValue(f.shadePercent);
        int index = bp.ShadeColor->findData(QVariant::fromValue(uint(f.shadeColor)));
        if (index < 0) {
            bp.ShadeColor->addItem(QStringLiteral("Custom"), QVariant::fromValue(uint(f.shadeColor)));
            index = bp.ShadeColor->count() - 1;
        }
        bp.ShadeColor->setCurrentIndex(index);
    }
    m_showing = false;
    PagePicture->update();
}

void TReportProperties::PageChange()
{
    if (m_showing)
        return;
    m_settings.setPage(TReportSettings::pageOf(A4Button->isChecked(), LandscapeButton->isChecked()));
    m_settings.leftMargin = m_settings.pixels(LeftMargin->value());
    m_settings.topMargin = m_settings.pixels(TopMargin->value());
    m_settings.rightMargin = m_settings.pixels(RightMargin->value());
    m_settings.bottomMargin = m_settings.pixels(BottomMargin->value());
    PagePicture->update();
}

void TReportProperties::BandChange(int band)
{
    if (m_showing)
        return;
    const BandPage &bp = Bands[size_t(band)];
    TReportBandFrame &f = m_settings.frames[size_t(band)];
    f.top = bp.Top->isChecked();
    f.left = bp.Left->isChecked();
    f.bottom = bp.Bottom->isChecked();
    f.right = bp.Right->isChecked();
    f.lineWidth = bp.LineWidth->value();
    f.shadePercent = bp.ShadePercent->value();
    f.shadeColor = TColor(bp.ShadeColor->currentData().toUInt());
    PagePicture->update();
}

void TReportProperties::DefaultsButtonClick()
{
    const TReportSettings d = TReportSettings::defaults(m_settings.pixelsPerInch());
    m_settings.setPage(TReportPage::LetterPortrait);
    m_settings.leftMargin = d.leftMargin;
    m_settings.topMargin = d.topMargin;
    m_settings.rightMargin = d.rightMargin;
    m_settings.bottomMargin = d.bottomMargin;
    m_settings.frames = d.frames;
    showSettings();
}

QRect TReportProperties::pictureRect() const
{
    const double s = m_settings.pixelsPerInch() * 0.05;
    return QRect(0, 0, int(m_settings.pageWidth / s), int(m_settings.pageHeight / s));
}

QRect TReportProperties::bandPictureRect(TReportBand band) const
{
    const double s = m_settings.pixelsPerInch() * 0.05;
    const QRect page = pictureRect();
    const int left = int(m_settings.leftMargin / s) - 1;
    const int top = int(m_settings.topMargin / s) - 1;
    const int width = page.width() - int(m_settings.leftMargin / s) - int(m_settings.rightMargin / s);
    const int height = page.height() - int(m_settings.topMargin / s) - int(m_settings.bottomMargin / s);
    // The inner area in four strips: header and footer an eighth each at the ends, the detail
    // and memo bands between.
    const int strip = std::max(1, height / 8);
    switch (band) {
    case TReportBand::Header:
        return QRect(left, top, width, strip);
    case TReportBand::Detail:
        return QRect(left, top + strip, width, strip * 2);
    case TReportBand::Memo:
        return QRect(left, top + strip * 3, width, height - strip * 4);
    case TReportBand::Footer:
        return QRect(left, top + height - strip, width, strip);
    }
    return {};
}

void TReportProperties::paintPicture(QPainter &p) const
{
    const QRect page = pictureRect();
    p.fillRect(PagePicture->rect(), palette().window());
    p.fillRect(page, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(page.adjusted(0, 0, -1, -1));
    for (TReportBand band :
         {TReportBand::Header, TReportBand::Detail, TReportBand::Memo, TReportBand::Footer}) {
        const QRect r = bandPictureRect(band);
        const TReportBandFrame &f = m_settings.frame(band);
        p.fillRect(r, f.shadedFill());
        const int w = std::clamp(f.lineWidth, 1, 3);
        if (f.top)
            p.fillRect(QRect(r.left(), r.top(), r.width(), w), Qt::black);
        if (f.bottom)
            p.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), Qt::black);
        if (f.left)
            p.fillRect(QRect(r.left(), r.top(), w, r.height()), Qt::black);
        if (f.right)
            p.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), Qt::black);
    }
}

void TReportProperties::PictureClick(const QPoint &point)
{
    const TReportBand bands[] = {TReportBand::Header, TReportBand::Detail, TReportBand::Memo,
                                 TReportBand::Footer};
    for (TReportBand band : bands)
        if (bandPictureRect(band).contains(point)) {
            PageControl->setCurrentIndex(int(band) + 1);
            return;
        }
    if (pictureRect().contains(point))
        PageControl->setCurrentIndex(0);
}
