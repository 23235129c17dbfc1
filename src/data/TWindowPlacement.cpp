#include "TWindowPlacement.h"

#include "TIniFile.h"

namespace {
constexpr int kEdgeLimit = 1 << 20;
}

TWindowPlacement::TWindowPlacement(const QRect &rect, bool maximized)
    : m_left(rect.left()), m_top(rect.top()), m_right(rect.left() + rect.width()),
      m_bottom(rect.top() + rect.height()), m_maximized(maximized)
{
}

QString TWindowPlacement::sectionName(const QString &className, int dotsPerInch)
{
    QString name = className + QStringLiteral("_Placement");
    if (dotsPerInch > 96)
        name += QString::number(dotsPerInch);
    return name;
}

TWindowPlacement TWindowPlacement::load(const TIniFile &ini, const QString &className, int dotsPerInch,
                                        bool designedMaximized)
{
    const QString section = sectionName(className, dotsPerInch);
    // Edges beyond any screen are held to a million pixels, so rectangle arithmetic on a
    // damaged file cannot overflow.
    const TIniDocument settings = ini.document();
    const auto edge = [&](const char *key) {
        return qBound(-kEdgeLimit, settings.integer(section, QLatin1String(key), 0), kEdgeLimit);
    };
    TWindowPlacement p;
    p.m_left = edge("Left");
    p.m_top = edge("Top");
    p.m_right = edge("Right");
    p.m_bottom = edge("Bottom");
    p.m_maximized = settings.logical(section, QStringLiteral("Maximized"), designedMaximized);
    return p;
}

bool TWindowPlacement::save(TIniFile &ini, const QString &className, int dotsPerInch) const
{
    return ini.writeStrings(
        sectionName(className, dotsPerInch),
        {{QStringLiteral("Left"), QString::number(m_left)},
         {QStringLiteral("Top"), QString::number(m_top)},
         {QStringLiteral("Right"), QString::number(m_right)},
         {QStringLiteral("Bottom"), QString::number(m_bottom)},
         {QStringLiteral("Maximized"), m_maximized ? QStringLiteral("1") : QStringLiteral("0")}});
}

QRect TWindowPlacement::rect() const
{
    return QRect(m_left, m_top, qMax(0, m_right - m_left), qMax(0, m_bottom - m_top));
}

QRect TWindowPlacement::fitted(const QRect &stored, const QRect &screen)
{
    QRect r = stored;
    const int screenRight = screen.left() + screen.width();
    const int screenBottom = screen.top() + screen.height();
    const int right = r.left() + r.width();
    const int bottom = r.top() + r.height();
    if (right > screenRight)
        r.moveLeft(r.left() - (right - screenRight));
    if (bottom > screenBottom)
        r.moveTop(r.top() - (bottom - screenBottom));
    return r;
}

QRect TWindowPlacement::centred(const QSize &size, const QRect &over)
{
    return QRect(over.left() + (over.width() - size.width()) / 2,
                 over.top() + (over.height() - size.height()) / 2, size.width(), size.height());
}

QRect TWindowPlacement::centredPlacement(const QSize &size, bool isMainWindow, const QRect &mainWindow,
                                         bool mainWindowMaximized, const QRect &screen)
{
    if (isMainWindow || mainWindowMaximized || !mainWindow.isValid())
        return centred(size, screen);
    return centred(size, mainWindow);
}
