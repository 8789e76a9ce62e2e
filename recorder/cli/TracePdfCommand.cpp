#include "TracePdfCommand.h"

#include "CMessages.h"
#include "CStderrMessages.h"
#include "CTraceLines.h"
#include "ListFile.h"
#include "PagePainter.h"
#include "TracePrintout.h"

// Qt
#include <QDate>
#include <QGuiApplication>

#include <climits>
#include <cstdio>

namespace TracePdfCommand {

namespace {

void PrintErr(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

int WrongLine()
{
    PrintErr(QStringLiteral("usage: lineprobe-cli print ") + Usage());
    return 2;
}

} // namespace

QString Usage()
{
    return QStringLiteral("TRACE (--ascii | --hex) --pdf OUT.pdf");
}

int Run(const QStringList& args)
{
    QString trace, pdf;
    int views = 0;
    LineRules::View view = LineRules::View::Ascii;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--ascii") || a == QLatin1String("--hex")) {
            view = a == QLatin1String("--hex") ? LineRules::View::Hex : LineRules::View::Ascii;
            ++views;
        } else if (a == QLatin1String("--pdf") && i + 1 < args.size() && pdf.isEmpty()) {
            pdf = args.at(++i);
        } else if (!a.startsWith(QLatin1String("--")) && trace.isEmpty()) {
            trace = a;
        } else {
            return WrongLine();
        }
    }
    if (trace.isEmpty() || pdf.isEmpty() || views != 1)
        return WrongLine();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        PrintErr(QStringLiteral("Lineprobe: Drucken braucht eine Qt-Anwendung mit Schriften."));
        return 1;
    }

    SetProgramTitle(QStringLiteral("Lineprobe"));
    CStderrMessages sink;
    CMessageSink* previous = SetMessages(&sink);
    struct Restore
    {
        CMessageSink* sink;
        ~Restore() { SetMessages(sink); }
    } restore{previous};

    // The view's own list file beside the trace path, read as the view reads it.
    const bool ascii = view == LineRules::View::Ascii;
    const QString listPath =
        ListFile::WithExtension(trace, ascii ? QStringLiteral("tvs") : QStringLiteral("tvh"));
    CTraceLines lines;
    const ListFile::LoadResult loaded = ListFile::Load(
        listPath, ascii, [&lines] { lines.Clear(); },
        [&lines](const QByteArray& line) { lines.Append(line); });
    if (loaded == ListFile::LoadResult::Failed)
        return 1;

    // The whole A4 sheet is the printable area.
    TracePrintout printout(view, TracePrintFonts::Create());
    printout.MeasurePage(2100, 2970);
    printout.Begin(
        int(qMin<qsizetype>(lines.Count(), INT_MAX)), [&lines](int i) { return lines.At(i); },
        trace, QDate::currentDate());
    QString error;
    if (!PagePainter::WritePdf(
            pdf, printout.PageCount(), [&](int page) { return printout.Page(page); }, &error,
            trace)) {
        MessageBox(error, QString(), msg::NoIcon);
        return 1;
    }
    return 0;
}

} // namespace TracePdfCommand
