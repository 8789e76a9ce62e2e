#include "CsvCommands.h"

#include "QuillmarkCli.h"

#include "CQuillmarkDoc.h"
#include "CStderrScope.h"
#include "CsvFile.h"
#include "CsvImport.h"

// Qt
#include <QMap>

namespace CsvCommands {

QString ExportUsage()
{
    return QStringLiteral("PROJECT.bmt --out FILE.csv");
}

QString ImportUsage()
{
    return QStringLiteral("PROJECT.bmt FILE.csv --out OUT.bmt [--skip-invalid]");
}

int RunExport(const QStringList& arguments)
{
    QMap<QString, QString> options;
    QStringList args;
    if (!QuillmarkCli::ParseOptions(arguments, {"--out"}, options, args) || args.size() != 1 ||
        !options.contains("--out"))
        return QuillmarkCli::CommandUsage(QStringLiteral("export-csv"), ExportUsage());
    CStderrScope sink;
    CQuillmarkDoc doc;
    if (!QuillmarkCli::Load(doc, args.at(0)))
        return 1;
    QString problem;
    if (!CsvFile::WriteFile(options.value("--out"), CsvFile::Export(doc), problem)) {
        MessageBox(problem, QString(), msg::Error);
        return 1;
    }
    return 0;
}

int RunImport(const QStringList& arguments)
{
    QStringList rest = arguments;
    const bool skipInvalid = rest.removeAll(QStringLiteral("--skip-invalid")) > 0;
    QMap<QString, QString> options;
    QStringList args;
    if (!QuillmarkCli::ParseOptions(rest, {"--out"}, options, args) || args.size() != 2 ||
        !options.contains("--out"))
        return QuillmarkCli::CommandUsage(QStringLiteral("import-csv"), ImportUsage());
    CStderrScope sink;
    CQuillmarkDoc doc;
    if (!QuillmarkCli::Load(doc, args.at(0)))
        return 1;
    QByteArray bytes;
    QString problem;
    if (!CsvFile::ReadFile(args.at(1), bytes, problem)) {
        MessageBox(problem, QString(), msg::Error);
        return 1;
    }
    const CsvImport::Result result = CsvImport::Import(doc, bytes, skipInvalid);
    if (!result.refusal.isEmpty()) {
        MessageBox(result.refusal, QString(), msg::Error);
        return 1;
    }
    for (const QString& line : result.problems)
        MessageBox(line);
    if (!result.problems.isEmpty() && !skipInvalid)
        return 1;
    MessageBox(result.Summary(), QString(), msg::Information);
    sink.AddFileAnswer(options.value("--out"));
    return doc.SaveProject(CQuillmarkDoc::SaveAs) ? 0 : 1;
}

} // namespace CsvCommands
