#pragma once

// Qt
#include <QString>
#include <QStringList>

// lineprobe-cli print: a trace view's list, loaded from the list file beside the trace path
// as the view loads it, printed as a PDF file.
namespace TracePdfCommand {

// Takes the arguments after the command word; 0 when the PDF was written.
int Run(const QStringList& args);
QString Usage();

} // namespace TracePdfCommand
