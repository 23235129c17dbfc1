#include "TSpellChecker.h"

#include <hunspell/hunspell.hxx>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Word lists longer than this are not read (a damaged or hostile file).
constexpr qint64 kMaxUserListBytes = 16 * 1024 * 1024;
// Longer "words" are never looked up; the engine has its own limit near this.
constexpr int kMaxWordLength = 100;

} // namespace

TSpellChecker::TSpellChecker() = default;
TSpellChecker::~TSpellChecker() = default;

QString TSpellChecker::findMainDictionary(const QStringList &folders)
{
    const QStringList where = folders.isEmpty() ? QStringList{QStringLiteral("/usr/share/hunspell"),
                                                              QStringLiteral("/usr/share/myspell/dicts"),
                                                              QStringLiteral("/usr/share/myspell")}
                                                : folders;
    for (const QString &folder : where)
        for (const char *name : {"en_US", "en_GB", "en"}) {
            const QString dic = QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".dic"));
            const QString aff = QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".aff"));
            if (QFileInfo(dic).isFile() && QFileInfo(aff).isFile())
                return dic;
        }
    return {};
}

QString TSpellChecker::missingDictionaryMessage()
{
    return QStringLiteral("No spelling dictionary is installed. Install the English dictionary "
                          "(the Debian package hunspell-en-us) to check spelling.");
}

bool TSpellChecker::openMain(const QString &dicPath)
{
    m_engine.reset();
    const QFileInfo dic(dicPath);
    const QString aff = dic.path() + QLatin1Char('/') + dic.completeBaseName() + QStringLiteral(".aff");
    if (!dic.isFile() || !dic.isReadable() || !QFileInfo(aff).isReadable())
        return false;
    m_engine = std::make_unique<Hunspell>(QFile::encodeName(aff).constData(),
                                          QFile::encodeName(dicPath).constData());
    const QString encoding = QString::fromLatin1(m_engine->get_dic_encoding()).toUpper();
    m_utf8 = encoding.isEmpty() || encoding == QStringLiteral("UTF-8");
    return true;
}

bool TSpellChecker::openUser(const QString &path)
{
    m_userPath.clear();
    m_userWords.clear();
    QFile file(path);
    if (!file.exists()) {
        QSaveFile created(path);
        if (!created.open(QIODevice::WriteOnly) || !created.commit())
            return false;
        m_userPath = path;
        return true;
    }
    if (file.size() > kMaxUserListBytes || !file.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString word = line.trimmed();
        if (!word.isEmpty() && word.size() <= kMaxWordLength)
            m_userWords.insert(word);
    }
    m_userPath = path;
    return true;
}

std::string TSpellChecker::encode(const QString &word) const
{
    const QByteArray bytes = m_utf8 ? word.toUtf8() : word.toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString TSpellChecker::decode(const std::string &bytes) const
{
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return m_utf8 ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
}

bool TSpellChecker::isCorrect(const QString &word) const
{
    if (word.isEmpty() || m_userWords.contains(word) || m_ignored.contains(word))
        return true;
    if (!m_engine || word.size() > kMaxWordLength)
        return word.size() > kMaxWordLength; // too long to look up: not reported
    return m_engine->spell(encode(word));
}

QStringList TSpellChecker::suggestions(const QString &word) const
{
    QStringList result;
    if (!m_engine || word.isEmpty() || word.size() > kMaxWordLength)
        return result;
    for (const std::string &s : m_engine->suggest(encode(word))) {
        if (result.size() >= kMaxSuggestions)
            break;
        result.append(decode(s));
    }
    return result;
}

bool TSpellChecker::addWord(const QString &word)
{
    const QString trimmed = word.trimmed();
    if (trimmed.isEmpty() || m_userPath.isEmpty() || trimmed.contains(QLatin1Char('\n')))
        return false;
    QFile file(m_userPath);
    if (!file.open(QIODevice::Append))
        return false;
    const QByteArray line = trimmed.toUtf8() + '\n';
    if (file.write(line) != line.size())
        return false;
    m_userWords.insert(trimmed);
    return true;
}

void TSpellChecker::ignoreAll(const QString &word)
{
    if (!word.isEmpty())
        m_ignored.insert(word);
}
