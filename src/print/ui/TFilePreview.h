// Shows one page of a recorded job at a zoom factor; it sits inside the preview window's
// scroll box, which owns it. Clicks on the page are reported, not acted on.
#pragma once

#include <QImage>
#include <QWidget>

class TRecordingReader;

class TFilePreview : public QWidget
{
    Q_OBJECT
public:
    // `reader` must outlive the widget.
    TFilePreview(const TRecordingReader &reader, QWidget *parent = nullptr);

    // Page index (0-based) and zoom in percent; the widget takes the page's size at that zoom.
    void showPage(int index, double zoomPercent, double screenDpi);
    int pageIndex() const { return m_page; }
    const QImage &pageImage() const { return m_image; }

signals:
    void pageClicked(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    const TRecordingReader &m_reader;
    int m_page = -1;
    QImage m_image;
};
