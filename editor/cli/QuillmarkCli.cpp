#include "QuillmarkCli.h"

#include "CQuillmarkDoc.h"
#include "CStderrScope.h"
#include "CodePage.h"
#include "ImportCommands.h"
#include "InfoOptions.h"
#include "PdfPrintCommand.h"
#include "ProjectGuard.h"
#include "ProjectRules.h"
#include "RecordEntry.h"
#include "TransferCommands.h"

// Qt
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

#include <cstdio>

namespace QuillmarkCli {

namespace {

struct Entry
{
    QString usage;
    Command command;
};

QMap<QString, Entry>& Commands()
{
    static QMap<QString, Entry> commands;
    return commands;
}

void PrintLine(FILE* out, const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
}

// The command lines to stderr after a wrong one (status 2), to stdout for --help (status 0).
int Usage(FILE* out = stderr)
{
    PrintLine(out, QStringLiteral("usage: quillmark-cli COMMAND ..."));
    for (auto it = Commands().cbegin(); it != Commands().cend(); ++it)
        PrintLine(out, QStringLiteral("  quillmark-cli ") + it.key() + ' ' + it->usage);
    PrintLine(out, QStringLiteral("  quillmark-cli --help | --version"));
    return out == stdout ? 0 : 2;
}

// Reports a failure the way the GUI would show it in a box.
int Fail(const QString& text)
{
    PrintLine(stderr, QStringLiteral("Quillmark: ") + text);
    return 1;
}

QString Text(const char* bytes, int size)
{
    return FromCp1252(QByteArray(bytes, int(qstrnlen(bytes, size_t(size)))));
}

} // namespace

bool Load(CQuillmarkDoc& doc, const QString& path)
{
    doc.OpenProjectPath(path);
    return doc.LoadProject();
}

bool LoadForChange(CQuillmarkDoc& doc, ProjectGuard& guard, const QString& path)
{
    if (!guard.Open(path, 3000))
        return false;
    doc.SetGuard(&guard);
    if (!Load(doc, path) || !doc.ReadCompletely())
        return false;
    guard.Remember(path);
    return true;
}

bool ParseOptions(const QStringList& args, const QStringList& known,
                  QMap<QString, QString>& options, QStringList& positional)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (!a.startsWith(QLatin1String("--"))) {
            positional.append(a);
            continue;
        }
        if (!known.contains(a) || i + 1 >= args.size() || options.contains(a))
            return false;
        options.insert(a, args.at(++i));
    }
    return true;
}

void AddCommand(const QString& name, const QString& usage, Command command)
{
    Commands().insert(name, Entry{usage, std::move(command)});
}

static void AddBuiltins()
{
    if (Commands().contains(QStringLiteral("show")))
        return;
    AddCommand(QStringLiteral("show"), QStringLiteral("FILE.bmt"), Show);
    AddCommand(QStringLiteral("copy"), QStringLiteral("IN.bmt OUT.bmt"), Copy);
    AddCommand(QStringLiteral("add"),
               QStringLiteral("FILE.bmt --group G --detector D [--pseudo P] [--text1 T] "
                              "[--text2 T]"),
               Add);
    AddCommand(QStringLiteral("send"), TransferCommands::SendUsage(), TransferCommands::RunSend);
    AddCommand(QStringLiteral("read"), TransferCommands::ReadUsage(), TransferCommands::RunRead);
    AddCommand(QStringLiteral("send-lz"), TransferCommands::SendLzUsage(),
               TransferCommands::RunSendLz);
    AddCommand(QStringLiteral("read-lz"), TransferCommands::LzUsage(), TransferCommands::RunReadLz);
    AddCommand(QStringLiteral("print"), PdfPrintCommand::Usage(), PdfPrintCommand::Run);
    AddCommand(QStringLiteral("import-bmf"), ImportCommands::ImportBmfUsage(),
               ImportCommands::RunImportBmf);
    AddCommand(QStringLiteral("import-lz"), ImportCommands::ImportLzUsage(),
               ImportCommands::RunImportLz);
    AddCommand(QStringLiteral("import-panel"), ImportCommands::ImportPanelUsage(),
               ImportCommands::RunImportPanel);
    AddCommand(QStringLiteral("convert"), ImportCommands::ConvertUsage(),
               ImportCommands::RunConvert);
}

