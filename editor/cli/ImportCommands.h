#pragma once

// Qt
#include <QString>
#include <QStringList>

// The import and conversion commands of quillmark-cli. Each takes the arguments after the
// command word and returns the exit status: 0 when the result was written, 1 when the
// operation was refused or stopped (nothing written), 2 for a wrong command line.
namespace ImportCommands {

int RunImportBmf(const QStringList& args);
int RunImportLz(const QStringList& args);
int RunImportPanel(const QStringList& args);
int RunConvert(const QStringList& args);

QString ImportBmfUsage();
QString ImportLzUsage();
QString ImportPanelUsage();
QString ConvertUsage();

} // namespace ImportCommands
