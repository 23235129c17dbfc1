#include "TCurrentRecordPrint.h"

#include "TBaseReport.h"
#include "TPainterSink.h"

#include <QImage>
#include <QRegularExpression>
#include <QTextLayout>

namespace {

// The gap between the time line and the rule under the header, inches.
constexpr double kRuleAboveMargin = 0.06;

// A TAB in the text would move the writing to another tab stop and other control characters
// print as boxes, so each becomes a blank.
QString printable(QString text)
{
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return text;
}

} // namespace

TCurrentRecordChoices TCurrentRecordChoices::none()
{
    TCurrentRecordChoices c;
    c.fields.fill(false);
    c.memo = false;
    return c;
}

const std::array<TCurrentRecordPrint::Line, TCurrentRecordChoices::kFieldCount> &TCurrentRecordPrint::lines()
{
    static const std::array<Line, TCurrentRecordChoices::kFieldCount> kLines{{
        {TRecordField::Prefix, "Prefix", "PREFIX"},
        {TRecordField::Last, "Last", "LNAME"},
        {TRecordField::First, "First", "FNAME"},
        {TRecordField::Middle, "Middle", "MIDDLE"},
        {TRecordField::Title, "Title", "TITLE"},
        {TRecordField::Organization, "Organization", "ORG"},
        {TRecordField::Address1, "Address 1", "STREET"},
        {TRecordField::Address2, "Address 2", "STREET2"},
        {TRecordField::City, "City", "CITY"},
        {TRecordField::State, "State", "STATE"},
        {TRecordField::Zip, "Zip/Postal", "ZIP"},
        {TRecordField::Country, "Country", "COUNTRY"},
        {TRecordField::Phone1, "Phone 1", "PHONE"},
        {TRecordField::Phone2, "Phone 2", "PHONE2"},
        {TRecordField::Fax, "Fax", "FAX"},
        {TRecordField::EMail, "E-Mail", "EMAIL"},
        {TRecordField::Comment1, "Comment 1", "USER1"},
        {TRecordField::Comment2, "Comment 2", "USER2"},
        {TRecordField::Codes, "Codes", "CODES"},
        {TRecordField::Date, "Date", "DisplayDate"},
    }};
    return kLines;
}

TCurrentRecordPrint::TCurrentRecordPrint(TCurrentRecordValues record, TCurrentRecordChoices choices)
    : m_record(std::move(record)), m_choices(choices)
{
}

void TCurrentRecordPrint::attach(TBaseReport &job)
{
    job.setUnits(TBaseReport::unInch);
    job.setUnitsFactor(1.0);
    job.setMarginLeft(Inches(kMarginInches));
    job.setMarginRight(Inches(kMarginInches));
    job.setMarginTop(Inches(kMarginInches));
    job.setMarginBottom(Inches(kMarginInches));
    job.setLineHeightMethod(TBaseReport::lhmFont);
    job.OnBeforePrint = [this](TBaseReport &r) { setUp(r); };
    job.OnPrint = [this](TBaseReport &r) { printBody(r); };
    job.OnNewPage = [this](TBaseReport &r) { printHeader(r); };
    job.OnAfterPrint = nullptr;
    job.OnPrintHeader = nullptr;
    job.OnPrintPage = nullptr;
}

void TCurrentRecordPrint::setUp(TBaseReport &job) const
{
    job.SelectFont(QStringLiteral("Times"), 10);
    job.setMarginLeft(Inches(kMarginInches));
    job.setMarginRight(Inches(kMarginInches));
    job.setMarginTop(Inches(kMarginInches));
    job.setMarginBottom(Inches(kMarginInches));
    job.ResetSection();
    job.ClearTabStops();
    job.AddTabStop(pjLeft, job.SectionLeft(), Inches(kLabelTabWidth), HundredthsOfInch(kTabMargin),
                   BOXLINENONE);
    job.AddTabStop(pjLeft, TBaseReport::kTabAfterPrevious, Inches(kValueTabWidth),
                   HundredthsOfInch(kTabMargin), BOXLINENONE);
    printHeader(job);
}

