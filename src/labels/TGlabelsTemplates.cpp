#include "TGlabelsTemplates.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

QString key(const QString &brand, const QString &part)
{
    return brand.toUpper() + QLatin1Char('\n') + part.toUpper();
}

QString attr(const QXmlStreamReader &xml, const char *name)
{
    return xml.attributes().value(QLatin1String(name)).toString();
}

// What one Label-* element of a template holds.
struct LabelShape {
    QString element;
    double width = 0;
    double height = 0;
    bool rounded = false;
    int layouts = 0;
    int nx = 0;
    int ny = 0;
    double x0 = 0, y0 = 0, dx = 0, dy = 0;
    QString fault;
};

} // namespace

QString TGlabelsTemplates::defaultFolder()
{
    return QStringLiteral("/usr/share/libglabels-3.0/templates");
}

bool TGlabelsTemplates::parseLength(const QString &text, double &inches)
{
    const QString t = text.trimmed();
    struct Unit {
        const char *suffix;
        double perInch;
    };
    static const Unit kUnits[] = {{"in", 1.0}, {"mm", 25.4}, {"cm", 2.54}, {"pt", 72.0}, {"pc", 6.0}};
    double per = 72.0; // a bare number is in points
    QString number = t;
    for (const Unit &u : kUnits) {
        if (t.endsWith(QLatin1String(u.suffix), Qt::CaseInsensitive)) {
            per = u.perInch;
            number = t.left(t.size() - 2);
            break;
        }
    }
    bool ok = false;
    const double v = number.trimmed().toDouble(&ok);
    if (!ok || !(v >= 0) || v > 1e6)
        return false;
    inches = v / per;
    return true;
}

void TGlabelsTemplates::read(const QString &folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return;
    QFile papers(dir.filePath(QStringLiteral("paper-sizes.xml")));
    if (papers.open(QIODevice::ReadOnly))
        readPaperSizes(papers.readAll());
    const QStringList files = dir.entryList({QStringLiteral("*-templates.xml")}, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            m_errors << name + QStringLiteral(": cannot be read");
            continue;
        }
        readTemplates(f.readAll(), name);
    }
    resolveEquivalents();
}

void TGlabelsTemplates::readPaperSizes(const QByteArray &bytes)
{
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Paper-size")) {
            Paper p;
            if (parseLength(attr(xml, "width"), p.width) && parseLength(attr(xml, "height"), p.height))
                m_papers.insert(attr(xml, "id"), p);
        }
    }
}

