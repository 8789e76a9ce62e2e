#include "CsvImport.h"

#include "CQuillmarkDoc.h"
#include "CsvFile.h"
#include "ProjectTypes.h"
#include "RecordEntry.h"

namespace CsvImport {

namespace {

// The column of each cell by heading, -1 where the file has none.
struct Columns
{
    int group = -1, pseudo = -1, detector = -1, text1 = -1, text2 = -1;
};

QString Cell(const QStringList& fields, int column)
{
    return column >= 0 && column < fields.size() ? fields.at(column) : QString();
}

bool FindColumns(const CQuillmarkDoc& doc, const QStringList& headings, Columns& c,
                 QString& refusal)
{
    const QStringList wanted = CsvFile::Headings(doc);
    auto find = [&headings](const QString& name) {
        for (int i = 0; i < headings.size(); ++i)
            if (headings.at(i).trimmed().compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    const bool pseudo = doc.Data().textFormat == FormatPseudo;
    int i = 0;
    c.group = find(wanted.at(i++));
    if (pseudo)
        c.pseudo = find(wanted.at(i++));
    c.detector = find(wanted.at(i++));
    c.text1 = find(wanted.at(i++));
    c.text2 = find(wanted.at(i));
    if (c.group < 0 || c.detector < 0 || (pseudo && c.pseudo < 0)) {
        refusal = QStringLiteral("Die erste Zeile der Datei nennt die Spalten nicht. Erwartet "
                                 "wird eine Zeile mit den Überschriften \"%1\".")
                      .arg(wanted.join(QLatin1Char(';')));
        return false;
    }
    return true;
}

// The rows of from, copied into to (which holds from's settings); a shown list is reset once.
void CopyRows(const CQuillmarkDoc& from, CQuillmarkDoc& to)
{
    const CRecordList& source = from.Records();
    CRecordList& target = to.Records();
    CRecordBatch batch(target);
    target.DeleteAllItems();
    for (int row = 0; row < source.GetCount(); ++row)
        target.AddRecordAt(source.At(row), row);
}

} // namespace

QString Result::Summary() const
{
    return QStringLiteral("CSV-Import: %1 hinzugefügt, %2 ersetzt.").arg(added).arg(replaced);
}

Result Import(CQuillmarkDoc& doc, const QByteArray& file, bool skipInvalid)
{
    Result result;
    const QList<CsvFile::Row> rows = CsvFile::Parse(file);
    Columns columns;
    if (rows.isEmpty()) {
        result.refusal = QStringLiteral("Die Datei enthält keine Zeilen.");
        return result;
    }
    if (!FindColumns(doc, rows.first().fields, columns, result.refusal))
        return result;

    // The rows go into a copy first: a refused row leaves the project as it was.
    CQuillmarkDoc work;
    work.Data() = doc.Data();
    CopyRows(doc, work);
    CRecordList& records = work.Records();
    const ProjectData& d = work.Data();
    for (int i = 1; i < rows.size(); ++i) {
        const QStringList& f = rows.at(i).fields;
        RecordInput input;
        input.group = Cell(f, columns.group).trimmed();
        input.pseudoGroup = Cell(f, columns.pseudo).trimmed();
        input.detector = Cell(f, columns.detector).trimmed();
        input.text1 = Cell(f, columns.text1);
        input.text2 = Cell(f, columns.text2);
        MessageRecord rec;
        RecordRefusal problem = RecordEntry::Check(d, input, rec);
        const int before = records.GetCount();
        if (!problem)
            problem = records.InsertRecord(rec).refusal;
        if (problem) {
            result.problems.append(
                QStringLiteral("Zeile %1: %2").arg(rows.at(i).line).arg(problem.text));
            continue;
        }
        if (records.GetCount() > before)
            ++result.added;
        else
            ++result.replaced;
    }
    if (!result.problems.isEmpty() && !skipInvalid)
        return result;
    if (result.added + result.replaced > 0) {
        CopyRows(work, doc);
        doc.SetModifiedFlag(true);
        result.imported = true;
    }
    return result;
}

} // namespace CsvImport
