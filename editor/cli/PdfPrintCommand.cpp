#include "PdfPrintCommand.h"

#include "CQuillmarkDoc.h"
#include "CStderrMessages.h"
#include "PagePainter.h"
#include "ProjectPrintout.h"

// Qt
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace PdfPrintCommand {

namespace {

int Fail(const QString& text)
{
    const QByteArray bytes = (QStringLiteral("Quillmark: ") + text).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    return 1;
}

int WrongLine()
{
    const QByteArray bytes = ("usage: quillmark-cli print " + Usage()).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    return 2;
}

} // namespace

QString Usage()
{
    return QStringLiteral("PROJECT.bmt --pdf OUT.pdf");
}

int Run(const QStringList& args)
{
    QString project, pdf;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--pdf") && i + 1 < args.size() && pdf.isEmpty())
            pdf = args.at(++i);
        else if (!a.startsWith(QLatin1String("--")) && project.isEmpty())
            project = a;
        else
            return WrongLine();
    }
    if (project.isEmpty() || pdf.isEmpty())
        return WrongLine();

    // Fonts are measured through the GUI part of Qt; main() starts it for this command.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return Fail(QStringLiteral("Drucken braucht eine Qt-Anwendung mit Schriften."));

    CStderrMessages sink;
    sink.SetQuestionAnswer(msg::IdYes);
    CMessageSink* previous = SetMessages(&sink);
    struct Restore
    {
        CMessageSink* sink;
        ~Restore() { SetMessages(sink); }
    } restore{previous};

    CQuillmarkDoc doc;
    doc.OpenProjectPath(project);
    if (!doc.LoadProject())
        return 1;
    // The window disables printing for an empty list; here it is refused the same way.
    if (doc.Records().GetCount() == 0)
        return Fail(QStringLiteral("Das Projekt enthält keine Texte, es wird nichts gedruckt."));

    // The whole sheet is printable: no offsets.
    PrintMetrics metrics;
    metrics.SetLinesPerPage(PrintMetrics::StandardLinesPerPage);
    const ProjectPrintout printout(doc.Data(), doc.Records(), metrics, ProjectPrintFonts::Create(),
                                   QFileInfo(doc.GetPathName()).absoluteFilePath(),
                                   QDate::currentDate());
    QString error;
    if (!PagePainter::WritePdf(
            pdf, printout.LastPage(), [&](int page) { return printout.Page(page); }, &error,
            ProjectPrintout::Title()))
        return Fail(error);
    return 0;
}

} // namespace PdfPrintCommand
