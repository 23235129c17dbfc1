// "Load Image File": a file dialog whose preview shows the picked picture (or "Error loading
// file!"), with the options "Stretch" and "AutoSize", preset from the picture object and
// never both checked. The window that opens it owns it.
#pragma once

#include "TGPicture.h"

#include <QFileDialog>

class QCheckBox;
class QLabel;
class TGImage;

class TGLoadImageDialog : public QFileDialog
{
    Q_OBJECT
public:
    explicit TGLoadImageDialog(const TGImage &object, QWidget *parent = nullptr);
    QLabel *Preview = nullptr;
    QCheckBox *StretchCheck = nullptr;
    QCheckBox *AutoSizeCheck = nullptr;

    // Loads `path` into the preview; false (and "Error loading file!" shown there) when the
    // file is no picture this system reads.
    bool previewFile(const QString &path);
    // The picture of the file last previewed; empty after a load error.
    const TGPicture &picture() const { return m_picture; }
    // Gives the object the previewed picture and the two options. Requires: a picture loaded.
    void applyTo(TGImage &object) const;

private:
    TGPicture m_picture;
};
