// The search of the "Search" window: jumps to the first visible record, in the table's current
// order, whose key begins with a typed text. Stateless; works on the table it is given.
#pragma once

#include <QString>

class TAddressTable;

class TAddressSearch
{
public:
    // The typed text in capitals as the engine writes its keys: only the letters Windows-1252
    // has in both cases change, and no letter becomes two (so "ß" stays one character).
    static QString keyText(const QString &text);

    // Requires: the table ordered by the chosen tag. Turns `text` into capitals (keyText),
    // switches exact comparison off and soft seek on, remembers the current record and seeks.
    // A seek that fails returns to the remembered record (an error there is ignored); soft
    // seek is off again afterwards. True when a record whose key begins with the text is now
    // current; false leaves the current record as it was. An empty text does nothing.
    static bool search(TAddressTable &table, const QString &text);
};
