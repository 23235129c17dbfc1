// One tab stop of a print job's text flow: a cell on the current line, in inches.
#pragma once

#include "Units.h"

// How text sits in its cell.
enum TTabJustify { pjLeft, pjCenter, pjRight };

// Lines drawn around a cell with the current pen when text is written into it.
enum TBoxLines {
    BOXLINENONE = 0,
    BOXLINELEFT = 1,
    BOXLINERIGHT = 2,
    BOXLINETOP = 4,
    BOXLINEBOTTOM = 8,
    BOXLINEALL = 15
};

struct TTabStop {
    TTabJustify justify = pjLeft;
    Inches left; // from the paper's left edge
    Inches width;
    Inches margin; // kept free inside each side of the cell
    int boxLines = BOXLINENONE;
    int shade = 0; // percent grey behind the cell, 0 none
};