void TCurrentRecordPrint::printHeader(TBaseReport &job) const
{
    // The page number and the time sit right-aligned in the top margin, the rule just above
    // the text area.
    job.setMarginTop(Inches(kHeaderTopInches));
    job.ResetSection();
    job.CursorHome();
    job.TextRightAlignedAt(QStringLiteral("Page ") + QString::number(job.PageNumber()), job.SectionRight());
    job.NextLine();
    const QTime time = m_time.isValid() ? m_time : QTime::currentTime();
    job.TextRightAlignedAt(time.toString(QStringLiteral("hh:mm:ss")), job.SectionRight());
    job.setMarginTop(Inches(kMarginInches));
    job.ResetSection();
    const Inches ruleY = job.SectionTop() - Inches(kRuleAboveMargin);
    job.MovePenTo({job.SectionLeft(), ruleY});
    job.DrawLineTo({job.SectionRight(), ruleY});
    job.CursorHome();
}

bool TCurrentRecordPrint::stopped(const TBaseReport &job) const
{
    return job.IsAborted() || (m_isStopped && m_isStopped());
}

void TCurrentRecordPrint::makeRoom(TBaseReport &job) const
{
    if (job.LinesLeftInSection() < 1)
        job.StartNewPage();
}

void TCurrentRecordPrint::printBody(TBaseReport &job) const
{
    for (const Line &line : lines()) {
        if (!m_choices.has(line.field))
            continue;
        if (stopped(job))
            return;
        makeRoom(job);
        job.WriteText(QStringLiteral("\t"));
        job.SetBold(true);
        job.WriteText(QString::fromLatin1(line.label));
        job.SetBold(false);
        job.WriteText(QStringLiteral("\t") + printable(m_record.value(QString::fromLatin1(line.valueName))));
        job.NextLine();
    }
    if (!m_choices.memo || stopped(job))
        return;
    const double width = (job.SectionRight() - job.SectionLeft()).value;
    // The text inside the tab's margins must hold each wrapped line.
    const double margin = kTabMargin / 100.0;
    const QStringList memo = wrapMemo(m_record.memo, job.Font(), width - 2 * margin);
    if (memo.isEmpty())
        return;
    makeRoom(job);
    job.NextLine();
    job.PushTabStops();
    job.ClearTabStops();
    job.AddTabStop(pjLeft, job.SectionLeft(), Inches(width), HundredthsOfInch(kTabMargin), BOXLINENONE);
    for (const QString &text : memo) {
        if (stopped(job))
            break;
        makeRoom(job);
        job.WriteText(QStringLiteral("\t") + text);
        job.NextLine();
    }
    job.PopTabStops();
}

QStringList TCurrentRecordPrint::wrapMemo(const QString &memo, const TFontSpec &font, double widthInches,
                                          double dotsPerInch)
{
    QImage device(1, 1, QImage::Format_ARGB32);
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    const QFont qtFont = TPainterSink::qtFont(font, dotsPerInch, &device);
    const double widthDots = widthInches * dotsPerInch;

    QStringList out;
    static const QRegularExpression kBreak(QStringLiteral("\r\n|\n|\r"));
    const QStringList paragraphs = memo.split(kBreak);
    for (const QString &text : paragraphs) {
        const QString paragraph = printable(text);
        if (paragraph.isEmpty()) {
            out.append(QString());
            continue;
        }
        QTextLayout layout(paragraph, qtFont, &device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(widthDots);
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            // The blanks a line was broken at stay at its end; they print as nothing.
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            while (!piece.isEmpty() && piece.back().isSpace())
                piece.chop(1);
            out.append(piece);
        }
    }
    if (out.size() == 1 && out.front().trimmed().isEmpty())
        out.clear();
    return out;
}
