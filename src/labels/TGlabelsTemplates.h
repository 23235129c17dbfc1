// The label sheet templates of the gLabels library (XML files "*-templates.xml" with the paper
// sizes in "paper-sizes.xml"), read at run time from the folder they are installed in, so the
// catalogue chooser can list the sheets of many makers beside the shipped catalogue. Only
// sheets the sheet model can hold are listed: one rectangular, round or elliptic label shape
// in one regular grid; "equiv" entries take the geometry of the part they name. Plain value
// type, filled by read().
#pragma once

#include "TLabelSetup.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

struct TGlabelsTemplate {
    QString brand;
    QString part;
    QString description;
    QString paperId;   // "US-Letter", "A4", "Other" ...
    TLabelSetup sheet; // the geometry as a user-defined sheet; TplDescrip is brand + " " + part
    bool isEquivalent = false;
};

class TGlabelsTemplates
{
public:
    // Where Debian's glabels-data package installs the templates.
    static QString defaultFolder();

    // Reads every "*-templates.xml" of `folder` and its "paper-sizes.xml". A folder that does
    // not exist reads nothing and is no failure. A file that is no well-formed template file
    // is named in errors() and the others are still read.
    void read(const QString &folder);
    // One templates file's bytes with the paper sizes already known (read() and tests).
    void readTemplates(const QByteArray &xml, const QString &fileName);
    void readPaperSizes(const QByteArray &xml);
    // Resolves the "equiv" entries read so far and sorts the list by description; read()
    // calls it.
    void resolveEquivalents();

    const QVector<TGlabelsTemplate> &templates() const { return m_templates; }
    // Entries that name a sheet the model cannot hold (CD labels, several grids, unknown
    // units or paper): brand + " " + part + ": " + the reason.
    const QStringList &skipped() const { return m_skipped; }
    const QStringList &errors() const { return m_errors; }
    // The number of Template elements read, listed or skipped.
    int entryCount() const { return m_entries; }

    // The first template of `brand` (any case) and `part`, or null.
    const TGlabelsTemplate *find(const QString &brand, const QString &part) const;

    // A length such as "2.625in", "25.4mm", "1cm", "72pt" or "72" (points) in inches; false
    // for a text that is none of these.
    static bool parseLength(const QString &text, double &inches);

private:
    struct Equivalent {
        QString brand;
        QString part;
        QString equiv;
    };
    struct Paper {
        double width = 0;
        double height = 0;
    };

    QHash<QString, Paper> m_papers;
    QVector<TGlabelsTemplate> m_templates;
    QVector<Equivalent> m_equivalents;
    QStringList m_skipped;
    QStringList m_errors;
    int m_entries = 0;
};
