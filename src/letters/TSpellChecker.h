// The spelling engine of the letter designer: Hunspell with a main dictionary (Debian's
// hunspell-en-us, or one given), the user's word list "corvanu.dct" (one word a line, UTF-8)
// and the words ignored for this session. Owned by the spell-check dialog for one check.
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

class TSpellChecker
{
public:
    static constexpr int kMaxSuggestions = 10;

    TSpellChecker();
    ~TSpellChecker();
    TSpellChecker(const TSpellChecker &) = delete;
    TSpellChecker &operator=(const TSpellChecker &) = delete;

    // The ".dic" file of the first English dictionary installed in `folders` (Debian's
    // folders when empty), or an empty text when there is none.
    static QString findMainDictionary(const QStringList &folders = {});
    // The message shown when no main dictionary is installed.
    static QString missingDictionaryMessage();

    // Opens the main dictionary `dicPath` (its ".aff" beside it). False when either file is
    // missing or unreadable; the checker then knows no word.
    bool openMain(const QString &dicPath);
    // Opens the user's word list, creating it empty when missing. False when it can neither
    // be read nor created; checking works without it, and addWord() then fails.
    bool openUser(const QString &path);
    bool hasMain() const { return m_engine != nullptr; }
    bool hasUser() const { return !m_userPath.isEmpty(); }

    // True for a word of the main dictionary, the user's list or the ignored words.
    bool isCorrect(const QString &word) const;
    // At most kMaxSuggestions replacements from the engine.
    QStringList suggestions(const QString &word) const;
    // Appends `word` to the user's list (and knows it from now on). False for an empty word,
    // without a user list or when the file cannot be written.
    bool addWord(const QString &word);
    // Knows `word` until the checker is closed.
    void ignoreAll(const QString &word);

private:
    std::string encode(const QString &word) const;
    QString decode(const std::string &bytes) const;

    std::unique_ptr<Hunspell> m_engine;
    bool m_utf8 = true;
    QString m_userPath;
    QSet<QString> m_userWords;
    QSet<QString> m_ignored;
};
