#include "TPrinterCalibration.h"

#include "TIniFile.h"
#include "TPrinterService.h"

#include <QLocale>
#include <QPainter>

#include <cmath>

namespace {

const QString kHorizontalOffset = QStringLiteral("HorizontalOffset");
const QString kVerticalOffset = QStringLiteral("VerticalOffset");
const QString kHorizontalScale = QStringLiteral("HorizontalScale");
const QString kVerticalScale = QStringLiteral("VerticalScale");
const QString kApplyToPdf = QStringLiteral("ApplyToPdf");

bool offsetInRange(double inches)
{
    return std::isfinite(inches) && std::abs(inches) <= TPrinterCalibration::kMaxOffsetInches + 1e-9;
}

bool scaleInRange(double percent)
{
    return std::isfinite(percent) && percent >= TPrinterCalibration::kMinScalePercent - 1e-9 &&
           percent <= TPrinterCalibration::kMaxScalePercent + 1e-9;
}

// A decimal number of the settings file, written with a point whatever the user's locale.
double readNumber(const TIniFile &ini, const QString &section, const QString &key, double defaultValue)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(ini.readString(section, key).trimmed(), &ok);
    return ok ? value : defaultValue;
}

QString numberText(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

} // namespace

bool TPrinterCalibration::isIdentity() const
{
    return horizontalOffset.value == 0.0 && verticalOffset.value == 0.0 && horizontalScale == 100.0 &&
           verticalScale == 100.0;
}

void TPrinterCalibration::bringInRange()
{
    if (!offsetInRange(horizontalOffset.value))
        horizontalOffset = Inches(0);
    if (!offsetInRange(verticalOffset.value))
        verticalOffset = Inches(0);
    if (!scaleInRange(horizontalScale))
        horizontalScale = 100.0;
    if (!scaleInRange(verticalScale))
        verticalScale = 100.0;
}

bool TPrinterCalibration::fromMeasurements(QPointF first, QPointF second, TPrinterCalibration &into)
{
    // The printer puts a point p at k * p + d on the paper. Drawing at s * p + o instead
    // lands at k * (s * p + o) + d, which is p for s = 1 / k and o = -d / k.
    const auto axis = [](double nominalFirst, double nominalSecond, double measuredFirst,
                         double measuredSecond, double &scalePercent, double &offsetInches) {
        const double k = (measuredSecond - measuredFirst) / (nominalSecond - nominalFirst);
        if (!std::isfinite(k) || k <= 0.0)
            return false;
        const double d = measuredFirst - k * nominalFirst;
        scalePercent = 100.0 / k;
        offsetInches = -d / k;
        return scaleInRange(scalePercent) && offsetInRange(offsetInches);
    };
    double sx = 0, ox = 0, sy = 0, oy = 0;
    if (!axis(kFirstCrossInches, kSecondCrossXInches, first.x(), second.x(), sx, ox) ||
        !axis(kFirstCrossInches, kSecondCrossYInches, first.y(), second.y(), sy, oy))
        return false;
    into.horizontalScale = sx;
    into.verticalScale = sy;
    into.horizontalOffset = Inches(ox);
    into.verticalOffset = Inches(oy);
    return true;
}

QPointF TPrinterCalibration::measuredFirst() const
{
    return {(kFirstCrossInches - horizontalOffset.value) * 100.0 / horizontalScale,
            (kFirstCrossInches - verticalOffset.value) * 100.0 / verticalScale};
}

QPointF TPrinterCalibration::measuredSecond() const
{
    return {(kSecondCrossXInches - horizontalOffset.value) * 100.0 / horizontalScale,
            (kSecondCrossYInches - verticalOffset.value) * 100.0 / verticalScale};
}

QTransform TPrinterCalibration::transform(double dotsPerInchX, double dotsPerInchY) const
{
    return QTransform(horizontalScale / 100.0, 0.0, 0.0, verticalScale / 100.0,
                      horizontalOffset.value * dotsPerInchX, verticalOffset.value * dotsPerInchY);
}

void TPrinterCalibration::applyTo(QPainter &painter, double dotsPerInchX, double dotsPerInchY) const
{
    painter.setTransform(transform(dotsPerInchX, dotsPerInchY));
}

QString TPrinterCalibration::sectionName(const QString &printer)
{
    // A "]" would end the section's name early.
    QString name = printer.trimmed();
    name.replace(QLatin1Char(']'), QLatin1Char('_'));
    return QStringLiteral("Printer Calibration ") + name;
}

TPrinterCalibration TPrinterCalibration::load(const TIniFile &ini, const QString &printer)
{
    TPrinterCalibration c;
    if (printer.isEmpty())
        return c;
    const QString section = sectionName(printer);
    c.horizontalOffset = Inches(readNumber(ini, section, kHorizontalOffset, 0.0));
    c.verticalOffset = Inches(readNumber(ini, section, kVerticalOffset, 0.0));
    c.horizontalScale = readNumber(ini, section, kHorizontalScale, 100.0);
    c.verticalScale = readNumber(ini, section, kVerticalScale, 100.0);
    c.applyToPdf = ini.readBool(section, kApplyToPdf, false);
    c.bringInRange();
    return c;
}

bool TPrinterCalibration::save(TIniFile &ini, const QString &printer) const
{
    TPrinterCalibration c = *this;
    c.bringInRange();
    return ini.writeStrings(sectionName(printer),
                            {{kHorizontalOffset, numberText(c.horizontalOffset.value, 4)},
                             {kVerticalOffset, numberText(c.verticalOffset.value, 4)},
                             {kHorizontalScale, numberText(c.horizontalScale, 3)},
                             {kVerticalScale, numberText(c.verticalScale, 3)},
                             {kApplyToPdf, c.applyToPdf ? QStringLiteral("1") : QStringLiteral("0")}});
}

TPrinterCalibration TPrinterCalibration::forService(const TIniFile &ini, const TPrinterService &service)
{
    const QStringList names = service.printerNames();
    const int index = service.selectedPrinter();
    if (index < 0 || index >= names.size())
        return {};
    TPrinterCalibration c = load(ini, names.at(index));
    if (service.writesFile() && !c.applyToPdf)
        return {};
    return c;
}
