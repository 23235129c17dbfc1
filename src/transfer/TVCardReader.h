// Reads vCard files (versions 2.1, 3.0 and 4.0) into address records: folded lines joined,
// quoted-printable and the named character set decoded (UTF-8 when none is named), several cards
// per file. The import that reads the file owns the reader.
//
// The mapping (kMap in the source) puts N, FN, ORG, TITLE, the first ADR, TEL by type, the first
// EMAIL, NOTE, BDAY and CATEGORIES into the address fields; whatever has no field (a second
// address, further telephones and mail addresses, unknown properties) and every value longer
// than its field are written, in full, as lines of the memo after the note.
#pragma once

#include "TVCardWriter.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVector>

class TVCardReader
{
public:
    // True when `bytes` hold a vCard (their first non-blank line is BEGIN:VCARD).
    static bool looksLikeVCard(const QByteArray &bytes);

    // The cards of `bytes`. `widths` gives the field widths (a value longer than its field also
    // goes to the memo in full); without it nothing is measured. A card missing its END:VCARD
    // ends at the file's end. Lines outside cards, and lines without a colon, are skipped.
    QVector<TVCardRecord> read(const QByteArray &bytes, const QMap<QString, int> &widths = {});

    // Lines skipped as unreadable in the last read().
    int skippedLines() const { return m_skipped; }

private:
    int m_skipped = 0;
};
