#include "LineprobeCli.h"

#include "CLineprobeDoc.h"
#include "CStderrMessages.h"
#include "CTraceLines.h"
#include "CodePage.h"
#include "LineRules.h"
#include "ListFile.h"
#include "PortErrors.h"
#include "TraceReader.h"

// Qt
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>

namespace LineprobeCli {

namespace {

const char kUsage[] =
    "usage: lineprobe-cli ident TEXT\n"
    "       lineprobe-cli ident --hex HEX64\n"
    "       lineprobe-cli render TRACE.tds --panel-code N [--line-length N] [--break HH] "
    "--out BASE\n";

// The stderr sink that also counts what it showed, so a failure is never reported as success.
class CCountingMessages : public CStderrMessages
{
public:
    CCountingMessages() { m_previous = SetMessages(this); }
    ~CCountingMessages() override { SetMessages(m_previous); }
    int Show(const QString& text, const QString& caption, msg::Icon icon,
             msg::Buttons buttons) override
    {
        ++m_count;
        return CStderrMessages::Show(text, caption, icon, buttons);
    }
    int Count() const { return m_count; }

private:
    CMessageSink* m_previous = nullptr;
    int m_count = 0;
};

int UsageError(const QString& why)
{
    if (!why.isEmpty())
        MessageBox(why, QString(), msg::Warning);
    std::fputs(kUsage, stderr);
    return Usage;
}

bool IsHexDigits(const QString& text)
{
    for (const QChar c : text)
        if (!c.isDigit() && !(c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('F')))
            return false;
    return true;
}

int Ident(const QStringList& args, QTextStream& out)
{
    QByteArray ident;
    if (args.size() == 2 && args[0] == QLatin1String("--hex")) {
        if (args[1].size() != 64 || !IsHexDigits(args[1]))
            return UsageError(QStringLiteral("--hex erwartet genau 64 Hexadezimalziffern."));
        ident = QByteArray::fromHex(args[1].toLatin1());
    } else if (args.size() == 1 && !args[0].startsWith(QLatin1String("--"))) {
        ident = ToCp1252(args[0]);
    } else {
        return UsageError(QString());
    }
    if (ident.size() != 32)
        return UsageError(QStringLiteral("Die Kennung muss genau 32 Zeichen lang sein."));

    CLineprobeDoc doc;
    doc.saveFlag = 0;
    QByteArray buffer = ident;
    const int panelCode = doc.DecodeIdentification(buffer);
    QJsonObject json;
    json.insert(QStringLiteral("maker"), FromCp1252(doc.maker));
    json.insert(QStringLiteral("model"), FromCp1252(doc.model));
    json.insert(QStringLiteral("fatVersion"), FromCp1252(doc.fatVersion));
    json.insert(QStringLiteral("suffix"), FromCp1252(CLineprobeDoc::AdaptationSuffix(
                                              panelCode, static_cast<unsigned char>(ident[22]))));
    json.insert(QStringLiteral("panelCode"), panelCode);
    out << QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)) << '\n';
    return panelCode != 0 ? Success : Failed;
}

struct RenderOptions
{
    QString tracePath;
    QString base;
    int panelCode = -1;
    LineRules::Settings settings;
};

int ParseRender(const QStringList& args, RenderOptions& o)
{
    bool havePanel = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--panel-code") && hasValue) {
            bool ok = false;
            o.panelCode = args[++i].toInt(&ok);
            if (!ok)
                return UsageError(QStringLiteral("--panel-code erwartet eine Zahl."));
            havePanel = true;
        } else if (a == QLatin1String("--line-length") && hasValue) {
            bool ok = false;
            const int n = args[++i].toInt(&ok);
            if (!ok || n < 1 || n > 100)
                return UsageError(
                    QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 1 und 100 ein."));
            o.settings.lineLength = n;
        } else if (a == QLatin1String("--break") && hasValue) {
            const QString b = args[++i];
            if (b.size() != 2 || !IsHexDigits(b))
                return UsageError(QStringLiteral(
                    "Geben Sie bitte zwei Hexadezimalziffern (0 bis 9, A bis F) ein."));
            o.settings.breakValue = b.toInt(nullptr, 16);
        } else if (a == QLatin1String("--out") && hasValue) {
            o.base = args[++i];
        } else if (!a.startsWith(QLatin1String("--")) && o.tracePath.isEmpty()) {
            o.tracePath = a;
        } else {
            return UsageError(QString());
        }
    }
    if (o.tracePath.isEmpty() || o.base.isEmpty() || !havePanel)
        return UsageError(QString());
    return Success;
}

