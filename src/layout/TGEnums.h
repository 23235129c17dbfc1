// The enumerations layouts store, with the identifiers streams write for their values (the
// index of a name is the value).
#pragma once

#include <array>

#define CORVANTIS_ENUM_NAMES(Type, ...)                                                                      \
    inline constexpr const char *Type##Names[] = {__VA_ARGS__};                                              \
    inline constexpr int Type##Count = static_cast<int>(sizeof(Type##Names) / sizeof(const char *));

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
CORVANTIS_ENUM_NAMES(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")

enum THighlightDirection { hdNone, hdright, hdLeft, hdUpRight, hdUpLeft, hdUp };
CORVANTIS_ENUM_NAMES(THighlightDirection, "hdNone", "hdright", "hdLeft", "hdUpRight", "hdUpLeft", "hdUp")

enum TShadowDirection { sdNone, sdRight, sdLeft, sdDownRight, sdDownLeft, sdDown };
CORVANTIS_ENUM_NAMES(TShadowDirection, "sdNone", "sdRight", "sdLeft", "sdDownRight", "sdDownLeft", "sdDown")

enum TDateFormat { dtfDateNone, dtfDateShort, dtfDateLong };
CORVANTIS_ENUM_NAMES(TDateFormat, "dtfDateNone", "dtfDateShort", "dtfDateLong")

enum TTimeFormat { dtfTimeNone, dtfTimeShort, dtfTimeLong };
CORVANTIS_ENUM_NAMES(TTimeFormat, "dtfTimeNone", "dtfTimeShort", "dtfTimeLong")

enum TZipOptions { zoAfterState, zoBeforeCity, zoAfterCountry, zoBeforeCountry };
CORVANTIS_ENUM_NAMES(TZipOptions, "zoAfterState", "zoBeforeCity", "zoAfterCountry", "zoBeforeCountry")

enum TBarCodeType { pnbc5Digit, pnbc9Digit, pnbc11Digit };
CORVANTIS_ENUM_NAMES(TBarCodeType, "pnbc5Digit", "pnbc9Digit", "pnbc11Digit")

enum TFIMType { fimTypeA, fimTypeB, fimTypeC };
CORVANTIS_ENUM_NAMES(TFIMType, "fimTypeA", "fimTypeB", "fimTypeC")

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
CORVANTIS_ENUM_NAMES(TShapeType, "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse",
                     "stCircle")

enum TLineStyle { stHorizontal, stVertical, stAngleSlopingUp, stAngleSlopingDown };
CORVANTIS_ENUM_NAMES(TLineStyle, "stHorizontal", "stVertical", "stAngleSlopingUp", "stAngleSlopingDown")

enum TFontPitch { fpDefault, fpVariable, fpFixed };
CORVANTIS_ENUM_NAMES(TFontPitch, "fpDefault", "fpVariable", "fpFixed")

enum TFontStyleBit { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
inline constexpr const char *TFontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

enum TGPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
CORVANTIS_ENUM_NAMES(TGPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                     "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge",
                     "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor")

enum TGPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
CORVANTIS_ENUM_NAMES(TGPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                     "psInsideFrame")

enum TGBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
CORVANTIS_ENUM_NAMES(TGBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                     "bsBDiagonal", "bsCross", "bsDiagCross")

enum TLabelShapeType { lsRectangle, lsRoundRect, lsEllipse };
enum TGridSize { gs4x4, gs8x8 };

// Where an Intelligent Mail barcode takes its serial number from.
enum TIMbSerialSource { imbSerialFixed, imbSerialCounter, imbSerialField };
CORVANTIS_ENUM_NAMES(TIMbSerialSource, "imbSerialFixed", "imbSerialCounter", "imbSerialField")
