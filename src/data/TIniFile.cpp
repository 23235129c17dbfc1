#include "TIniFile.h"

#include "TIniDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

TIniFile::TIniFile(QString path) : m_path(std::move(path)) {}

std::optional<TIniDocument> TIniFile::load() const
{
    QFile file(m_path);
    if (!file.exists())
        return TIniDocument();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // size() is 0 for files that are not regular (a FIFO, a device); read at most one byte
    // more than allowed so such files cannot make us read forever.
    const QByteArray bytes = file.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return TIniDocument(bytes);
}

bool TIniFile::save(const TIniDocument &document) const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = document.bytes();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString TIniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    return document().text(section, key, defaultValue);
}

int TIniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    return document().integer(section, key, defaultValue);
}

TIniDocument TIniFile::document() const
{
    return load().value_or(TIniDocument());
}

bool TIniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::hasKey(const QString &section, const QString &key) const
{
    const std::optional<TIniDocument> document = load();
    return document && document->value(section, key).has_value();
}

bool TIniFile::hasSection(const QString &section) const
{
    const std::optional<TIniDocument> document = load();
    return document && document->hasSection(section);
}

QStringList TIniFile::keys(const QString &section) const
{
    const std::optional<TIniDocument> document = load();
    return document ? document->keys(section) : QStringList();
}

bool TIniFile::writeStrings(const QString &section, const QList<std::pair<QString, QString>> &values)
{
    std::optional<TIniDocument> document = load();
    if (!document)
        return false;
    for (const auto &[key, value] : values)
        document->setValue(section, key, value);
    return save(*document);
}

bool TIniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    return writeStrings(section, {{key, value}});
}

bool TIniFile::writeInteger(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool TIniFile::writeBool(const QString &section, const QString &key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::deleteKey(const QString &section, const QString &key)
{
    std::optional<TIniDocument> document = load();
    if (!document)
        return false;
    if (!document->value(section, key))
        return true;
    document->removeKey(section, key);
    return save(*document);
}
