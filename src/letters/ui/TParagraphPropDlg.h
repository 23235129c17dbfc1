// The "Paragraph Properties" dialog: indents in inches or centimetres and spacing in points
// of the current paragraph, all kept in twips. Created by the designer for one use.
#pragma once

#include "TLetterUnits.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTextBlockFormat;

// A paragraph's indents and spacing in twips. The first indent counts from the paper's
// margin like the left one.
struct TParagraphTwips {
    int first = 0;
    int left = 0;
    int right = 0;
    int spaceBefore = 0;
    int lineHeight = 0; // 0: single spacing; otherwise at least this
    int spaceAfter = 0;

    static TParagraphTwips of(const QTextBlockFormat &format);
    void applyTo(QTextBlockFormat &format) const;
};

class TParagraphPropDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TParagraphPropDlg(const TParagraphTwips &paragraph, QWidget *parent = nullptr);

    TParagraphTwips paragraph() const { return m_values; }

    QLineEdit *FirstIndent;
    QLineEdit *LeftIndent;
    QLineEdit *RightIndent;
    QComboBox *Units;
    QComboBox *FirstIndentCombo;
    QLineEdit *SpaceBeforePts;
    QLineEdit *LineHeightPts;
    QLineEdit *SpaceAfterPts;
    QPushButton *OkButton;
    QPushButton *CancelButton;

private:
    TLengthUnit unit() const;
    void redisplay();
    void setHints();
    bool convert(QLineEdit *edit, bool tell);
    void sameAsLeft();

    TParagraphTwips m_values;
};
