// The preview window: shows a recorded job page by page at a zoom. Opened by the output
// windows after a preview run, with the recording, a caption and an initial zoom mode
// (1 whole page, 2 page width, any other number that percentage). The recording stays the
// caller's; the window remembers its placement.
#pragma once

#include "TRecordingReader.h"

#include <QDialog>

class QPushButton;
class QScrollArea;
class TFilePreview;
class TIniFile;

class TPreviewForm : public QDialog
{
    Q_OBJECT
public:
    TPreviewForm(const QByteArray &recording, const QString &caption, int zoomMode, TIniFile &ini,
                 QWidget *mainWindow = nullptr);

    // The zoom in percent, the page shown (1-based) and the recording's page count.
    double zoom() const { return m_zoom; }
    int page() const { return m_page + 1; }
    int pageCount() const { return m_reader.pageCount(); }
    // Zoom request (ZoomFactor): >= 0 a percentage within 10 to 200; <= -1.9 page width;
    // between -1.9 and 0 whole page.
    void setZoomFactor(double request);
    void showPage(int page);

    QPushButton *FirstPageButton;
    QPushButton *PrevPageButton;
    QPushButton *NextPageButton;
    QPushButton *LastPageButton;
    QPushButton *ZoomInButton;
    QPushButton *ZoomOutButton;
    QPushButton *PageWidthButton;
    QPushButton *WholePageButton;
    QPushButton *Zoom100Button;
    QPushButton *OkButton;
    QPushButton *HelpButton;
    QScrollArea *ScrollBox;
    TFilePreview *FilePreview;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void FormActivate();
    void updateCaption();
    void scrollBy(int steps);
    double screenDpi() const;

    TRecordingReader m_reader;
    QString m_openError;
    QString m_caption;
    int m_zoomMode;
    TIniFile &m_ini;
    QWidget *m_mainWindow;
    bool m_activated = false;
    int m_page = 0;
    double m_zoom = 100.0;
};
