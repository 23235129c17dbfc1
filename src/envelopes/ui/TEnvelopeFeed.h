// "Paper Feed Method": how envelopes go into the printer (position, orientation, facing and,
// for landscape feeding, the clockwise rotation), with the feed picture redrawn after every
// change. The envelope window's pre-print dialog opens one per use, modally.
#pragma once

#include "TEnvelopePreferences.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

class TEnvelopeFeed : public QDialog
{
    Q_OBJECT
public:
    explicit TEnvelopeFeed(const TEnvelopeFeedValues &values, QWidget *parent = nullptr);

    // The values as the buttons now set them.
    const TEnvelopeFeedValues &values() const { return m_values; }

    QPushButton *LeftButton;
    QPushButton *RightButton;
    QPushButton *CenterButton;
    QPushButton *PortraitButton;
    QPushButton *LandscapeButton;
    QPushButton *UpButton;
    QPushButton *DownButton;
    QCheckBox *ClockWiseCheck;
    QLabel *FeedPicture;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

private:
    void setPosition(int position);
    void setOrientation(int orientation);
    void setFacing(int facing);
    // Button states, the check box and the picture from the values.
    void showValues();

    TEnvelopeFeedValues m_values;
};
