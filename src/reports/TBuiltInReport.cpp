#include "TBuiltInReport.h"

#include "TAddressTable.h"
#include "TBaseReport.h"
#include "TCp1252.h"
#include "TCurrentRecordPrint.h"
#include "TDateText.h"

#include "Table.h"

#include <QColor>

#include <algorithm>

namespace {

// The header's distance from the top margin to the line above the headings, inches; report 4
// has three heading lines and starts them higher.
constexpr double kHeadingsDown = 0.8;
constexpr double kHeadingsDown4 = 0.5;
// The body starts this far below the top margin and ends this far above the bottom margin.
constexpr double kBodyDown = 1.0;
constexpr double kBodyUp = 0.5;
// Report 4's first line spans wider boxes than its columns: the name runs across the first two
// columns, the title and organization across the last two.
constexpr double kFullNameBox = 2.75;
constexpr double kTitleOrgBox = 4.5;

QString trimLeft(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    return text.mid(i);
}

// A TAB or another control character in a value would print as a box, so each is a blank.
QString printable(QString text)
{
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return text;
}

QString bodyFont()
{
    return QStringLiteral("Arial");
}

double bodyPoints(int report)
{
    return report == 4 ? 8.0 : 9.0;
}

} // namespace

const QStringList &TBuiltInReport::reportNames()
{
    static const QStringList kNames{
        QStringLiteral("1. Name,Address,City,State,Zip,Phone"),
        QStringLiteral("2. Name,Organization,Phone,Fax"),
        QStringLiteral("3. Organization,Name,Phone,Fax "),
        QStringLiteral("4. All major fields (takes several lines)"),
    };
    return kNames;
}

QString TBuiltInReport::orderTag(int report)
{
    return report == 3 ? QStringLiteral("ORG") : QStringLiteral("LNAME");
}

QString TBuiltInReport::defaultTitle(int report)
{
    return QStringLiteral("Report ") + QString::number(report);
}

std::array<double, 4> TBuiltInReport::columnWidths(int report)
{
    switch (report) {
    case 1:
        return {1.75, 2.15, 2.0, 1.5};
    case 2:
        return {2.0, 2.5, 1.5, 1.35};
    case 3:
        return {2.5, 2.0, 1.5, 1.35};
    default:
        return {0.5, 2.25, 3.0, 1.5};
    }
}

double TBuiltInReport::columnScale(int report, Inches pageWidth, Inches sectionWidth)
{
    if (pageWidth >= Inches(kDesignedPaperWidth) || sectionWidth <= Inches(0))
        return 1.0;
    const std::array<double, 4> w = columnWidths(report);
    const double total = w[0] + w[1] + w[2] + w[3];
    return std::min(1.0, sectionWidth.value / total);
}

TBuiltInReport::TBuiltInReport(TAddressTable &table, TBuiltInReportOptions options)
    : m_table(table), m_options(std::move(options))
{
    m_options.report = std::clamp(m_options.report, 1, 4);
}

void TBuiltInReport::attach(TBaseReport &job)
{
    job.setUnits(TBaseReport::unInch);
    job.setUnitsFactor(1.0);
    job.setLineHeightMethod(TBaseReport::lhmFont);
    job.OnBeforePrint = [this](TBaseReport &r) { BeforePrintReport(r); };
    switch (m_options.report) {
    case 1:
        job.OnPrint = [this](TBaseReport &r) { PrintReport1(r); };
        break;
    case 2:
        job.OnPrint = [this](TBaseReport &r) { PrintReport2(r); };
        break;
    case 3:
        job.OnPrint = [this](TBaseReport &r) { PrintReport3(r); };
        break;
    default:
        job.OnPrint = [this](TBaseReport &r) { PrintReport4(r); };
        break;
    }
    job.OnNewPage = nullptr;
    job.OnAfterPrint = nullptr;
    job.OnPrintHeader = nullptr;
    job.OnPrintPage = nullptr;
}

void TBuiltInReport::BeforePrintReport(TBaseReport &job)
{
    job.setMarginLeft(Inches(kOtherMargins));
    job.setMarginRight(Inches(kOtherMargins));
    job.setMarginTop(Inches(kOtherMargins));
    job.setMarginBottom(Inches(kOtherMargins));
    job.ResetSection();
    job.setStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
    job.StatusText().clear();
    job.StatusText() << QString() << QString();
}

bool TBuiltInReport::stopped(const TBaseReport &job) const
{
    return job.IsAborted() || job.progress().cancelled() || (m_isStopped && m_isStopped());
}

