// "Report Layout" (TReportProperties): the page (size, orientation, margins) and each band's
// borders, line width and shading of a designed report, with a picture of the page at 1/20
// scale whose areas open their pages. The designer opens one on a copy of its settings and
// takes the copy back on "Save".
#pragma once

#include "TReportSettings.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

class TReportProperties : public QDialog
{
    Q_OBJECT
public:
    TReportProperties(const TReportSettings &settings, QWidget *parent = nullptr);

    const TReportSettings &settings() const { return m_settings; }
    // The page description of the chosen size and orientation ("A4 Size, Landscape" ...).
    QString pageDescription() const { return m_settings.pageDescription(); }

    // The areas of the page picture, in its own pixels: the page, the inner area within the
    // margins, and the band areas stacked in it (header, detail, memo, footer).
    QRect pictureRect() const;
    QRect bandPictureRect(TReportBand band) const;

    QTabWidget *PageControl;
    QRadioButton *PortraitButton;
    QRadioButton *LandscapeButton;
    QRadioButton *LetterButton;
    QRadioButton *A4Button;
    QDoubleSpinBox *LeftMargin;
    QDoubleSpinBox *TopMargin;
    QDoubleSpinBox *RightMargin;
    QDoubleSpinBox *BottomMargin;
    struct BandPage {
        QCheckBox *Top;
        QCheckBox *Left;
        QCheckBox *Bottom;
        QCheckBox *Right;
        QSpinBox *LineWidth;
        QSpinBox *ShadePercent;
        QComboBox *ShadeColor;
    };
    std::array<BandPage, 4> Bands{};
    QWidget *PagePicture;
    QPushButton *SaveButton;
    QPushButton *CancelButton;
    QPushButton *DefaultsButton;
    QPushButton *HelpButton;

public slots:
    void PageChange();
    void BandChange(int band);
    void DefaultsButtonClick();
    // A click on the picture at `point` opens the page of the area hit.
    void PictureClick(const QPoint &point);

private:
    void showSettings();
    void paintPicture(QPainter &painter) const;

    TReportSettings m_settings;
    bool m_showing = false;
    friend class TReportPagePicture;
};
