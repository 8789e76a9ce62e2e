#pragma once

// Qt
#include <QString>
#include <QStringList>

// quillmark-cli print: the project's printout (cover page and list pages) as a PDF file.
namespace PdfPrintCommand {

// Takes the arguments after the command word; 0 when the PDF was written.
int Run(const QStringList& args);
QString Usage();

} // namespace PdfPrintCommand
