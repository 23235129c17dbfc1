// Writes and reads layout streams: surfaces, selections, single objects, the clipboard file,
// clones and the four lists of report files. Created for one operation; files are open only
// during it. Every failure comes back as a TResult with the reader's or file layer's message;
// a read that fails removes the objects it had added, so no half layout stays on a surface.
#pragma once

#include "TResult.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <vector>

class LayoutStreamReader;
class LayoutStreamWriter;
class TGBasePanel;
class TGGraphicControl;
class TGOwner;

class TGLabelObjectFiler
{
public:
    using SettingsWriter = std::function<void(LayoutStreamWriter &)>;
    using SettingsReader = std::function<void(LayoutStreamReader &)>;

    // Objects read move this many pixels right and down when pasted.
    static constexpr int kPasteOffset = 15;

    // One list with every object of the surface, bottom of the z-order first.
    TResult SaveSurface(const TGBasePanel &surface, const QString &path);
    // One list into the surface; a missing file reads nothing.
    TResult LoadSurface(TGOwner *owner, TGBasePanel &surface, const QString &path);
    // One list with the objects in selection order; with none, writes nothing and leaves any
    // existing file.
    TResult SaveSelection(const QList<TGGraphicControl *> &selection, const QString &path);
    TResult SaveObject(const TGGraphicControl &object, const QString &path);
    // Like LoadSurface, each object 15 pixels down and right of its stored place.
    TResult PasteFile(TGOwner *owner, TGBasePanel &surface, const QString &path);
    // Writes the object to memory and reads it straight back into the surface.
    TResult CloneObject(const TGGraphicControl &object, TGOwner *owner, TGBasePanel &surface);
    // The three bands as three lists, then the settings the writer produces as a fourth list.
    TResult SaveReportBands(const TGBasePanel &header, const TGBasePanel &detail, const TGBasePanel &footer,
                            const QString &path, const SettingsWriter &settings);
    // The three bands in order, then the settings reader on the fourth list.
    TResult LoadReportBands(TGOwner *owner, TGBasePanel &header, TGBasePanel &detail, TGBasePanel &footer,
                            const QString &path, const SettingsReader &settings);

    // --- In memory.
    static void writeObject(LayoutStreamWriter &w, const TGGraphicControl &object);
    static void writeList(LayoutStreamWriter &w, const std::vector<const TGGraphicControl *> &objects);
    // Reads one list into `surface`, adding the new objects to `added`. Raises TLayoutError.
    // With `keepStoredNames` the objects keep the names the stream holds instead of taking
    // "Component" + number (tools that rewrite a file unchanged use it).
    static void readList(LayoutStreamReader &r, TGOwner *owner, TGBasePanel &surface, bool paste,
                         std::vector<TGGraphicControl *> &added, bool keepStoredNames = false);
    // Reads the single list of `bytes` into the surface (used for clipboard and clone).
    static TResult readBytes(const QByteArray &bytes, TGOwner *owner, TGBasePanel &surface, bool paste,
                             bool keepStoredNames = false);

    // Reads keep the stored names (see readList); off by default.
    void setKeepStoredNames(bool keep) { m_keepStoredNames = keep; }

private:
    static TResult writeFile(const QString &path, const QByteArray &bytes);
    TResult readFileList(const QString &path, TGOwner *owner, TGBasePanel &surface, bool paste) const;

    bool m_keepStoredNames = false;
};
