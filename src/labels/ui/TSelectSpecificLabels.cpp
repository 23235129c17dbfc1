#include "TSelectSpecificLabels.h"

#include "THelpRequest.h"

#include "TBaseReport.h"
#include "TLabelRun.h"
#include "TMessages.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3105;

namespace {

constexpr double kScale = 0.2; // drawing pixels per screen pixel of an inch

} // namespace

// The sheet drawing: the paper in white and every position, selected ones red.
class TSheetDrawing : public QWidget
{
public:
    explicit TSheetDrawing(TSelectSpecificLabels &dialog) : QWidget(&dialog), m_dialog(dialog)
    {
        const double s = kScale * logicalDpiX();
        const TLabelSetup &setup = dialog.m_setup;
        setMinimumSize(int(std::max(8.5, double(setup.SheetWidth)) * s) + 20,
                       int(std::max(11.0, double(setup.SheetDepth)) * s) + 20);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const TLabelSetup &setup = m_dialog.m_setup;
        const double s = kScale * logicalDpiX();
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(
            QRect(QPoint(10, 10), QPoint(int(setup.SheetWidth * s + 10), int(setup.SheetDepth * s + 10))));
        for (int i = 0; i < setup.labelCount(); ++i) {
            p.setBrush(m_dialog.m_mask.value(i) ? QColor(Qt::red) : QColor(Qt::white));
            p.drawRect(TSelectSpecificLabels::positionRect(setup, i, logicalDpiX()));
        }
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_dialog.PaintBox1Click(event->position().toPoint());
    }

private:
    TSelectSpecificLabels &m_dialog;
};

TSelectSpecificLabels::TSelectSpecificLabels(const TLabelSetup &setup, const QVector<bool> &mask,
                                             bool presort, TBaseReport &job, QWidget *parent)
    : QDialog(parent), m_setup(setup), m_mask(TLabelRun::sizedMask(mask, setup.labelCount())), m_job(job)
{
    setWindowTitle(QStringLiteral("Labels Print"));
    auto *heading = new QLabel(QStringLiteral(" Select Labels To Print"), this);
    PaintBox1 = new TSheetDrawing(*this);
    AllButton = new QPushButton(QStringLiteral("&All"), this);
    NoneButton = new QPushButton(QStringLiteral("&None"), this);
    PrinterCombo = new QComboBox(this);
    PrinterCombo->addItems(job.PrinterNames());
    PrinterCombo->setCurrentIndex(job.SelectedPrinter());
    NumberOfEachLabel = new QLabel(QStringLiteral("Number of each label to print"), this);
    NumberOfEach = new QSpinBox(this);
    NumberOfEach->setRange(1, 99);
    NumberOfEach->setValue(1);
    NumberOfEachLabel->setVisible(!presort);
    NumberOfEach->setVisible(!presort);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(PaintBox1, 1);
    auto *setAll = new QHBoxLayout;
    setAll->addWidget(AllButton);
    setAll->addWidget(NoneButton);
    setAll->addStretch();
    layout->addLayout(setAll);
    layout->addWidget(PrinterCombo);
    auto *copiesRow = new QHBoxLayout;
    copiesRow->addWidget(NumberOfEachLabel);
    copiesRow->addWidget(NumberOfEach);
    layout->addLayout(copiesRow);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);

    connect(AllButton, &QPushButton::clicked, this, [this] {
        m_mask.fill(true);
        PaintBox1->update();
    });
    connect(NoneButton, &QPushButton::clicked, this, [this] {
        m_mask.fill(false);
        PaintBox1->update();
    });
    connect(OkButton, &QPushButton::clicked, this, &TSelectSpecificLabels::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

int TSelectSpecificLabels::copies() const
{
    return NumberOfEach->isHidden() ? 1 : std::max(1, NumberOfEach->value());
}

QRect TSelectSpecificLabels::positionRect(const TLabelSetup &setup, int index, double pixelsPerInch)
{
    const double s = kScale * pixelsPerInch;
    const int c = index % setup.NbrAcross;
    const int r = index / setup.NbrAcross;
    int left = int(setup.LeftMarg * s) + c * int(setup.HorizPitch * s) + 10;
    int top = int(setup.TopMarg * s) + r * int(setup.VertPitch * s) + 10;
    if (c + 1 > setup.NbrAcross / 2 && setup.MidExtraX > 0)
        left += int(setup.MidExtraX * s);
    if (r + 1 > setup.NbrDown / 2 && setup.MidExtraY > 0)
        top += int(setup.MidExtraY * s);
    return QRect(left, top, int(setup.LblWidth * s), int(setup.LblHeight * s));
}

void TSelectSpecificLabels::PaintBox1Click(const QPoint &at)
{
    for (int i = 0; i < m_setup.labelCount(); ++i)
        if (positionRect(m_setup, i, PaintBox1->logicalDpiX()).contains(at)) {
            m_mask[i] = !m_mask[i];
            PaintBox1->update();
            return;
        }
}

void TSelectSpecificLabels::OkButtonClick()
{
    if (!TLabelRun::hasSelectedPosition(m_mask, m_setup.labelCount())) {
        TMessages::information(this, TLabelRun::noPositionMessage());
        return;
    }
    if (PrinterCombo->currentIndex() >= 0)
        m_job.setSelectedPrinter(PrinterCombo->currentIndex());
    m_job.setOrientation(TBaseReport::poPortrait);
    accept();
}
