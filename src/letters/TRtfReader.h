// Reads RTF text into a QTextDocument: paragraphs with their alignment, indents, spacing, tab
// stops and page breaks; character formats; the page layout; pictures. What it carries is
// listed in FORMAT.md. Every input is treated as hostile: structure, nesting, word lengths,
// arguments and sizes are checked before anything is built.
#pragma once

#include <Status.h>

#include <QByteArray>

class QTextDocument;

class TRtfReader
{
public:
    // Bounds on what the reader accepts; anything beyond them is Corruption.
    static constexpr qsizetype kMaxInputBytes = 64 * 1024 * 1024;
    static constexpr int kMaxGroupDepth = 512;
    static constexpr int kMaxWordLetters = 32;
    static constexpr int kMaxArgumentDigits = 10;
    // Font and colour table entries past these are ignored.
    static constexpr int kMaxTableEntries = 4096;

    // Replaces the content and the page layout of `document` with the RTF in `bytes` (its
    // first group; bytes after it are ignored). On failure the document is left as it was and
    // the status says what is wrong (Corruption).
    static xbase::Status read(const QByteArray &bytes, QTextDocument &document);

    // True for a character that letter text holds: not a control character other than the
    // tab, not a paragraph separator (paragraphs are blocks), not the object character (only
    // pictures make one) and not one of the characters the document uses to mark frames.
    // The reader drops the others, and the writer never writes them.
    static bool isTextCharacter(char16_t c);
    // True for a character a font name holds: text, but no tab, line break or ";" (which ends
    // a font table entry).
    static bool isFontNameCharacter(char16_t c);

    // Checks only the structure: an RTF header, balanced groups within the depth limit, words
    // and arguments within their bounds, binary data within the input.
    static xbase::Status check(const QByteArray &bytes);
};
