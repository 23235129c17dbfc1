#include "TBrowseColumns.h"

#include "TAddressSchema.h"
#include "TFileCase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QLatin1String kRelativePath("SYSDATA/FIELDS.LST");
// No field name is longer; a longer line names nothing.
constexpr qsizetype kMaxNameLength = 32;

} // namespace

TBrowseColumns::TBrowseColumns(const QString &programFolder) : m_folder(programFolder) {}

QString TBrowseColumns::path() const
{
    return TFileCase::resolve(m_folder, kRelativePath);
}

QStringList TBrowseColumns::defaultOrder()
{
    QStringList names;
    for (const auto *list : {&TAddressSchema::storedFields(), &TAddressSchema::calculatedFields()}) {
        for (const TAddressField &f : *list)
            names.append(f.name);
    }
    return names;
}

QStringList TBrowseColumns::order(const QByteArray &bytes)
{
    QStringList fields = defaultOrder();
    const qsizetype last = fields.size() - 1;
    qsizetype line = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArray raw = bytes.mid(start, end - start).trimmed();
        start = end + 1;
        const qsizetype position = line++;
        if (raw.isEmpty() || raw.size() > kMaxNameLength)
            continue;
        const TAddressField *field = TAddressSchema::field(QString::fromLatin1(raw));
        if (!field)
            continue;
        fields.move(fields.indexOf(field->name), std::min(position, last));
    }
    return fields;
}

QStringList TBrowseColumns::read() const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return defaultOrder();
    const QByteArray bytes = file.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes || file.error() != QFileDevice::NoError)
        return defaultOrder();
    return order(bytes);
}

QByteArray TBrowseColumns::encode(const QStringList &fields)
{
    QByteArray bytes;
    for (const QString &name : fields)
        bytes += name.toLatin1() + "\r\n";
    return bytes;
}

bool TBrowseColumns::write(const QStringList &fields) const
{
    const QString target = path();
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return false;
    const QByteArray bytes = encode(fields);
    QSaveFile file(target);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
