// Walks a letter's text word by word for the spelling check. Merge fields ("[" + name + "]")
// are no words: nothing between brackets of one paragraph is handed out. Stateless.
#pragma once

#include <QString>

class QTextDocument;

struct TSpellWord {
    int position = -1; // document position of its first character; -1 when the text is exhausted
    int length = 0;
    QString text;
    bool isValid() const { return position >= 0; }
};

class TSpellWords
{
public:
    // The first word beginning at or after `from`. Words are runs of letters with inner
    // apostrophes; runs holding digits are skipped.
    static TSpellWord next(const QTextDocument &document, int from);
};
