#include "TransferCommands.h"

#include "CFatCommands.h"
#include "CHeadlessTransfer.h"
#include "CQuillmarkDoc.h"
#include "CSerial.h"
#include "CStderrScope.h"
#include "ProjectRules.h"
#include "TransferTypes.h"

#include <cstdio>

namespace TransferCommands {

namespace {

void PrintError(const QString& text)
{
    const QByteArray bytes = QStringLiteral("quillmark-cli: %1\n").arg(text).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

int Usage(const QString& command, const QString& usage)
{
    PrintError(QStringLiteral("usage: quillmark-cli %1 %2").arg(command, usage));
    return 2;
}

// The common line: one project path, the port (--port DEVICE or --com N), and the answer
// to the command's question where it has one (--yes, or --force for send-lz).
struct Line
{
    QString path;
    QString device;
    int com = 0;
    bool yes = false;
    int timeoutSeconds = 60; // the whole transfer
};

// yesOption: the option that answers the command's question with Yes; empty when it asks none.
bool ParseLine(const QStringList& args, const QString& yesOption, Line& line)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--port") && i + 1 < args.size() && line.device.isEmpty() &&
            line.com == 0) {
            line.device = args.at(++i);
            if (line.device.isEmpty())
                return false;
        } else if (a == QLatin1String("--com") && i + 1 < args.size() && line.device.isEmpty() &&
                   line.com == 0) {
            bool ok = false;
            line.com = args.at(++i).toInt(&ok);
            if (!ok || line.com < 1 || line.com > 4)
                return false;
        } else if (a == QLatin1String("--timeout") && i + 1 < args.size()) {
            bool ok = false;
            line.timeoutSeconds = args.at(++i).toInt(&ok);
            if (!ok || line.timeoutSeconds < 1 || line.timeoutSeconds > 86400)
                return false;
        } else if (!yesOption.isEmpty() && a == yesOption) {
            line.yes = true;
        } else if (a.startsWith(QLatin1String("--")) || !line.path.isEmpty()) {
            return false;
        } else {
            line.path = a;
        }
    }
    return !line.path.isEmpty() && (!line.device.isEmpty() || line.com != 0);
}

void ConfigurePort(CSerial& serial, const Line& line)
{
    serial.SetProgram(QStringLiteral("Quillmark"));
    if (!line.device.isEmpty())
        serial.SetPortName(line.device);
    else
        serial.SetComPort(line.com);
}

// Runs one transfer headless and reports what the window would not: a line error, which the
// window leaves for the user to see. A port that did not open has told its reason already.
CFatCommands::TransferRunner Runner(CQuillmarkDoc& doc, CSerial& serial, int timeoutSeconds)
{
    return [&doc, &serial, timeoutSeconds](int mode, const std::function<void()>& opened) {
        switch (CHeadlessTransfer::Run(mode, doc, serial, TransferTimeouts(), timeoutSeconds * 1000,
                                       opened)) {
        case CHeadlessTransfer::Success:
            return true;
        case CHeadlessTransfer::PortNotOpened:
            return false;
        case CHeadlessTransfer::LineErrorStop:
            PrintError(QStringLiteral("a line error stopped the transfer"));
            return false;
        case CHeadlessTransfer::TimedOut:
            PrintError(QStringLiteral("Die Übertragung wurde nach %1 Sekunden abgebrochen; "
                                      "das FAT hat sie nicht beendet.")
                           .arg(timeoutSeconds));
            return false;
        case CHeadlessTransfer::Failure:
            break;
        }
        return false;
    };
}

bool LoadProject(CQuillmarkDoc& doc, const QString& path)
{
    doc.OpenProjectPath(path);
    return doc.LoadProject();
}

int RunLz(const QStringList& args, const QString& command, bool send)
{
    Line line;
    if (!ParseLine(args, send ? QStringLiteral("--force") : QString(), line))
        return Usage(command, send ? SendLzUsage() : LzUsage());
    CStderrScope sink;
    sink.SetQuestionAnswer(line.yes ? msg::IdYes : msg::IdNo);
    CQuillmarkDoc doc;
    bool ok = LoadProject(doc, line.path);
    if (ok && !ProjectRules::LzCodingEnabled(doc.Data())) {
        PrintError(QStringLiteral("the LZ coding exists only for Bosch projects"));
        ok = false;
    }
    if (ok) {
        CSerial serial;
        ConfigurePort(serial, line);
        CFatCommands commands(doc, Runner(doc, serial, line.timeoutSeconds));
        ok = send ? commands.SendLzCoding() : commands.ReadLzCoding();
        if (ok && !send) {
            sink.AddFileAnswer(line.path);
            ok = doc.SaveProject(CQuillmarkDoc::SaveAs);
        }
    }
    return ok ? 0 : 1;
}

} // namespace

QString SendUsage()
{
    return QStringLiteral("FILE.bmt (--port DEVICE | --com N) [--yes] [--timeout SECONDS]");
}

QString ReadUsage()
{
    return QStringLiteral("OUT.bmt (--port DEVICE | --com N) [--timeout SECONDS]");
}

QString SendLzUsage()
{
    return QStringLiteral("FILE.bmt (--port DEVICE | --com N) [--force] [--timeout SECONDS]");
}

QString LzUsage()
{
    return QStringLiteral("FILE.bmt (--port DEVICE | --com N) [--timeout SECONDS]");
}

int RunSend(const QStringList& args)
{
    Line line;
    if (!ParseLine(args, QStringLiteral("--yes"), line))
        return Usage(QStringLiteral("send"), SendUsage());
    CStderrScope sink;
    sink.SetQuestionAnswer(line.yes ? msg::IdYes : msg::IdNo);
    CQuillmarkDoc doc;
    bool ok = LoadProject(doc, line.path);
    if (ok) {
        CSerial serial;
        ConfigurePort(serial, line);
        CFatCommands commands(doc, Runner(doc, serial, line.timeoutSeconds));
        ok = commands.SendTexts();
    }
    return ok ? 0 : 1;
}

int RunRead(const QStringList& args)
{
    Line line;
    if (!ParseLine(args, QString(), line))
        return Usage(QStringLiteral("read"), ReadUsage());
    CStderrScope sink;
    // A new project whose texts come from the FAT.
    CQuillmarkDoc doc;
    doc.Data().textFormat = FormatFromFat;
    doc.Data().panelType = PanelNone;
    doc.SetModifiedFlag(false); // nothing to save yet
    CSerial serial;
    ConfigurePort(serial, line);
    CFatCommands commands(doc, Runner(doc, serial, line.timeoutSeconds));
    bool ok = commands.ReadTexts();
    if (ok) {
        sink.AddFileAnswer(line.path);
        ok = doc.SaveProject(CQuillmarkDoc::SaveAs);
    }
    return ok ? 0 : 1;
}

int RunSendLz(const QStringList& args)
{
    return RunLz(args, QStringLiteral("send-lz"), true);
}

int RunReadLz(const QStringList& args)
{
    return RunLz(args, QStringLiteral("read-lz"), false);
}

} // namespace TransferCommands