void TGlabelsTemplates::readTemplates(const QByteArray &bytes, const QString &fileName)
{
    QXmlStreamReader xml(bytes);
    TGlabelsTemplate current;
    LabelShape shape;
    QString paperId;
    double paperWidth = 0, paperHeight = 0;
    bool inTemplate = false;
    bool inLabel = false;
    bool isEquiv = false;
    int shapes = 0;

    const auto finish = [&] {
        ++m_entries;
        const QString name = current.brand + QLatin1Char(' ') + current.part;
        if (isEquiv)
            return;
        QString fault = shape.fault;
        if (fault.isEmpty() && shapes != 1)
            fault =
                shapes == 0 ? QStringLiteral("no label shape") : QStringLiteral("more than one label shape");
        if (fault.isEmpty() && shape.layouts != 1)
            fault = QStringLiteral("%1 grids of labels").arg(shape.layouts);
        if (fault.isEmpty() && (shape.nx < 1 || shape.nx > TLabelSetup::kMaxAcross || shape.ny < 1 ||
                                shape.ny > TLabelSetup::kMaxDown))
            fault = QStringLiteral("%1 x %2 labels").arg(shape.nx).arg(shape.ny);
        TLabelSetup &s = current.sheet;
        if (fault.isEmpty()) {
            const int paper = TLabelSetup::paperIndex(
                paperId == QLatin1String("US-Letter") ? QStringLiteral("LTR") : paperId);
            double w = paperWidth, h = paperHeight;
            if (paperId != QLatin1String("Other")) {
                const auto found = m_papers.constFind(paperId);
                if (found != m_papers.constEnd()) {
                    w = found->width;
                    h = found->height;
                } else if (paper < 0) {
                    fault = QStringLiteral("unknown paper size ") + paperId;
                }
            }
            if (paper >= 0 && TLabelSetup::papers().at(paper).fixed) {
                s.PaperSize = TLabelSetup::papers().at(paper).code;
                w = TLabelSetup::papers().at(paper).widthInches;
                h = TLabelSetup::papers().at(paper).heightInches;
            } else {
                s.PaperSize = w > h ? QStringLiteral("USERL") : QStringLiteral("USERP");
            }
            s.SheetWidth = static_cast<float>(w);
            s.SheetDepth = static_cast<float>(h);
        }
        if (fault.isEmpty()) {
            s.makeUserDefined();
            s.Description = name + QLatin1Char(' ') + current.description;
            s.TplDescrip = name.left(60);
            s.LblWidth = static_cast<float>(shape.width);
            s.LblHeight = static_cast<float>(shape.height);
            s.LblShape = shape.element == QLatin1String("Label-rectangle")
                             ? (shape.rounded ? QStringLiteral("RR") : QStringLiteral("SR"))
                             : QStringLiteral("EL");
            s.NbrAcross = shape.nx;
            s.NbrDown = shape.ny;
            s.LeftMarg = static_cast<float>(shape.x0);
            s.TopMarg = static_cast<float>(shape.y0);
            s.HorizPitch = static_cast<float>(shape.dx);
            s.VertPitch = static_cast<float>(shape.dy);
            if (!s.invalidColumn().isEmpty())
                fault = QStringLiteral("no sheet in ") + s.invalidColumn();
            else if (!s.validLabelMessage().isEmpty())
                fault = s.validLabelMessage();
        }
        if (!fault.isEmpty()) {
            m_skipped << name + QStringLiteral(": ") + fault;
            return;
        }
        current.paperId = paperId;
        m_templates.append(current);
    };

    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto n = xml.name();
            if (n == QLatin1String("Template")) {
                inTemplate = true;
                current = TGlabelsTemplate();
                shape = LabelShape();
                shapes = 0;
                current.brand = attr(xml, "brand");
                current.part = attr(xml, "part");
                current.description = attr(xml, "_description");
                if (current.description.isEmpty())
                    current.description = attr(xml, "description");
                paperId = attr(xml, "size");
                paperWidth = paperHeight = 0;
                if (paperId == QLatin1String("Other") && (!parseLength(attr(xml, "width"), paperWidth) ||
                                                          !parseLength(attr(xml, "height"), paperHeight)))
                    shape.fault = QStringLiteral("no paper size");
                const QString equiv = attr(xml, "equiv");
                isEquiv = !equiv.isEmpty();
                if (isEquiv)
                    m_equivalents.append({current.brand, current.part, equiv});
            } else if (inTemplate && n.startsWith(QLatin1String("Label-"))) {
                inLabel = true;
                ++shapes;
                if (shapes > 1)
                    continue;
                shape.element = n.toString();
                if (n == QLatin1String("Label-rectangle") || n == QLatin1String("Label-ellipse")) {
                    double round = 0;
                    if (!parseLength(attr(xml, "width"), shape.width) ||
                        !parseLength(attr(xml, "height"), shape.height))
                        shape.fault = QStringLiteral("no label size");
                    shape.rounded = parseLength(attr(xml, "round"), round) && round > 0;
                } else if (n == QLatin1String("Label-round")) {
                    double radius = 0;
                    if (!parseLength(attr(xml, "radius"), radius))
                        shape.fault = QStringLiteral("no radius");
                    shape.width = shape.height = 2 * radius;
                } else if (shape.fault.isEmpty()) {
                    shape.fault = QStringLiteral("a shape of kind ") + n.toString();
                }
            } else if (inLabel && n == QLatin1String("Layout")) {
                if (++shape.layouts == 1) {
                    bool nxOk = false, nyOk = false;
                    shape.nx = attr(xml, "nx").toInt(&nxOk);
                    shape.ny = attr(xml, "ny").toInt(&nyOk);
                    // A missing pitch is none: a single column or row needs none.
                    const QString dx = attr(xml, "dx"), dy = attr(xml, "dy");
                    if (!nxOk || !nyOk || !parseLength(attr(xml, "x0"), shape.x0) ||
                        !parseLength(attr(xml, "y0"), shape.y0) ||
                        (!dx.isEmpty() && !parseLength(dx, shape.dx)) ||
                        (!dy.isEmpty() && !parseLength(dy, shape.dy)))
                        shape.fault = QStringLiteral("a grid that does not read");
                }
            }
        } else if (xml.isEndElement()) {
            const auto n = xml.name();
            if (n == QLatin1String("Template") && inTemplate) {
                finish();
                inTemplate = false;
            } else if (n.startsWith(QLatin1String("Label-"))) {
                inLabel = false;
            }
        }
    }
    if (xml.hasError())
        m_errors << fileName + QStringLiteral(": ") + xml.errorString() +
                        QStringLiteral(" at line %1").arg(xml.lineNumber());
}

void TGlabelsTemplates::resolveEquivalents()
{
    QHash<QString, int> index;
    for (int i = 0; i < m_templates.size(); ++i)
        index.insert(key(m_templates.at(i).brand, m_templates.at(i).part), i);
    for (const Equivalent &e : std::as_const(m_equivalents)) {
        const auto found = index.constFind(key(e.brand, e.equiv));
        const QString name = e.brand + QLatin1Char(' ') + e.part;
        if (found == index.constEnd()) {
            m_skipped << name + QStringLiteral(": equivalent of ") + e.equiv +
                             QStringLiteral(", which is not listed");
            continue;
        }
        TGlabelsTemplate t = m_templates.at(*found);
        t.part = e.part;
        t.isEquivalent = true;
        t.sheet.TplDescrip = name.left(60);
        t.sheet.Description = name + QLatin1Char(' ') + t.description;
        index.insert(key(e.brand, e.part), static_cast<int>(m_templates.size()));
        m_templates.append(t);
    }
    m_equivalents.clear();
    // Listed by maker and part, as a user looks a product number up.
    std::stable_sort(m_templates.begin(), m_templates.end(),
                     [](const TGlabelsTemplate &a, const TGlabelsTemplate &b) {
                         return a.sheet.Description.compare(b.sheet.Description, Qt::CaseInsensitive) < 0;
                     });
}

const TGlabelsTemplate *TGlabelsTemplates::find(const QString &brand, const QString &part) const
{
    for (const TGlabelsTemplate &t : m_templates)
        if (t.brand.compare(brand, Qt::CaseInsensitive) == 0 &&
            t.part.compare(part, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}
