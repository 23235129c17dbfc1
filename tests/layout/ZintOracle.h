// The independent encoder the barcode tests compare with: the `zint` program, run on its
// Intelligent Mail symbology, its dump read back as one state letter per bar.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The 65 bar states zint gives for `tracking` and `routing` ('F', 'A', 'D', 'T'), or an empty
// text when zint cannot be run or refuses the input.
inline QString zintIntelligentMail(const QString &tracking, const QString &routing)
{
    QProcess zint;
    const QString data = routing.isEmpty() ? tracking : tracking + QLatin1Char('-') + routing;
    zint.start(QStringLiteral("zint"), {QStringLiteral("-b"), QStringLiteral("85"), QStringLiteral("-d"),
                                        data, QStringLiteral("--dump")});
    if (!zint.waitForFinished(30000) || zint.exitCode() != 0)
        return QString();
    // Three rows (ascenders, tracker, descenders) of hexadecimal module bits; bars stand
    // in every other module.
    const QStringList lines = QString::fromLatin1(zint.readAllStandardOutput()).split(QLatin1Char('\n'));
    if (lines.size() < 3)
        return QString();
    auto modules = [](const QString &line) {
        QString bits;
        for (const QString &hex : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int value = hex.toInt(&ok, 16);
            const int width = static_cast<int>(hex.size()) * 4;
            for (int b = width - 1; b >= 0; --b)
                bits.append(QLatin1Char((value >> b) & 1 ? '1' : '0'));
        }
        return bits;
    };
    const QString ascenders = modules(lines[0]);
    const QString descenders = modules(lines[2]);
    QString bars;
    for (int i = 0; i + 1 <= ascenders.size() && i < descenders.size() && bars.size() < 65; i += 2) {
        const bool up = ascenders[i] == QLatin1Char('1');
        const bool down = descenders[i] == QLatin1Char('1');
        bars.append(QLatin1Char(up && down ? 'F' : up ? 'A' : down ? 'D' : 'T'));
    }
    return bars;
}
