// The name rules of a new address file: the proposed name and what a typed name may be.
#pragma once

#include <QString>

class TNewFileName
{
public:
    static constexpr int kMaxLength = 8;

    // "ADD" + the first four-digit number from 0001 to 9999 for which `dataFolder` holds no
    // file "ADD" + number + ".DBF" (names compared without regard to case); empty when all
    // are taken.
    static QString proposed(const QString &dataFolder);
    // A non-empty name of at most kMaxLength letters A-Z (any case), digits and "_" that does
    // not begin with a digit.
    static bool isValid(const QString &name);
};