void TBuiltInReport::setColumns(TBaseReport &job, int report)
{
    // The section ends at the page width less the right margin, the edge the margins mean.
    const Inches sectionWidth = job.PaperWidth() - job.MarginRight() - job.MarginLeft();
    m_scale = columnScale(report, job.PaperWidth(), sectionWidth);
    const std::array<double, 4> w = columnWidths(report);
    Inches x = job.MarginLeft();
    for (size_t i = 0; i < 4; ++i) {
        m_columns[i] = x;
        m_widths[i] = Inches(w[i] * m_scale);
        x += m_widths[i];
    }
    // The engine's tab stops are the same columns, for anyone writing with TABs.
    job.ClearTabStops();
    for (size_t i = 0; i < 4; ++i)
        job.AddTabStop(pjLeft, m_columns[i], m_widths[i], HundredthsOfInch(0), BOXLINENONE);
}

void TBuiltInReport::cell(TBaseReport &job, int index, Inches width, const QString &text)
{
    if (text.isEmpty())
        return;
    const Inches x = column(index);
    const Inches y = job.CursorY();
    const Inches box = std::max(Inches(0), width - Inches(kColumnGap));
    const QString shown = printable(text);
    // Clipping costs every printed page a saved state and a clip path, so text that fits its box
    // is drawn as it is. No character is wider than an em and a bit, so a short text fits
    // without being measured.
    const Inches em = Points(job.Font().points).toInches() * 1.1;
    if (em * double(shown.size()) <= box || textWidth(job, shown) <= box) {
        m_line.push_back({{x, y}, shown});
        return;
    }
    drawLine(job); // the texts keep their order
    job.DrawTextInRect(job.InchRect({x, y}, {x + box, y + job.LineHeight()}), {x, y}, shown);
}

void TBuiltInReport::drawLine(TBaseReport &job)
{
    // One text object per line instead of one per value: fewer bytes for a PDF to write and
    // compress, and fewer calls into the painter.
    job.textsAtLeft(m_line);
    m_line.clear();
}

void TBuiltInReport::endLine(TBaseReport &job)
{
    drawLine(job);
    job.NextLine();
}

Inches TBuiltInReport::textWidth(TBaseReport &job, const QString &text)
{
    const TFontSpec &font = job.Font();
    if (!m_hasAdvances || font.name != m_advanceFont.name || font.points != m_advanceFont.points ||
        font.bold != m_advanceFont.bold || font.italic != m_advanceFont.italic) {
        for (size_t c = 0; c < m_advances.size(); ++c)
            m_advances[c] = c < 0x20 ? 0.0 : job.MeasureText(QString(QChar(char16_t(c)))).value;
        m_advanceFont = font;
        m_hasAdvances = true;
    }
    // The engine prints without kerning, so a text of single characters is as wide as their sum.
    double width = 0;
    for (const QChar c : text) {
        if (c.unicode() >= m_advances.size() || c.isSurrogate())
            return job.MeasureText(text);
        width += m_advances[c.unicode()];
    }
    return Inches(width);
}

void TBuiltInReport::printHeader(TBaseReport &job, int report)
{
    job.ResetSection();
    job.SelectFont(QStringLiteral("Times New Roman"), 14);
    job.SetBold(true);
    job.CursorHome();
    job.TextAtLeft(m_options.title, job.SectionLeft());
    job.TextRightAlignedAt(QStringLiteral("Page ") + QString::number(job.PageNumber()), job.SectionRight());
    job.NextLine();
    job.TextRightAlignedAt(m_dateText, job.SectionRight());

    job.SelectFont(bodyFont(), 9);
    job.SetBold(true);
    const double down = report == 4 ? kHeadingsDown4 : kHeadingsDown;
    // The cursor is the top of the text, so the headings' line starts right at this height and
    // ends above the rule at the body's top.
    job.MoveCursor({Inches(kLeftMargin), job.MarginTop() + Inches(down)});
    const auto headings = [&](std::initializer_list<std::pair<int, const char *>> cells) {
        for (const auto &c : cells)
            cell(job, c.first, m_widths[size_t(c.first)], QString::fromLatin1(c.second));
    };
    switch (report) {
    case 1:
        headings({{0, "Name"}, {1, "Address"}, {2, "City/St/Zip"}, {3, "Phone"}});
        break;
    case 2:
        headings({{0, "Name"}, {1, "Organization"}, {2, "Phone"}, {3, "Fax"}});
        break;
    case 3:
        headings({{0, "Organization"}, {1, "Name"}, {2, "Phone"}, {3, "Fax"}});
        break;
    default:
        headings({{0, "Name"}, {2, "Title and Organization"}});
        endLine(job);
        headings({{1, "Street"}, {2, "City/State/Zip"}, {3, "Country"}});
        endLine(job);
        headings({{1, "Phone,Fax"}, {2, "Email"}, {3, "Date"}});
        break;
    }
    drawLine(job);
    job.SetBold(false);
    job.SetItalic(false);

    job.Section(job.MarginLeft(), job.PaperWidth() - job.MarginRight(), job.MarginTop() + Inches(kBodyDown),
                job.PaperHeight() - job.MarginBottom() - Inches(kBodyUp));
    job.SelectPen(QColor(0, 0, 0), TPenStyle::Solid, 1);
    job.MovePenTo({job.SectionLeft(), job.SectionTop()});
    job.DrawLineTo({job.SectionRight(), job.SectionTop()});
    job.MovePenTo({job.SectionLeft(), job.SectionBottom()});
    job.DrawLineTo({job.SectionRight(), job.SectionBottom()});
    job.SelectFont(bodyFont(), bodyPoints(report));
    job.CursorHome();
}

