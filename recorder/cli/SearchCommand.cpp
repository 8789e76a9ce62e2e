#include "SearchCommand.h"
#include "LineprobeCli.h"

#include "CLineIndex.h"
#include "CLineprobeDoc.h"
#include "CMessages.h"
#include "CRecordingSession.h"
#include "CStderrScope.h"
#include "CTraceSearch.h"

#include <cstdio>

namespace LineprobeCli {

namespace {

// grep's exit statuses.
enum { Found = 0, NotFound = 1, Failed = 2 };

int Fail(const QString& text)
{
    const QByteArray bytes = QStringLiteral("Lineprobe: %1\n").arg(text).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    return Failed;
}

} // namespace

QString SearchUsage()
{
    return QStringLiteral("       lineprobe-cli search TRACE.tds --panel-code N "
                          "(--text T | --hex \"HH HH ...\") [--ignore-case] [--line-length N] "
                          "[--break HH]");
}

int Search(const QStringList& args)
{
    TraceOptions options;
    CTraceSearch::Query query;
    QString text, hex;
    bool hasText = false, hasHex = false;
    for (int i = 0; i < args.size(); ++i) {
        const int taken = TakeTraceOption(args, i, options);
        if (taken < 0)
            return Failed;
        if (taken > 0)
            continue;
        const QString& a = args.at(i);
        if (a == QLatin1String("--text") && i + 1 < args.size()) {
            text = args.at(++i);
            hasText = true;
        } else if (a == QLatin1String("--hex") && i + 1 < args.size()) {
            hex = args.at(++i);
            hasHex = true;
        } else if (a == QLatin1String("--ignore-case")) {
            query.ignoreCase = true;
        } else {
            return Fail(QStringLiteral("Unbekannte Angabe %1.\nusage:").arg(a) +
                        SearchUsage().mid(6));
        }
    }
    if (options.trace.isEmpty() || options.panelCode < 0 || hasText == hasHex)
        return Fail(QStringLiteral("usage:") + SearchUsage().mid(6));
    QString error;
    query.kind = hasText ? CTraceSearch::Query::Text : CTraceSearch::Query::Hex;
    const bool parsed = hasText ? CTraceSearch::ParseText(text, query.pattern, error)
                                : CTraceSearch::ParseHex(hex, query.pattern, error);
    if (!parsed)
        return Fail(error);

    SetProgramTitle(QStringLiteral("Lineprobe"));
    CStderrScope scope;
    CLineprobeDoc doc;
    CRecordingSession session(doc);
    if (!LoadTrace(options, session))
        return Failed;

    const CLineIndex& lines = session.Lines(LineRules::View::Ascii);
    CTraceSearch search;
    search.Start(lines, LineRules::View::Ascii, query);
    search.Continue(lines.Count());
    // One line of output for each line that holds a match, however many it holds.
    qsizetype printed = -1;
    QByteArray out;
    for (const CTraceSearch::Match& match : search.Matches()) {
        if (match.row == printed)
            continue;
        printed = match.row;
        out = QByteArray::number(match.row + 1) + ": " + lines.At(match.row) + '\n';
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    }
    return search.Matches().empty() ? NotFound : Found;
}

} // namespace LineprobeCli
