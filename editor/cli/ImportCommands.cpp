#include "ImportCommands.h"

#include "QuillmarkCli.h"

#include "CQuillmarkDoc.h"
#include "CStderrScope.h"
#include "FormatConversion.h"
#include "ImportBmf.h"
#include "ImportLz.h"
#include "PanelImport.h"
#include "ProjectGuard.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"

// Qt
#include <QMap>

#include <cstdio>

namespace ImportCommands {

namespace {

int Usage(const QString& command, const QString& usage)
{
    const QByteArray line =
        (QStringLiteral("usage: quillmark-cli ") + command + ' ' + usage + '\n').toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    return 2;
}

int Fail(const QString& text)
{
    MessageBox(text);
    return 1;
}

// Saves the project under out ("Speichern unter"); the save dialog takes out.
bool SaveAs(CQuillmarkDoc& doc, CStderrScope& sink, const QString& out)
{
    sink.AddFileAnswer(out);
    return doc.SaveProject(CQuillmarkDoc::SaveAs);
}

// The BMF kind that answers CImportFormatDlg for a text format number, 0 for none.
int KindOfFormat(const QString& format)
{
    if (format == QLatin1String("2"))
        return BmfImport::KindStandard;
    if (format == QLatin1String("3"))
        return BmfImport::KindPseudo;
    if (format == QLatin1String("4"))
        return BmfImport::KindTwoLines;
    return 0;
}

QString Refused(const QString& command)
{
    return QStringLiteral("\"%1\" ist für dieses Projekt nicht möglich.").arg(command);
}

} // namespace

QString ImportBmfUsage()
{
    return QStringLiteral("PROJECT.bmt FILE.bmf --out OUT.bmt [--format 2|3|4] [--lz FILE.lz]");
}

QString ImportLzUsage()
{
    return QStringLiteral("PROJECT.bmt FILE.lz [--out OUT.bmt]");
}

QString ImportPanelUsage()
{
    return QStringLiteral("PROJECT.bmt FILE --out OUT.bmt");
}

QString ConvertUsage()
{
    return QStringLiteral("PROJECT.bmt --to 2|3|4 --out OUT.bmt");
}

int RunImportBmf(const QStringList& arguments)
{
    QMap<QString, QString> options;
    QStringList args;
    if (!QuillmarkCli::ParseOptions(arguments, {"--out", "--format", "--lz"}, options, args) ||
        args.size() != 2 || !options.contains("--out"))
        return Usage(QStringLiteral("import-bmf"), ImportBmfUsage());
    const bool formatGiven = options.contains("--format");
    const int formatKind = KindOfFormat(options.value("--format"));
    if (formatGiven && formatKind == 0)
        return Usage(QStringLiteral("import-bmf"), ImportBmfUsage());
    const bool withLz = options.contains("--lz");

    CStderrScope sink;
    sink.SetQuestionAnswer(withLz ? msg::IdYes : msg::IdNo);
    CQuillmarkDoc doc;
    if (!QuillmarkCli::Load(doc, args.at(0)))
        return 1;
    if (!ProjectRules::BmfImportEnabled(doc.Data()))
        return Fail(Refused(QStringLiteral("BMF - Dateien importieren")));
    if (withLz && doc.Data().panelType != PanelType::Bosch)
        return Fail(QStringLiteral("LZ-Daten gibt es nur in Projekten für Bosch-Zentralen."));

    sink.AddFileAnswer(args.at(1));
    if (withLz)
        sink.AddFileAnswer(options.value("--lz"));
    ImportHooks hooks;
    hooks.chooseBmfKind = [&](int formatBits) {
        if (!formatGiven) {
            MessageBox(QStringLiteral("Die Datei enthält Texte in mehreren Textformaten: "
                                      "wählen Sie eines mit --format 2, 3 oder 4."));
            return 0;
        }
        if (formatKind == BmfImport::DisabledKind(formatBits)) {
            MessageBox(QStringLiteral("Das Textformat %1 kommt in der Datei nicht vor.")
                           .arg(options.value("--format")));
            return 0;
        }
        return formatKind;
    };
    const BmfImport::Outcome outcome = BmfImport::ImportBmf(doc, hooks);
    if (!outcome.imported || (withLz && !outcome.lzImported))
        return 1;
    return SaveAs(doc, sink, options.value("--out")) ? 0 : 1;
}

int RunImportLz(const QStringList& arguments)
{
    QMap<QString, QString> options;
    QStringList args;
    if (!QuillmarkCli::ParseOptions(arguments, {"--out"}, options, args) || args.size() != 2)
        return Usage(QStringLiteral("import-lz"), ImportLzUsage());

    CStderrScope sink;
    CQuillmarkDoc doc;
    ProjectGuard guard(ProjectGuard::Policy::Refuse);
    const bool inPlace = !options.contains("--out");
    if (inPlace ? !QuillmarkCli::LoadForChange(doc, guard, args.at(0))
                : !QuillmarkCli::Load(doc, args.at(0)))
        return 1;
    if (doc.Data().panelType != PanelType::Bosch)
        return Fail(QStringLiteral("LZ-Daten gibt es nur in Projekten für Bosch-Zentralen."));
    sink.AddFileAnswer(args.at(1));
    if (!LzImport::ImportLz(doc.Data()))
        return 1;
    doc.SetModifiedFlag(true);
    if (!inPlace)
        return SaveAs(doc, sink, options.value("--out")) ? 0 : 1;
    // A project named "Unbenannt" is asked for a name again: keep its own.
    sink.AddFileAnswer(args.at(0));
    return doc.SaveProject(CQuillmarkDoc::Save) ? 0 : 1;
}

int RunImportPanel(const QStringList& arguments)
{
    QMap<QString, QString> options;
    QStringList args;
    if (!QuillmarkCli::ParseOptions(arguments, {"--out"}, options, args) || args.size() != 2 ||
        !options.contains("--out"))
        return Usage(QStringLiteral("import-panel"), ImportPanelUsage());

    CStderrScope sink;
    CQuillmarkDoc doc;
    if (!QuillmarkCli::Load(doc, args.at(0)))
        return 1;
    if (!ProjectRules::PanelTextImportEnabled(doc.Data()) ||
        PanelImport::ReaderFor(doc.Data()) == PanelImport::NoReader)
        return Fail(Refused(QStringLiteral("Zentralentexte übernehmen")));
    sink.AddFileAnswer(args.at(1));
    if (!PanelImport::ImportPanelTexts(doc, ImportHooks()).imported)
        return 1;
    return SaveAs(doc, sink, options.value("--out")) ? 0 : 1;
}

int RunConvert(const QStringList& arguments)
{
    QMap<QString, QString> options;
    QStringList args;
    if (!QuillmarkCli::ParseOptions(arguments, {"--to", "--out"}, options, args) ||
        args.size() != 1 || !options.contains("--to") || !options.contains("--out"))
        return Usage(QStringLiteral("convert"), ConvertUsage());

    CStderrScope sink;
    sink.SetQuestionAnswer(msg::IdYes); // the warning is answered OK
    CQuillmarkDoc doc;
    if (!QuillmarkCli::Load(doc, args.at(0)))
        return 1;
    if (!ProjectRules::ConvertFormatEnabled(doc.Data()))
        return Fail(Refused(QStringLiteral("Eingabeformat ändern")));
    const QString to = options.value("--to");
    int format = 0;
    for (const auto& target : FormatConversion::Targets(doc.Data().textFormat))
        if (QString::number(target.textFormat) == to)
            format = target.textFormat;
    if (format == 0)
        return Fail(QStringLiteral("Das Projekt kann nur in das Textformat %1 oder %2 "
                                   "geändert werden.")
                        .arg(FormatConversion::Targets(doc.Data().textFormat)[0].textFormat)
                        .arg(FormatConversion::Targets(doc.Data().textFormat)[1].textFormat));
    FormatConversion::Steps steps;
    steps.chooseFormat = [format](const std::array<FormatConversion::Target, 2>&) {
        return format;
    };
    if (!FormatConversion::Run(doc, steps))
        return 1;
    return SaveAs(doc, sink, options.value("--out")) ? 0 : 1;
}

} // namespace ImportCommands
