// A window's remembered placement: its normal-state rectangle and whether it was maximised,
// kept per window class and screen density in the section class + "_Placement" (+ the
// screen's pixels per inch when above 96). The rules here are pure; the widget side is
// TWindowPlacer.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

class TIniFile;

class TWindowPlacement
{
public:
    TWindowPlacement() = default;
    // `rect` is the normal-state rectangle in screen pixels.
    TWindowPlacement(const QRect &rect, bool maximized);

    // "TAddressMain_Placement" at 96 pixels per inch or less, "TAddressMain_Placement120" at 120.
    static QString sectionName(const QString &className, int dotsPerInch);

    // Reads "Left", "Top", "Right", "Bottom" (0 when missing) and "Maximized" (default:
    // `designedMaximized`) from the window's section for that density only.
    static TWindowPlacement load(const TIniFile &ini, const QString &className, int dotsPerInch,
                                 bool designedMaximized);
    bool save(TIniFile &ini, const QString &className, int dotsPerInch) const;

    // A placement counts as stored when "Bottom" is not 0.
    bool isStored() const { return m_bottom != 0; }
    bool isMaximized() const { return m_maximized; }
    // The rectangle (Right and Bottom are exclusive edges).
    QRect rect() const;

    // Where a stored rectangle goes on a screen: when its right edge lies beyond the screen's,
    // it is shifted left by the excess (its left edge may become negative); likewise the
    // bottom edge, shifting it up. It is never shrunk.
    static QRect fitted(const QRect &stored, const QRect &screen);
    // `size` centred over `over`: left = over's left + (over's width - width) / 2, same for top.
    static QRect centred(const QSize &size, const QRect &over);
    // Where a window of `size` opens without a stored placement: the main window (and any
    // window while the main window is maximised or missing) centres on the screen, any other
    // over the main window.
    static QRect centredPlacement(const QSize &size, bool isMainWindow, const QRect &mainWindow,
                                  bool mainWindowMaximized, const QRect &screen);

private:
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    bool m_maximized = false;
};
