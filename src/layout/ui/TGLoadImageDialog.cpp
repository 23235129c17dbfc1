#include "TGLoadImageDialog.h"

#include "THelpRequest.h"

#include "TGImage.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

// The help topic this window's F1 opens.
constexpr int kHelpTopic = 3508;

namespace {
constexpr int kPreviewSize = 160;
}

TGLoadImageDialog::TGLoadImageDialog(const TGImage &object, QWidget *parent) : QFileDialog(parent)
{
    setWindowTitle(QStringLiteral("Load Image File"));
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setNameFilters(
        {QStringLiteral("Images (*.bmp *.wmf *.emf *.ico *.png *.jpg *.jpeg *.svg *.BMP *.WMF *.EMF "
                        "*.ICO *.PNG *.JPG *.JPEG *.SVG)"),
         QStringLiteral("All files (*)")});

    auto *side = new QWidget(this);
    auto *column = new QVBoxLayout(side);
    Preview = new QLabel(side);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setFixedSize(kPreviewSize, kPreviewSize);
    Preview->setAlignment(Qt::AlignCenter);
    Preview->setFrameShape(QFrame::Box);
    auto *options = new QGroupBox(QStringLiteral(" Options "), side);
    auto *optionsLayout = new QVBoxLayout(options);
    StretchCheck = new QCheckBox(QStringLiteral("Stretch"), options);
    AutoSizeCheck = new QCheckBox(QStringLiteral("AutoSize"), options);
    StretchCheck->setChecked(object.Stretch());
    AutoSizeCheck->setChecked(object.AutoSize());
    optionsLayout->addWidget(StretchCheck);
    optionsLayout->addWidget(AutoSizeCheck);
    column->addWidget(Preview);
    column->addWidget(options);
    column->addStretch();
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(side, 0, grid->columnCount(), grid->rowCount(), 1);

    // The two options exclude each other.
    connect(StretchCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            AutoSizeCheck->setChecked(false);
    });
    connect(AutoSizeCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            StretchCheck->setChecked(false);
    });
    connect(this, &QFileDialog::currentChanged, this, [this](const QString &path) {
        if (QFileInfo(path).isFile())
            static_cast<void>(previewFile(path));
    });
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

bool TGLoadImageDialog::previewFile(const QString &path)
{
    QFile file(path);
    m_picture.clear();
    if (file.open(QIODevice::ReadOnly))
        m_picture = TGPicture::fromFileBytes(file.readAll());
    Preview->clear();
    if (!m_picture.hasGraphic()) {
        Preview->setText(QStringLiteral("Error loading file!"));
        return false;
    }
    QPixmap shown(kPreviewSize, kPreviewSize);
    shown.fill(Qt::white);
    QPainter p(&shown);
    const QSize own = m_picture.size().isEmpty() ? QSize(kPreviewSize, kPreviewSize) : m_picture.size();
    const QSize fitted = own.scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio);
    const QRect target(QPoint((kPreviewSize - fitted.width()) / 2, (kPreviewSize - fitted.height()) / 2),
                       fitted);
    if (!m_picture.image().isNull()) {
        p.drawImage(target, m_picture.image());
    } else if (!m_picture.vectors().isNull()) {
        p.translate(target.topLeft());
        p.scale(double(fitted.width()) / own.width(), double(fitted.height()) / own.height());
        p.drawPicture(0, 0, m_picture.vectors());
    }
    p.end();
    Preview->setPixmap(shown);
    return true;
}

void TGLoadImageDialog::applyTo(TGImage &object) const
{
    object.setPicture(m_picture);
    object.setStretch(StretchCheck->isChecked());
    object.setAutoSize(AutoSizeCheck->isChecked());
}