int Run(const QStringList& arguments)
{
    AddBuiltins();
    if (arguments == QStringList{QStringLiteral("--help")})
        return Usage(stdout);
    if (arguments == QStringList{QStringLiteral("--version")}) {
        PrintVersion("quillmark-cli");
        return 0;
    }
    if (arguments.isEmpty() || !Commands().contains(arguments.first()))
        return Usage();
    return Commands().value(arguments.first()).command(arguments.mid(1));
}

int Show(const QStringList& args)
{
    if (args.size() != 1)
        return Usage();
    CQuillmarkDoc doc;
    bool ok;
    {
        CStderrScope sink;
        sink.SetQuestionAnswer(msg::IdYes);
        ok = Load(doc, args.first());
    }

    const ProjectData& d = doc.Data();
    QJsonObject o;
    o["textFormat"] = d.textFormat;
    o["displayChars"] = d.displayChars;
    o["maxRecords"] = d.maxRecords;
    o["groupDigits"] = d.groupDigits;
    o["pseudoGroupDigits"] = d.pseudoGroupDigits;
    o["detectorDigits"] = d.detectorDigits;
    o["text1Length"] = d.text1Length;
    o["text2Length"] = d.text2Length;
    o["panelType"] = d.panelType;
    o["panelVariant"] = d.panelVariant;
    o["panelId"] = Text(d.panelId, sizeof d.panelId);
    o["groupOffset"] = Text(d.groupOffset, sizeof d.groupOffset);
    o["projectPath"] = doc.ProjectPath();
    QJsonArray cover;
    for (const auto& text : d.coverPage)
        cover.append(Text(text, sizeof text));
    o["coverPage"] = cover;
    QJsonArray lz;
    for (int i = 0; i < 255; ++i)
        lz.append(int(static_cast<unsigned char>(d.lzAssignment[i])));
    o["lzAssignment"] = lz;
    QJsonArray records;
    for (int row = 0; row < doc.Records().GetCount(); ++row) {
        const MessageRecord& rec = doc.Records().At(row);
        QJsonObject r;
        r["formatTag"] = FromCp1252(rec.formatTag);
        r["group"] = FromCp1252(rec.group);
        r["pseudoGroup"] = FromCp1252(rec.pseudoGroup);
        r["detector"] = FromCp1252(rec.detector);
        r["text1"] = FromCp1252(rec.text1);
        r["text2"] = FromCp1252(rec.text2);
        records.append(r);
    }
    o["records"] = records;
    const QByteArray json = QJsonDocument(o).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return ok ? 0 : 1;
}

int Copy(const QStringList& args)
{
    if (args.size() != 2)
        return Usage();
    CStderrScope sink;
    sink.SetQuestionAnswer(msg::IdYes);
    sink.AddFileAnswer(args.at(1));
    CQuillmarkDoc doc;
    return Load(doc, args.at(0)) && doc.SaveProject(CQuillmarkDoc::SaveAs) ? 0 : 1;
}

int Add(const QStringList& arguments)
{
    QMap<QString, QString> options;
    QStringList args;
    const QStringList known = {"--group", "--detector", "--pseudo", "--text1", "--text2"};
    if (!ParseOptions(arguments, known, options, args) || args.size() != 1 ||
        !options.contains("--group") || !options.contains("--detector"))
        return Usage();
    const QString group = options.value("--group");
    const QString detector = options.value("--detector");
    const QString pseudo = options.value("--pseudo");
    const QString text1 = options.value("--text1");
    const QString text2 = options.value("--text2");
    const QString path = args.first();

    CStderrScope sink;
    sink.SetQuestionAnswer(msg::IdYes);
    sink.AddFileAnswer(path); // a file named "Unbenannt" is asked for again: keep its name

    CQuillmarkDoc doc;
    ProjectGuard guard(ProjectGuard::Policy::Refuse);
    if (!LoadForChange(doc, guard, path))
        return 1;
    // The same check as the entry dialogs; the file stays untouched when it refuses.
    MessageRecord rec;
    const RecordRefusal problem =
        RecordEntry::Check(doc.Data(), {group, pseudo, detector, text1, text2}, rec);
    if (problem)
        return Fail(problem.text);
    const InsertResult inserted = doc.Records().InsertRecord(rec);
    if (inserted.refusal) {
        BeepMessageBox(inserted.refusal.text, inserted.refusal.caption);
        return 1;
    }
    doc.SetModifiedFlag(true);
    return doc.SaveProject(CQuillmarkDoc::Save) ? 0 : 1;
}

} // namespace QuillmarkCli
