#pragma once

// Qt
#include <QString>
#include <QStringList>

// quillmark-cli export-csv and import-csv: the project's texts to and from a spreadsheet file.
namespace CsvCommands {

QString ExportUsage();
QString ImportUsage();
int RunExport(const QStringList& args);
// 0 when the rows were imported and the project written; 1 when a row or the file was
// refused (nothing written unless --skip-invalid took the good rows).
int RunImport(const QStringList& args);

} // namespace CsvCommands
