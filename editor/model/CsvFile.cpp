#include "CsvFile.h"

#include "CDurableFile.h"
#include "CQuillmarkDoc.h"
#include "CodePage.h"
#include "ProjectRules.h"
#include "ProjectTypes.h"

// Qt
#include <QFile>

namespace CsvFile {

namespace {

void AppendField(QByteArray& out, const QByteArray& field)
{
    const bool quote =
        field.contains(';') || field.contains('"') || field.contains('\r') || field.contains('\n');
    if (!quote) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

QByteArray WithoutTrailingBlanks(QByteArray text)
{
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

} // namespace

QStringList Headings(const CQuillmarkDoc& doc)
{
    const ProjectData& d = doc.Data();
    QStringList headings{ProjectRules::GroupHeader(d)};
    if (d.textFormat == FormatPseudo)
        headings << QStringLiteral("Pseudo MG");
    headings << ProjectRules::DetectorHeader(d) << QStringLiteral("Text 1")
             << QStringLiteral("Text 2");
    return headings;
}

QByteArray Export(const CQuillmarkDoc& doc)
{
    const bool pseudo = doc.Data().textFormat == FormatPseudo;
    QByteArray out = ToCp1252(Headings(doc).join(QLatin1Char(';'))) + "\r\n";
    const CRecordList& records = doc.Records();
    const int rows = records.GetCount();
    out.reserve(out.size() + qsizetype(rows) * 48);
    for (int row = 0; row < rows; ++row) {
        const MessageRecord& rec = records.At(row);
        AppendField(out, rec.group);
        out += ';';
        if (pseudo) {
            AppendField(out, rec.pseudoGroup);
            out += ';';
        }
        AppendField(out, rec.detector);
        out += ';';
        AppendField(out, WithoutTrailingBlanks(rec.text1));
        out += ';';
        AppendField(out, WithoutTrailingBlanks(rec.text2));
        out += "\r\n";
    }
    return out;
}

QList<Row> Parse(const QByteArray& bytes)
{
    const QString text =
        bytes.startsWith("\xEF\xBB\xBF") ? QString::fromUtf8(bytes.mid(3)) : FromCp1252(bytes);
    QList<Row> rows;
    Row row;
    row.line = 1;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    int line = 1;
    auto endField = [&] {
        row.fields.append(field);
        field.clear();
        wasQuoted = false;
    };
    auto endRow = [&] {
        endField();
        // Lines without any content (a last empty line, blank lines) are no rows.
        if (row.fields.size() > 1 || !row.fields.first().isEmpty())
            rows.append(row);
        row = Row();
        row.line = line;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
        } else if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char(';')) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            ++line;
            endRow();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.fields.isEmpty() || wasQuoted)
        endRow();
    return rows;
}

bool WriteFile(const QString& path, const QByteArray& bytes, QString& problem)
{
    QString why;
    if (CDurableFile::WriteWhole(path, bytes, &why))
        return true;
    problem = QStringLiteral("Die CSV-Datei konnte nicht geschrieben werden: ") + why;
    return false;
}

bool ReadFile(const QString& path, QByteArray& bytes, QString& problem)
{
    // A spreadsheet of the largest project is a few MB; a device or a huge file is refused.
    QString why;
    QFile file(path);
    if (!CDurableFile::CheckReadable(path, 64 * 1024 * 1024, &why) ||
        !file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("Die Datei \"%1\" konnte nicht geöffnet werden: %2")
                      .arg(path, why.isEmpty() ? file.errorString() : why);
        return false;
    }
    bytes = file.readAll();
    return true;
}

} // namespace CsvFile