void AppendToBoth(CTraceLines& ascii, CTraceLines& hex, const QByteArray& line)
{
    ascii.Append(line);
    hex.Append(line);
}

int Render(const QStringList& args, QTextStream& out)
{
    RenderOptions o;
    if (const int rc = ParseRender(args, o); rc != Success)
        return rc;
    const LineRules::Rule rule = LineRules::ForPanelCode(o.panelCode);
    if (rule == LineRules::Rule::None) {
        MessageBox(LineRules::UnsupportedMessage(LineRules::View::Ascii), QString(), msg::NoIcon);
        return Failed;
    }
    QFile file(o.tracePath);
    if (!file.open(QIODevice::ReadOnly)) {
        MessageBox(QStringLiteral("File konnte nicht geöffnet werden"), QString(), msg::NoIcon);
        return Failed;
    }
    const QList<TraceReader::Segment> segments = TraceReader::ParseTds(file.readAll());

    CTraceLines ascii;
    CTraceLines hex;
    int chunks = 0;
    for (const TraceReader::Segment& segment : segments) {
        if (segment.kind == TraceReader::Segment::Text) {
            for (const QByteArray& line : CLineprobeDoc::TextLines(segment.bytes))
                AppendToBoth(ascii, hex, line);
        } else if (PortErrors::IsErrorText(segment.bytes)) {
            AppendToBoth(ascii, hex, segment.bytes);
            AppendToBoth(ascii, hex, QByteArray());
        } else {
            ++chunks;
            LineRules::AppendChunk(ascii, LineRules::View::Ascii, rule, o.settings, segment.bytes);
            LineRules::AppendChunk(hex, LineRules::View::Hex, rule, o.settings, segment.bytes);
        }
    }

    const QString tvs = o.base + QStringLiteral(".tvs");
    const QString tvh = o.base + QStringLiteral(".tvh");
    CCountingMessages& messages = static_cast<CCountingMessages&>(Messages());
    const int before = messages.Count();
    auto write = [](const QString& path, const CTraceLines& lines) {
        return ListFile::Write(path, int(lines.Count()), [&lines](int i) { return lines.At(i); });
    };
    write(tvs, ascii);
    if (messages.Count() != before)
        return Failed;
    write(tvh, hex);
    if (messages.Count() != before)
        return Failed;

    QJsonObject json;
    json.insert(QStringLiteral("chunks"), chunks);
    json.insert(QStringLiteral("asciiLines"), qint64(ascii.Count()));
    json.insert(QStringLiteral("hexLines"), qint64(hex.Count()));
    json.insert(QStringLiteral("tvs"), tvs);
    json.insert(QStringLiteral("tvh"), tvh);
    out << QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)) << '\n';
    return Success;
}

} // namespace

int Run(const QStringList& arguments, QTextStream& out)
{
    SetProgramTitle(QStringLiteral("Lineprobe"));
    CCountingMessages messages;
    if (arguments.isEmpty())
        return UsageError(QString());
    const QString command = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("ident"))
        return Ident(rest, out);
    if (command == QLatin1String("render"))
        return Render(rest, out);
    return UsageError(QString());
}

int Run(const QStringList& arguments)
{
    QTextStream out(stdout);
    return Run(arguments, out);
}

} // namespace LineprobeCli
