#include "TPresortFile.h"

#include "TProgramFolder.h"

#include <QFile>
#include <QSaveFile>

namespace {

QString damaged(const QString &why)
{
    return QStringLiteral("The presort file PRESORT.PSL is damaged: ") + why;
}

} // namespace

QString TPresortFile::defaultPath()
{
    return TProgramFolder::file(QStringLiteral("PRESORT.PSL"));
}

QByteArray TPresortFile::encode(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toLatin1();
        bytes += "\r\n";
    }
    return bytes;
}

TResult TPresortFile::decode(const QByteArray &bytes, QStringList &lines)
{
    lines.clear();
    QStringList out;
    qsizetype start = 0;
    int number = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        if (end > start && bytes.at(end - 1) == '\r')
            --end;
        ++number;
        const QByteArray line = bytes.mid(start, end - start);
        start = next;
        const auto where = [number](const char *what) {
            return TResult::failure(
                damaged(QStringLiteral("line %1 %2").arg(number).arg(QLatin1String(what))),
                xbase::StatusCode::Corruption);
        };
        for (char c : line) {
            if (uchar(c) < 0x20 || uchar(c) > 0x7E)
                return where("holds a character that is not printable text");
        }
        const QString text = QString::fromLatin1(line);
        if (isHeader(text)) {
            if (text.size() > kMaxHeaderLength)
                return where("is a group header too long for a label");
        } else if (text.isEmpty()) {
            return where("is empty");
        } else if (text.size() > kMaxKeyLength || text.endsWith(QLatin1Char(' '))) {
            return where("is neither a group header nor a ZIP key");
        }
        out.append(text);
    }
    lines = out;
    return TResult::success();
}

TResult TPresortFile::save(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    const QByteArray bytes = encode(lines);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return TResult::failure(QStringLiteral("Unable to write ") + path + QStringLiteral(": ") +
                                    file.errorString(),
                                xbase::StatusCode::IoError);
    return TResult::success();
}

TResult TPresortFile::load(const QString &path, QStringList &lines)
{
    lines.clear();
    QFile file(path);
    if (!file.exists())
        return TResult::failure(QStringLiteral("File ") + path + QStringLiteral(" not found"),
                                xbase::StatusCode::NotFound);
    if (!file.open(QIODevice::ReadOnly))
        return TResult::failure(QStringLiteral("Unable to read ") + path + QStringLiteral(": ") +
                                    file.errorString(),
                                xbase::StatusCode::IoError);
    if (file.size() > kMaxBytes)
        return TResult::failure(damaged(QStringLiteral("it is larger than any presort")),
                                xbase::StatusCode::Corruption);
    const QByteArray bytes = file.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes)
        return TResult::failure(damaged(QStringLiteral("it is larger than any presort")),
                                xbase::StatusCode::Corruption);
    if (file.error() != QFileDevice::NoError)
        return TResult::failure(QStringLiteral("Unable to read ") + path + QStringLiteral(": ") +
                                    file.errorString(),
                                xbase::StatusCode::IoError);
    return decode(bytes, lines);
}
