// Writes address records as vCards (versions 3.0 and 4.0): UTF-8, CR LF line ends, lines folded
// at 75 bytes, text values escaped. The export run owns one writer for its file.
//
// The fields map to the card as TVCardReader reads them back: N from LNAME, FNAME, MIDDLE and
// PREFIX; FN the name as it is said; ORG, TITLE; one ADR (STREET2 as the extended address);
// PHONE as the work and PHONE2 as the home telephone; FAX; EMAIL; BDAY from an eight-digit DATE
// (any other DATE as X-CORVANTIS-DATE); CATEGORIES from CODES; NOTE from the memo; USER1 and
// USER2 as X-CORVANTIS-USER1 and X-CORVANTIS-USER2.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// One address record by field name ("LNAME" ... "MEMO"); a missing name is an empty value.
using TVCardRecord = QMap<QString, QString>;

class TVCardWriter
{
public:
    // Requires: `version` is "3.0" or "4.0".
    explicit TVCardWriter(QString version = QStringLiteral("3.0"));

    // BEGIN:VCARD to END:VCARD for one record.
    QByteArray card(const TVCardRecord &record) const;

    // Text escaped for a vCard value: backslash, comma, semicolon, and line breaks as \n.
    static QString escaped(const QString &text);
    // One content line folded into lines of at most 75 bytes, never inside a UTF-8 sequence,
    // each ended by CR LF.
    static QByteArray folded(const QByteArray &line);

private:
    QString m_version;
};