void TBuiltInReport::newPage(TBaseReport &job)
{
    job.StartNewPage();
    printHeader(job, m_options.report);
}

namespace {

// The fields of TReportRecord read from the table, in the order of its members; the memo is
// read as a memo.
constexpr const char *kRecordFields[] = {"LNAME",  "FNAME", "MIDDLE", "PREFIX", "TITLE",   "ORG",
                                         "STREET", "CITY",  "STATE",  "ZIP",    "COUNTRY", "PHONE",
                                         "FAX",    "EMAIL", "DATE",   "CODES"};

} // namespace

void TBuiltInReport::findFields()
{
    static_assert(std::size(kRecordFields) == std::tuple_size<decltype(m_fields)>::value);
    const int report = m_options.report;
    // Each report reads only the fields it prints.
    const auto wanted = [&](std::string_view name) {
        if (name == "LNAME" || name == "FNAME" || name == "MIDDLE" || name == "ORG" || name == "PHONE")
            return true;
        if (name == "CODES")
            return m_options.printCodes;
        if (report == 1)
            return name == "STREET" || name == "CITY" || name == "STATE" || name == "ZIP";
        if (report == 2 || report == 3)
            return name == "FAX";
        return true;
    };
    const xbase::Table &engine = m_table.engine();
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i] = wanted(kRecordFields[i]) ? engine.schema().indexOf(kRecordFields[i]) : -1;
}

TReportRecord TBuiltInReport::readRecord() const
{
    // The values are read by the fields' places in the record, found once per run: looking
    // each one up by name cost more than printing it.
    const xbase::Table &engine = m_table.engine();
    std::string bytes;
    const auto v = [&](size_t field) {
        const int index = m_fields[field];
        if (index < 0 || !engine.fieldValue(index, bytes).ok())
            return QString();
        return TCp1252::toString(bytes.data(), qsizetype(bytes.size()));
    };
    TReportRecord r;
    QString *const into[] = {&r.lname,  &r.fname, &r.middle, &r.prefix, &r.title,   &r.org,
                             &r.street, &r.city,  &r.state,  &r.zip,    &r.country, &r.phone,
                             &r.fax,    &r.email, &r.date,   &r.codes};
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i] >= 0)
            *into[i] = v(i);
    if (m_options.printMemo)
        r.memo = m_table.memo();
    return r;
}

void TBuiltInReport::printBody(TBaseReport &job, int report)
{
    m_printed = 0;
    const QDate date = m_options.date.isValid() ? m_options.date : QDate::currentDate();
    m_dateText = date.toString(TDateText::shortDatePattern());
    findFields();
    job.setMarginLeft(Inches(kLeftMargin));
    job.SelectFont(bodyFont(), bodyPoints(report));
    setColumns(job, report);
    printHeader(job, report);

    const int needed = report == 4 ? 3 : 1;
    while (m_table.hasRecord() && !stopped(job)) {
        if (job.LinesLeftInSection() < needed)
            newPage(job);
        const TReportRecord r = readRecord();
        switch (report) {
        case 1:
            cell(job, 0, m_widths[0], nameText(r));
            cell(job, 1, m_widths[1], r.street);
            cell(job, 2, m_widths[2], cityLine(r));
            cell(job, 3, m_widths[3], r.phone);
            break;
        case 2:
            cell(job, 0, m_widths[0], nameText(r));
            cell(job, 1, m_widths[1], r.org);
            cell(job, 2, m_widths[2], r.phone);
            cell(job, 3, m_widths[3], r.fax);
            break;
        case 3:
            cell(job, 0, m_widths[0], r.org);
            cell(job, 1, m_widths[1], nameText(r));
            cell(job, 2, m_widths[2], r.phone);
            cell(job, 3, m_widths[3], r.fax);
            break;
        default:
            cell(job, 0, Inches(kFullNameBox * m_scale), fullNameText(r));
            cell(job, 2, Inches(kTitleOrgBox * m_scale), titleAndOrg(r));
            endLine(job);
            cell(job, 1, m_widths[1], r.street);
            cell(job, 2, m_widths[2], cityStateZip(r));
            cell(job, 3, m_widths[3], r.country);
            endLine(job);
            cell(job, 1, m_widths[1], phoneAndFax(r));
            cell(job, 2, m_widths[2], r.email);
            cell(job, 3, m_widths[3], r.date);
            break;
        }
        endLine(job);
        HandleCodesAndMemo(job, r);
        if (report == 4 && job.LinesLeftInSection() > 3) {
            job.SelectPen(QColor(192, 192, 192), TPenStyle::Solid, 1);
            job.MovePenTo({job.SectionLeft(), job.CursorY()});
            job.DrawLineTo({job.SectionRight(), job.CursorY()});
            job.SelectPen(QColor(0, 0, 0), TPenStyle::Solid, 1);
            job.NextLine();
        }
        ++m_printed;
        job.progress().step();
        if (m_options.singleRecord || !m_table.next())
            break;
    }
}

