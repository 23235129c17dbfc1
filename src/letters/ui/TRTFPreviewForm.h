// The "Preview Letters" window: a letter template merged with the current address record,
// shown page by page at a zoom, with buttons that move through the pages and the records.
// Opened modally by the letter list and the designer; it owns its working copy of the letter.
// Its record moves stay when it closes.
#pragma once

#include "TLetterPreviewState.h"
#include "TMergeFields.h"

#include <QDialog>
#include <QImage>

#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;
class QTextDocument;
class TAddressTable;
class TIniFile;

class TRTFPreviewForm : public QDialog
{
    Q_OBJECT
public:
    // `templateDocument` is copied; `table` (may be null: the fields stay as typed) and `ini`
    // must outlive the window.
    TRTFPreviewForm(const QTextDocument &templateDocument, TAddressTable *table, const TMergeDates &dates,
                    TIniFile *ini, QWidget *parent = nullptr);
    ~TRTFPreviewForm() override;

    const TLetterPreviewState &state() const { return m_state; }
    // The page as drawn now, at the current zoom.
    const QImage &pageImage() const { return m_image; }

    QScrollArea *PageScroll;
    QLabel *Page;
    QPushButton *FirstRecord;
    QPushButton *PriorRecord;
    QPushButton *NextRecord;
    QPushButton *LastRecord;
    QPushButton *PriorPage;
    QPushButton *NextPage;
    QPushButton *ZoomIn;
    QPushButton *ZoomOut;
    QPushButton *FitWidth;
    QPushButton *FitPage;
    QPushButton *OkButton;
    QPushButton *HelpButton;

public slots:
    void ZoomInClick();
    void ZoomOutClick();
    void FitWidthClick();
    void FitPageClick();
    void NextPageClick();
    void PriorPageClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Page pixels of the paper at the screen's resolution (W and H).
    QSize pagePixels() const;
    // The working letter from the template, merged with the current record.
    void refill();
    // Draws the current page into the window; false (with a message) when drawing failed.
    bool draw();
    void moveRecord(int how);

    std::unique_ptr<QTextDocument> m_template;
    std::unique_ptr<QTextDocument> m_working;
    TAddressTable *m_table;
    TMergeDates m_dates;
    TIniFile *m_ini;
    TLetterPreviewState m_state;
    QImage m_image;
    int m_dpi = 96;
    bool m_activated = false;
};
