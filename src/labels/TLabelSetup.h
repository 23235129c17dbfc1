// One label sheet definition in memory: the sheet geometry in inches, the stock it came from
// and the layout file that draws each label. The "Print Labels" window holds one for the
// current row and copies it to and from the designer; rows of LABEL.DBF and of the catalogue
// LBLTPL.DBF are read into it. Plain value type.
#pragma once

#include <QPointF>
#include <QString>
#include <QVector>

// One entry of the paper list: its code, its caption and its size as it lies for printing.
struct TLabelPaper {
    QString code;    // "LTR", "LTRL", "A4", "A4L", "A5", "USERP", "USERL"
    QString caption; // the paper list entry
    double widthInches = 0;
    double heightInches = 0;
    bool fixed = true; // false for the two user-defined entries
    bool landscape = false;
};

class TLabelSetup
{
public:
    static constexpr int kDescriptionLength = 50;
    static constexpr int kMaxAcross = 10;
    static constexpr int kMaxDown = 30;

    QString Description;
    QString Printer;
    float LblHeight = 1.0f;
    float LblWidth = 2.625f;
    int NbrAcross = 3;
    int NbrDown = 10;
    float TopMarg = 0.5f;
    float LeftMarg = 0.188f;
    float HorizPitch = 2.75f;
    float VertPitch = 1.0f;
    float SheetWidth = 8.5f;
    float SheetDepth = 11.0f;
    double MidExtraX = 0;
    double MidExtraY = 0;
    QString Art;
    QString Binary;
    QString PaperSize;
    QString TplDescrip;
    QString Manufac;
    QString ProdType;
    QString LblShape;

    // The setup the New button starts from: the catalogue's "Avery 5160  Address" sheet (its
    // pitches 2.75 x 1.0, so the tenth row lies where the stock has it), no description and
    // no layout file yet.
    static TLabelSetup newSetupDefaults();
    // The setup shown while LABEL.DBF holds no row: "Default Label Setup" on the same sheet.
    static TLabelSetup emptyListDefaults();

    // The rules a user-defined sheet must pass, in order; the first broken rule's message, or
    // an empty text when the sheet passes. Margins and the fit on the paper are not checked.
    QString validLabelMessage() const;
    // Whether a row read from a table can be used at all: counts within 1 to 10 across and
    // 1 to 30 down, label and paper sizes above 0, pitches above 0 where more than one
    // column or row follows one another, margins and extra gaps not negative. The name of the
    // first column that fails, or an empty text.
    QString invalidColumn() const;

    // The sheet name the list shows: TplDescrip, or "[User Defined]" when it is empty.
    QString sheetName() const;
    bool isUserDefined() const { return Manufac.compare(QStringLiteral("USER"), Qt::CaseInsensitive) == 0; }
    // Makes the geometry user-defined: no template, printer or product, maker "USER", no
    // extra gaps and no art.
    void makeUserDefined();
    // Takes the geometry, stock and art of a catalogue sheet; its DESCRIPT becomes TplDescrip.
    void takeTemplate(const TLabelSetup &catalogueRow);

    int labelCount() const { return NbrAcross * NbrDown; }
    // Top-left corner of label `index` (0-based, row by row) on the paper, in inches, with the
    // extra gaps of the right and lower halves.
    // Requires: 0 <= index < labelCount().
    QPointF labelOrigin(int index) const;
    // Whether the sheet lies landscape for printing ("LTRL", "A4L", "USERL").
    bool isLandscape() const;

    // The seven paper entries in list order.
    static const QVector<TLabelPaper> &papers();
    // The entry of `code` (any case), or -1.
    static int paperIndex(const QString &code);
    // The three shape captions in list order ("RR", "SR", "EL"), and the list entry of a
    // code: any code other than "RR" and "SR" shows "Round".
    static QStringList shapeCaptions();
    static int shapeIndex(const QString &code);
    static QString shapeCode(int index);

    bool operator==(const TLabelSetup &o) const;
    bool operator!=(const TLabelSetup &o) const { return !(*this == o); }
};
