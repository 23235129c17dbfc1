#include "TGLabelObjectFiler.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TCp1252.h"
#include "TGBasePanel.h"
#include "TGClassRegistry.h"
#include "TGGraphicControl.h"
#include "TGOwner.h"
#include "TLayoutError.h"

#include <QFile>
#include <QSaveFile>

namespace {

std::vector<const TGGraphicControl *> objectsOf(const TGBasePanel &surface)
{
    return {surface.objects().begin(), surface.objects().end()};
}

// Removes what a failed read added; the surface is as it was before the read.
void removeAdded(TGBasePanel &surface, const std::vector<TGGraphicControl *> &added)
{
    for (auto it = added.rbegin(); it != added.rend(); ++it)
        surface.deleteObject(*it);
}

struct FileBytes {
    bool exists = false;
    QByteArray bytes;
};

// A missing file is no error: `out.exists` stays false and the caller reads nothing.
TResult readWholeFile(const QString &path, FileBytes &out)
{
    out = FileBytes();
    if (!QFile::exists(path))
        return TResult::success();
    out.exists = true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return TResult::failure(LayoutMessages::cannotOpen(path));
    out.bytes = file.readAll();
    return TResult::success();
}

} // namespace

void TGLabelObjectFiler::writeObject(LayoutStreamWriter &w, const TGGraphicControl &object)
{
    w.writeObjectBegin(object.ClassName(), object.Name());
    object.WriteProperties(w);
    w.writeObjectEnd();
}

void TGLabelObjectFiler::writeList(LayoutStreamWriter &w,
                                   const std::vector<const TGGraphicControl *> &objects)
{
    w.writeListBegin();
    for (const TGGraphicControl *o : objects)
        writeObject(w, *o);
    w.writeListEnd();
}

void TGLabelObjectFiler::readList(LayoutStreamReader &r, TGOwner *owner, TGBasePanel &surface, bool paste,
                                  std::vector<TGGraphicControl *> &added, bool keepStoredNames)
{
    const std::size_t first = added.size();
    int firstFree = 0;
    r.readListBegin();
    while (!r.endOfList()) {
        const QByteArray className = r.readObjectBegin();
        std::unique_ptr<TGGraphicControl> created = TGClassRegistry::create(className, owner);
        if (!created)
            LayoutStreamReader::fail(LayoutMessages::classNotFound(TCp1252::toString(className)));
        created->setReading(true);
        created->ReadBegin();
        TGGraphicControl *object = surface.insertObject(std::move(created));
        added.push_back(object);

        // The stored name always gives way to the first free "Component" + number. Names
        // only come into use during a read, so the search goes on where the last one ended.
        const QString stored = TCp1252::toString(r.readShortString());
        QString name = stored;
        for (; firstFree <= 1000 && !keepStoredNames; ++firstFree) {
            const QString candidate = QStringLiteral("Component") + QString::number(firstFree);
            if (!owner || !owner->hasComponent(candidate)) {
                name = candidate;
                break;
            }
        }
        object->setName(name);

        while (!r.endOfList()) {
            const QByteArray property = r.readShortString();
            try {
                if (!object->ReadProperty(property, r))
                    LayoutStreamReader::fail(LayoutMessages::noProperty());
            } catch (const TLayoutError &e) {
                const QString who = object->Name().isEmpty() ? TCp1252::toString(className) : object->Name();
                throw TLayoutError{LayoutMessages::errorReading(who, TCp1252::toString(property), e.message)};
            }
        }
        // Layout objects never have children.
        if (r.readByte() != 0)
            LayoutStreamReader::fail(LayoutMessages::invalidFormat());
        if (paste) {
            object->setTop(object->Top() + kPasteOffset);
            object->setLeft(object->Left() + kPasteOffset);
        }
    }
    for (std::size_t i = first; i < added.size(); ++i) {
        added[i]->setReading(false);
        added[i]->Loaded();
    }
}

