#pragma once

// Qt
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class CQuillmarkDoc;

// The project's texts as a spreadsheet file in German Excel's dialect: ";" between fields,
// CR LF line ends, fields quoted where they hold ";", '"' or a line break, Windows-1252
// (UTF-8 when the file starts with its byte order mark).
namespace CsvFile {

// One line of the file as fields; line is the file's line number where the row starts.
struct Row
{
    int line = 0;
    QStringList fields;
};

// The headings the list shows, in its column order: group, [pseudo group,] detector, texts.
QStringList Headings(const CQuillmarkDoc& doc);

// The heading line and one line per row in the list's order; texts without trailing blanks.
QByteArray Export(const CQuillmarkDoc& doc);
// Splits a whole file into rows: the byte order mark decides UTF-8, else Windows-1252.
QList<Row> Parse(const QByteArray& bytes);

// Writes bytes to path through the durable writer; false with the German reason in problem.
bool WriteFile(const QString& path, const QByteArray& bytes, QString& problem);
// Reads a whole file; false with the reason in problem.
bool ReadFile(const QString& path, QByteArray& bytes, QString& problem);

} // namespace CsvFile
