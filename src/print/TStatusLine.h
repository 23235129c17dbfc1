// Builds a job's status line from its status format: "%p" the page number, "%0" to "%9" the
// lines of the status text (nothing when there are fewer), "%%" one "%", "%f" and "%l" the
// first and last page; letters in either case. Any other "%" sequence stays as it is.
#pragma once

#include <QString>
#include <QStringList>

class TStatusLine
{
public:
    static QString format(const QString &statusFormat, int pageNumber, const QStringList &statusText,
                          int firstPage, int lastPage);
    // The text as a label shows it: each carriage return breaks the line.
    static QString labelText(const QString &statusLine);
};