TResult TGLabelObjectFiler::readBytes(const QByteArray &bytes, TGOwner *owner, TGBasePanel &surface,
                                      bool paste, bool keepStoredNames)
{
    std::vector<TGGraphicControl *> added;
    try {
        LayoutStreamReader r(bytes);
        readList(r, owner, surface, paste, added, keepStoredNames);
    } catch (const TLayoutError &e) {
        removeAdded(surface, added);
        return TResult::failure(e.message);
    }
    return TResult::success();
}

TResult TGLabelObjectFiler::writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return TResult::failure(LayoutMessages::cannotCreate(path));
    if (file.write(bytes) != bytes.size() || !file.commit())
        return TResult::failure(LayoutMessages::cannotCreate(path));
    return TResult::success();
}

TResult TGLabelObjectFiler::readFileList(const QString &path, TGOwner *owner, TGBasePanel &surface,
                                         bool paste) const
{
    FileBytes file;
    if (const TResult opened = readWholeFile(path, file); !opened)
        return opened;
    if (!file.exists)
        return TResult::success();
    return readBytes(file.bytes, owner, surface, paste, m_keepStoredNames);
}

TResult TGLabelObjectFiler::SaveSurface(const TGBasePanel &surface, const QString &path)
{
    LayoutStreamWriter w;
    writeList(w, objectsOf(surface));
    return writeFile(path, w.bytes());
}

TResult TGLabelObjectFiler::LoadSurface(TGOwner *owner, TGBasePanel &surface, const QString &path)
{
    return readFileList(path, owner, surface, false);
}

TResult TGLabelObjectFiler::SaveSelection(const QList<TGGraphicControl *> &selection, const QString &path)
{
    if (selection.isEmpty())
        return TResult::success();
    LayoutStreamWriter w;
    writeList(w, {selection.begin(), selection.end()});
    return writeFile(path, w.bytes());
}

TResult TGLabelObjectFiler::SaveObject(const TGGraphicControl &object, const QString &path)
{
    LayoutStreamWriter w;
    writeList(w, {&object});
    return writeFile(path, w.bytes());
}

TResult TGLabelObjectFiler::PasteFile(TGOwner *owner, TGBasePanel &surface, const QString &path)
{
    return readFileList(path, owner, surface, true);
}

TResult TGLabelObjectFiler::CloneObject(const TGGraphicControl &object, TGOwner *owner, TGBasePanel &surface)
{
    LayoutStreamWriter w;
    writeList(w, {&object});
    return readBytes(w.bytes(), owner, surface, false);
}

TResult TGLabelObjectFiler::SaveReportBands(const TGBasePanel &header, const TGBasePanel &detail,
                                            const TGBasePanel &footer, const QString &path,
                                            const SettingsWriter &settings)
{
    LayoutStreamWriter w;
    writeList(w, objectsOf(header));
    writeList(w, objectsOf(detail));
    writeList(w, objectsOf(footer));
    w.writeListBegin();
    if (settings)
        settings(w);
    w.writeListEnd();
    return writeFile(path, w.bytes());
}

TResult TGLabelObjectFiler::LoadReportBands(TGOwner *owner, TGBasePanel &header, TGBasePanel &detail,
                                            TGBasePanel &footer, const QString &path,
                                            const SettingsReader &settings)
{
    FileBytes file;
    if (const TResult opened = readWholeFile(path, file); !opened)
        return opened;
    if (!file.exists)
        return TResult::success();
    std::vector<TGGraphicControl *> addedHeader, addedDetail, addedFooter;
    try {
        LayoutStreamReader r(file.bytes);
        readList(r, owner, header, false, addedHeader, m_keepStoredNames);
        readList(r, owner, detail, false, addedDetail, m_keepStoredNames);
        readList(r, owner, footer, false, addedFooter, m_keepStoredNames);
        r.readListBegin();
        if (settings)
            settings(r);
        if (r.readByte() != 0)
            LayoutStreamReader::fail(LayoutMessages::invalidValue());
    } catch (const TLayoutError &e) {
        removeAdded(footer, addedFooter);
        removeAdded(detail, addedDetail);
        removeAdded(header, addedHeader);
        return TResult::failure(e.message);
    }
    return TResult::success();
}
