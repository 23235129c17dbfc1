#include "TGShapeObjectMenu.h"

#include "TGImage.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGLoadImageDialog.h"

#include <QColorDialog>
#include <QDir>
#include <QMenu>
#include <QMessageBox>

namespace {

// "Load Image File" for a picture object: on Ok with a file chosen the picture, "Stretch" and
// "AutoSize" go to the object and an auto-sized object takes the picture's size; a file that
// does not load says so and leaves the object without a picture.
void openLoadImageDialog(TGImage *image, QWidget *parent)
{
    TGLoadImageDialog dialog(*image, parent);
    const QString folder = QDir::currentPath();
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    QDir::setCurrent(folder);
    if (!chosen)
        return;
    if (!dialog.previewFile(dialog.selectedFiles().constFirst())) {
        image->setPicture(TGPicture());
        image->NotifyChanged();
        QMessageBox::warning(parent, QStringLiteral("Load Image File"), QStringLiteral("Error loading file!"));
        return;
    }
    dialog.applyTo(*image);
    const QSize size = image->Picture().size();
    if (image->AutoSize() && size.width() > 0 && size.height() > 0)
        image->SetBounds(image->Left(), image->Top(), size.width(), size.height());
    image->NotifyChanged();
    image->Invalidate();
}

} // namespace

TGShapeObjectMenu::LoadImageDialog TGShapeObjectMenu::loadImageDialog = &openLoadImageDialog;

namespace {

// A colour dialog on `current`; calls `take` with the colour chosen on OK.
template <class Take> void chooseColour(TColor current, QWidget *parent, Take take)
{
    const QColor chosen = QColorDialog::getColor(TGColor::toQColor(current), parent);
    if (chosen.isValid())
        take(static_cast<TColor>(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16)));
}

template <class Choose> void addThickness(QMenu *menu, int current, Choose choose)
{
    QMenu *thickness = menu->addMenu(QStringLiteral("Line Thickness"));
    for (int n = 1; n <= 10; ++n) {
        QAction *a = thickness->addAction(QString::number(n) + QStringLiteral(" Point"));
        a->setCheckable(true);
        a->setChecked(current == n);
        QObject::connect(a, &QAction::triggered, [choose, n] { choose(n); });
    }
}

void addShape(QMenu *menu, TGLabelShapes *shape, QWidget *parent)
{
    menu->addSeparator();
    QObject::connect(menu->addAction(QStringLiteral("Background Color")), &QAction::triggered, [shape, parent] {
        chooseColour(shape->Brush.color, parent, [shape](TColor c) { shape->ChooseBackgroundColor(c); });
    });
    QObject::connect(menu->addAction(QStringLiteral("Line Color")), &QAction::triggered, [shape, parent] {
        chooseColour(shape->Pen.color, parent, [shape](TColor c) { shape->ChooseLineColor(c); });
    });
    addThickness(menu, shape->Pen.width, [shape](int n) { shape->ChooseLineThickness(n); });
    menu->addSeparator();
    QAction *transparent = menu->addAction(QStringLiteral("Transparent"));
    transparent->setCheckable(true);
    transparent->setChecked(shape->Transparent());
    QObject::connect(transparent, &QAction::triggered, [shape] { shape->ToggleTransparent(); });
    if (shape->Shape == stRoundRect || shape->Shape == stRoundSquare) {
        menu->addSeparator();
        QMenu *rounding = menu->addMenu(QStringLiteral("Degree of Rounding"));
        for (int percent = 20; percent <= 80; percent += 10)
            QObject::connect(rounding->addAction(QString::number(percent) + QStringLiteral(" %")),
                             &QAction::triggered, [shape, percent] { shape->ChooseRounding(percent); });
    }
}

void addLine(QMenu *menu, TGLineShape *line, QWidget *parent)
{
    menu->addSeparator();
    QMenu *style = menu->addMenu(QStringLiteral("Style"));
    const std::pair<const char *, TLineStyle> styles[] = {{"Horizontal", stHorizontal},
                                                          {"Vertical", stVertical},
                                                          {"Angled Sloping Up", stAngleSlopingUp},
                                                          {"Angled Sloping Down", stAngleSlopingDown}};
    for (const auto &[caption, value] : styles) {
        QAction *a = style->addAction(QString::fromLatin1(caption));
        a->setCheckable(true);
        a->setChecked(line->LineStyle == value);
        QObject::connect(a, &QAction::triggered, [line, value = value] { line->ChooseLineStyle(value); });
    }
    QObject::connect(menu->addAction(QStringLiteral("Color")), &QAction::triggered, [line, parent] {
        chooseColour(line->Pen.color, parent, [line](TColor c) { line->ChooseColor(c); });
    });
    addThickness(menu, line->Pen.width, [line](int n) { line->ChooseLineThickness(n); });
    menu->addSeparator();
    QObject::connect(menu->addAction(QStringLiteral("Stretch To Edges")), &QAction::triggered,
                     [line] { line->StretchToEdges(); });
}

void addImage(QMenu *menu, TGImage *image, QWidget *parent)
{
    menu->addSeparator();
    QAction *load = menu->addAction(QStringLiteral("Load Image From Disk"));
    load->setEnabled(TGShapeObjectMenu::loadImageDialog != nullptr);
    QObject::connect(load, &QAction::triggered, [image, parent] {
        if (TGShapeObjectMenu::loadImageDialog)
            TGShapeObjectMenu::loadImageDialog(image, parent);
    });
    menu->addSeparator();
    QAction *stretch = menu->addAction(QStringLiteral("Stretch to Fit"));
    stretch->setCheckable(true);
    stretch->setChecked(image->Stretch());
    QObject::connect(stretch, &QAction::triggered, [image] {
        image->setStretch(!image->Stretch());
        image->Invalidate();
    });
    QAction *autoSize = menu->addAction(QStringLiteral("AutoSize"));
    autoSize->setCheckable(true);
    autoSize->setChecked(image->AutoSize());
    QObject::connect(autoSize, &QAction::triggered, [image] {
        image->setAutoSize(!image->AutoSize());
        image->Invalidate();
    });
}

} // namespace

void TGShapeObjectMenu::addItems(QMenu *menu, TGGraphicControl *object, QWidget *dialogParent)
{
    if (auto *shape = dynamic_cast<TGLabelShapes *>(object))
        addShape(menu, shape, dialogParent);
    else if (auto *line = dynamic_cast<TGLineShape *>(object))
        addLine(menu, line, dialogParent);
    else if (auto *image = dynamic_cast<TGImage *>(object))
        addImage(menu, image, dialogParent);
}
