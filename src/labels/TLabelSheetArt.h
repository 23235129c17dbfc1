// The stock pictures the label designer draws behind the objects: a picture of the blank sheet
// (the paper's outline and every label of the grid, in the sheet's shape), drawn from the
// setup's geometry for each of the program's own art names. Stateless.
#pragma once

#include "TGPicture.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class TLabelSetup;

class TLabelSheetArt
{
public:
    // The art names the program has pictures for.
    static const QStringList &names();
    // The resource name of an ART value: the text up to its first ".", upper-cased.
    static QString resourceName(const QString &art);
    // Whether `art` names one of the pictures.
    static bool hasPicture(const QString &art);

    // The sheet of `setup` drawn to fit `size` (its proportions kept, centred): the paper and
    // the labels as black lines on white. Null for an empty size.
    static QImage sheetImage(const TLabelSetup &setup, const QSize &size);
    // The picture the designer puts behind the objects for a surface of `designSize`: the
    // sheet's set pixels light grey (192, 192, 192) on white; empty when Art names no picture.
    static TGPicture background(const TLabelSetup &setup, const QSize &designSize);
};