void TBuiltInReport::setSpanningTab(TBaseReport &job)
{
    job.ClearTabStops();
    job.AddTabStop(pjLeft, job.SectionLeft(), job.SectionRight() - job.SectionLeft(), HundredthsOfInch(0),
                   BOXLINENONE);
}

void TBuiltInReport::HandleCodesAndMemo(TBaseReport &job, const TReportRecord &record)
{
    const auto spanning = [&job](const QString &text) {
        const Inches y = job.CursorY();
        job.DrawTextInRect(job.InchRect({job.SectionLeft(), y}, {job.SectionRight(), y + job.LineHeight()}),
                           {job.SectionLeft(), y}, text);
    };
    if (m_options.printCodes && !record.codes.isEmpty()) {
        if (job.LinesLeftInSection() < 1)
            newPage(job);
        job.PushTabStops();
        setSpanningTab(job);
        spanning(QStringLiteral("Codes: ") + printable(record.codes));
        job.NextLine();
        job.PopTabStops();
    }
    if (!m_options.printMemo)
        return;
    const Inches wrapWidth = job.SectionRight() - job.SectionLeft() - Inches(kMemoIndent);
    const QStringList lines =
        TCurrentRecordPrint::wrapMemo(record.memo, job.Font(), std::max(0.0, wrapWidth.value), kScreenDpi);
    if (lines.isEmpty())
        return;
    job.PushTabStops();
    setSpanningTab(job);
    // A page whose section holds no whole line still takes one line, so a run on paper too short
    // for its lines moves on instead of starting new pages for ever.
    bool freshPage = false;
    for (const QString &line : lines) {
        if (stopped(job))
            break;
        if (!freshPage && job.LinesLeftInSection() < 1) {
            job.PopTabStops();
            newPage(job);
            job.PushTabStops();
            setSpanningTab(job);
            freshPage = true;
        } else {
            freshPage = false;
        }
        spanning(line);
        job.NextLine();
    }
    job.PopTabStops();
}

QString TBuiltInReport::nameText(const TReportRecord &r)
{
    const QString m = r.middle.isEmpty() ? QString() : r.middle + QLatin1Char('.');
    return trimLeft(r.lname + QStringLiteral(", ")) + trimLeft(r.fname + QLatin1Char(' ')) + trimLeft(m);
}

QString TBuiltInReport::cityLine(const TReportRecord &r)
{
    QString s;
    if (!r.city.isEmpty())
        s += r.city + QStringLiteral(", ");
    if (!r.state.isEmpty())
        s += r.state + QStringLiteral("  ");
    if (!r.zip.isEmpty())
        s += r.zip + QLatin1Char(' ');
    return s;
}

QString TBuiltInReport::fullNameText(const TReportRecord &r)
{
    if (r.lname.isEmpty())
        return QString();
    const QString m = r.middle.isEmpty() ? QString() : r.middle + QLatin1Char('.');
    const QString p = r.prefix.isEmpty() && r.fname.isEmpty() ? QString() : r.prefix + QLatin1Char(' ');
    return trimLeft(r.lname) + QStringLiteral(", ") + p + trimLeft(r.fname + QLatin1Char(' ')) + trimLeft(m);
}

QString TBuiltInReport::titleAndOrg(const TReportRecord &r)
{
    if (r.org.isEmpty())
        return QString();
    return r.title.isEmpty() ? r.org : r.title + QStringLiteral(", ") + r.org;
}

QString TBuiltInReport::cityStateZip(const TReportRecord &r)
{
    QString s = r.city;
    if (!r.state.isEmpty())
        s += QStringLiteral(", ") + r.state;
    if (!r.zip.isEmpty())
        s += QStringLiteral(", ") + r.zip;
    return s;
}

QString TBuiltInReport::phoneAndFax(const TReportRecord &r)
{
    QString s;
    if (!r.phone.isEmpty())
        s += QStringLiteral("Ph: ") + r.phone + QStringLiteral("  ");
    if (!r.fax.isEmpty())
        s += QStringLiteral("Fax: ") + r.fax + QStringLiteral("  ");
    return s;
}
