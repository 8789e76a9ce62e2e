#include "LineprobeCli.h"
#include "RecordCommand.h"
#include "SearchCommand.h"

#include "CDurableFile.h"
#include "CLineprobeDoc.h"
#include "CRecordingSession.h"
#include "CStderrMessages.h"
#include "CodePage.h"
#include "InfoOptions.h"
#include "LineRules.h"
#include "ListFile.h"
#include "PortErrors.h"
#include "TracePdfCommand.h"
#include "TraceReader.h"

// Qt
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cctype>
#include <cstdio>
#include <limits>

namespace LineprobeCli {

namespace {

// The most bytes one read of the recording returns.
const qsizetype RenderPiece = 2048;

void PrintLine(FILE* out, const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
}

void PrintErr(const QString& text)
{
    PrintLine(stderr, text);
}

// The command lines to stderr after a wrong one (status 2), to stdout for --help (status 0).
int Usage(FILE* out = stderr)
{
    PrintLine(out, QStringLiteral("usage: lineprobe-cli ident TEXT\n"
                                  "       lineprobe-cli ident --hex HEX64\n"
                                  "       lineprobe-cli render TRACE.tds --panel-code N "
                                  "[--line-length N] [--break HH] --out BASE\n") +
                       SearchUsage() + QStringLiteral("\n") + RecordUsage() +
                       QStringLiteral("\n       lineprobe-cli print ") + TracePdfCommand::Usage() +
                       QStringLiteral("\n       lineprobe-cli --help | --version"));
    return out == stdout ? 0 : 2;
}

// The program's own messages go to stderr as "Lineprobe: text" for the time of a command.
class StderrScope
{
public:
    StderrScope()
    {
        SetProgramTitle(QStringLiteral("Lineprobe"));
        m_previous = SetMessages(&m_sink);
    }
    ~StderrScope() { SetMessages(m_previous); }

private:
    CStderrMessages m_sink;
    CMessageSink* m_previous = nullptr;
};

} // namespace

int Run(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return Usage();
    if (arguments == QStringList{QStringLiteral("--help")})
        return Usage(stdout);
    if (arguments == QStringList{QStringLiteral("--version")}) {
        PrintVersion("lineprobe-cli");
        return 0;
    }
    const QString command = arguments.first();
    if (command == QLatin1String("ident"))
        return Ident(arguments.mid(1));
    if (command == QLatin1String("render"))
        return Render(arguments.mid(1));
    if (command == QLatin1String("search"))
        return Search(arguments.mid(1));
    if (command == QLatin1String("record"))
        return Record(arguments.mid(1));
    if (command == QLatin1String("print"))
        return TracePdfCommand::Run(arguments.mid(1));
    return Usage();
}

int Ident(const QStringList& args)
{
    QByteArray ident;
    if (args.size() == 1 && !args.first().startsWith(QLatin1String("--"))) {
        ident = ToCp1252(args.first());
    } else if (args.size() == 2 && args.first() == QLatin1String("--hex")) {
        const QByteArray hex = args.at(1).toLatin1();
        const bool digits = std::all_of(hex.begin(), hex.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c));
        });
        if (hex.size() != 64 || !digits) {
            PrintErr(QStringLiteral("Lineprobe: --hex erwartet 64 Hex-Ziffern (32 Bytes)."));
            return 2;
        }
        ident = QByteArray::fromHex(hex);
    } else {
        return Usage();
    }
    if (ident.size() != 32) {
        PrintErr(QStringLiteral("Lineprobe: Die Kennung des FAT hat 32 Zeichen, nicht %1.")
                     .arg(ident.size()));
        return 2;
    }

    StderrScope scope;
    CLineprobeDoc doc;
    QByteArray buffer = ident;
    const int panelCode = doc.DecodeIdentification(buffer);
    QJsonObject o;
    o["maker"] = FromCp1252(doc.maker);
    o["model"] = FromCp1252(doc.model);
    o["fatVersion"] = FromCp1252(doc.fatVersion);
    o["suffix"] = FromCp1252(
        CLineprobeDoc::AdaptationSuffix(panelCode, static_cast<unsigned char>(ident[22])));
    o["panelCode"] = panelCode;
    const QByteArray json = QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return panelCode != 0 ? 0 : 1;
}

int TakeTraceOption(const QStringList& args, int& i, TraceOptions& options)
{
    const QString& a = args.at(i);
    const bool hasValue = i + 1 < args.size();
    bool ok = true;
    if (a == QLatin1String("--panel-code") && hasValue) {
        options.panelCode = args.at(++i).toInt(&ok);
    } else if (a == QLatin1String("--line-length") && hasValue) {
        options.settings.lineLength = args.at(++i).toInt(&ok);
        if (ok && (options.settings.lineLength < 1 || options.settings.lineLength > 100)) {
            PrintErr(QStringLiteral("Lineprobe: Geben Sie bitte eine ganze Zahl zwischen 1 "
                                    "und 100 ein."));
            return -1;
        }
    } else if (a == QLatin1String("--break") && hasValue) {
        const QByteArray hex = args.at(++i).toLatin1();
        // Exactly two hex digits: toInt alone would take a sign or a blank.
        const bool digits =
            hex.size() == 2 && std::isxdigit(uchar(hex[0])) && std::isxdigit(uchar(hex[1]));
        options.settings.breakValue = hex.toInt(&ok, 16);
        if (!digits || !ok) {
            PrintErr(QStringLiteral("Lineprobe: Das Umbruchzeichen besteht aus zwei "
                                    "Hex-Ziffern (00 bis FF)."));
            return -1;
        }
    } else if (!a.startsWith(QLatin1String("--")) && options.trace.isEmpty()) {
        options.trace = a;
    } else {
        return 0;
    }
    return ok ? 1 : -1;
}

bool LoadTrace(const TraceOptions& options, CRecordingSession& session)
{
    const LineRules::Rule rule = LineRules::ForPanelCode(options.panelCode);
    if (rule == LineRules::Rule::None) {
        MessageBox(LineRules::UnsupportedMessage(LineRules::View::Ascii), QString(), msg::NoIcon);
        return false;
    }
    QFile file(options.trace);
    QString why;
    // Read as a stream: only what is not a regular file is refused, not a long trace.
    if (!CDurableFile::CheckReadable(options.trace, std::numeric_limits<qint64>::max(), &why) ||
        !file.open(QIODevice::ReadOnly)) {
        MessageBox(QStringLiteral("File konnte nicht geöffnet werden") +
                       (why.isEmpty() ? QString() : QLatin1Char('\n') + why),
                   QString(), msg::NoIcon);
        return false;
    }

    // The same session as a recording, fed from the trace as it is read. Chunks go to the rules
    // in pieces no longer than the recording reads, so that a trace without line ends costs no
    // more than the line index; the bytes go to the session's store, not into memory.
    session.Options().lines = options.settings;
    session.TakePanelCode(options.panelCode);
    const int error =
        TraceReader::ReadTds(file, RenderPiece,
                             [&session](TraceReader::Segment::Kind kind, const QByteArray& bytes,
                                        const QByteArray& stamp, bool first, bool last) {
                                 if (kind == TraceReader::Segment::Text)
                                     session.ShowTextLines(bytes);
                                 else if (first && last && PortErrors::IsErrorText(bytes))
                                     // The trace keeps no mark of an error line: a chunk that is
                                     // exactly one of the texts is taken as the error it almost
                                     // always is.
                                     session.ShowErrorText(bytes);
                                 else if (!bytes.isEmpty())
                                     session.ShowChunk(bytes, stamp);
                             });
    if (error != 0) {
        MessageBox(CDurableFile::ReadFailedText(options.trace, error), QString(), msg::NoIcon);
        return false;
    }
    if (const QString why = session.StoreFailureText(); !why.isEmpty()) {
        MessageBox(why + QStringLiteral(" Die Listen wurden nicht geschrieben."), QString(),
                   msg::NoIcon);
        return false;
    }
    return true;
}

int Render(const QStringList& args)
{
    TraceOptions options;
    QString base;
    for (int i = 0; i < args.size(); ++i) {
        const int taken = TakeTraceOption(args, i, options);
        if (taken < 0)
            return 2;
        if (taken > 0)
            continue;
        if (args.at(i) == QLatin1String("--out") && i + 1 < args.size())
            base = args.at(++i);
        else
            return Usage();
    }
    if (options.trace.isEmpty() || base.isEmpty() || options.panelCode < 0)
        return Usage();

    StderrScope scope;
    CLineprobeDoc doc;
    CRecordingSession session(doc);
    if (!LoadTrace(options, session))
        return 1;

    // An empty trace gives no list: the lists of an earlier rendering stay as they were.
    if (session.Lines(LineRules::View::Ascii).Count() == 0) {
        MessageBox(QStringLiteral("Die Aufzeichnung %1 enthält keine Zeilen; die Listen wurden "
                                  "nicht geschrieben.")
                       .arg(options.trace),
                   QString(), msg::NoIcon);
        return 1;
    }
    const QString asciiPath = base + QStringLiteral(".tvs");
    const QString hexPath = base + QStringLiteral(".tvh");
    const bool asciiWritten = session.WriteList(LineRules::View::Ascii, asciiPath);
    // As at the end of a recording: no hex list without an ASCII list.
    const bool hexWritten = asciiWritten && session.WriteList(LineRules::View::Hex, hexPath);
    return asciiWritten && hexWritten ? 0 : 1;
}

} // namespace LineprobeCli
