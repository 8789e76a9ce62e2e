#include "CsvFile.h"
#include "CsvImport.h"
#include "TextProject.h"

#include <gtest/gtest.h>

namespace {

void AddRows(CQuillmarkDoc& doc, const QList<MessageRecord>& rows)
{
    for (const MessageRecord& rec : rows)
        doc.Records().AddRecordAt(rec, doc.Records().GetCount());
}

} // namespace

// Export, then import into an empty project of the same shape: the same project, byte for byte.
TEST(Csv, RoundTripGivesTheSameProject)
{
    struct Case
    {
        const char* name;
        int format;
        int panelType;
        const char* panelId;
        QList<MessageRecord> rows;
        QByteArray firstLines; // the start of the file, where it is checked
    };
    const QList<Case> cases{
        {"standard, quoting, code page",
         FormatStandard,
         PanelType::Bosch,
         "BO 1",
         {TextRecord("S", "0001", "01", "Eingang; Ost", "Halle \"1\""),
          TextRecord("S", "0002", "03",
                     "K\xFC"
                     "che    ",
                     "                    "),
          TextRecord("S", "0003", "32", "Ende", "")},
         "MelderGruppe;Melder;Text 1;Text 2\r\n0001;01;\"Eingang; Ost\";\"Halle \"\"1\"\"\"\r\n"
         "0002;03;K\xFC"
         "che;\r\n"},
        {"pseudo groups",
         FormatPseudo,
         PanelType::Bosch,
         "BO 1",
         {TextRecord("P", "0001", "01", "Flur", "EG", "00012"),
          TextRecord("P", "0010", "02", "", "Dach", "00001")},
         "MelderGruppe;Pseudo MG;Melder;Text 1;Text 2\r\n0001;00012;01;Flur;EG\r\n"},
        {"loop and address",
         FormatTwoLines,
         PanelType::Notifier,
         "NF 1",
         {TextRecord("F", "0001", "01", "Loop", "eins")},
         "Zentrale / Loop;Adresse;Text 1;Text 2\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQuillmarkDoc original, copy;
        ASSERT_TRUE(MakeTextProject(original, c.format, c.panelType, c.panelId));
        ASSERT_TRUE(MakeTextProject(copy, c.format, c.panelType, c.panelId));
        AddRows(original, c.rows);
        const QByteArray file = CsvFile::Export(original);
        EXPECT_TRUE(file.startsWith(c.firstLines)) << file.toStdString();
        const CsvImport::Result result = CsvImport::Import(copy, file, false);
        EXPECT_TRUE(result.problems.isEmpty()) << result.problems.join('\n').toStdString();
        EXPECT_EQ(result.added, c.rows.size());
        EXPECT_EQ(copy.ProjectBytes(), original.ProjectBytes());
    }
}

// Files a technician may bring: each either refused as a whole, or its bad rows named by line;
// without skipping nothing changes, with it the good rows go in.
TEST(Csv, ImportReportsEachRefusedRowByLine)
{
    struct Case
    {
        const char* name;
        QByteArray file;
        QString refusal;
        QStringList problemStarts;
        int added, replaced;
        QByteArray text1OfRow0; // after the import with skipping
    };
    const QList<Case> cases{
        {"no heading line",
         "0001;01;A;B\r\n",
         "Die erste Zeile der Datei nennt die Spalten nicht",
         {},
         0,
         0,
         "Alt"},
        {"any column order, UTF-8 with BOM, short numbers padded, existing key replaced",
         "\xEF\xBB\xBFText 2;Melder;melderGruppe;Text 1\r\nOG;1;5;K\xC3\xBC"
         "che\r\n;1;1;Neu\r\n",
         {},
         {},
         1,
         1,
         "Neu"},
        {"bad rows by their line, a quoted line break counted",
         "MelderGruppe;Melder;Text 1;Text 2\r\n0002;01;\"zwei\r\nZeilen\";x\r\n0000;01;Null;\r\n"
         "12345;01;Lang;\r\n0003;01;Gut;\r\n0004;01;\xE4\xF6\xFC"
         "ABCDEFGHIJ;\r\n",
         {},
         {"Zeile 2: ", "Zeile 4: Die MelderGruppe 0 ist nicht zulässig !",
          "Zeile 5: ", "Zeile 7: Text 1"},
         1,
         0,
         "Alt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQuillmarkDoc doc, other;
        for (CQuillmarkDoc* d : {&doc, &other}) {
            ASSERT_TRUE(MakeTextProject(*d));
            AddRows(*d, {TextRecord("S", "0001", "01", "Alt", "")});
        }
        const QByteArray before = other.ProjectBytes();
        const CsvImport::Result strict = CsvImport::Import(other, c.file, false);
        EXPECT_TRUE(strict.refusal.startsWith(c.refusal)) << strict.refusal.toStdString();
        ASSERT_EQ(strict.problems.size(), c.problemStarts.size())
            << strict.problems.join('\n').toStdString();
        for (int i = 0; i < c.problemStarts.size(); ++i)
            EXPECT_TRUE(strict.problems[i].startsWith(c.problemStarts[i]))
                << strict.problems[i].toStdString();
        if (!strict.problems.isEmpty() || !strict.refusal.isEmpty()) {
            EXPECT_FALSE(strict.imported);
            EXPECT_EQ(other.ProjectBytes(), before);
        }
        const CsvImport::Result skipped = CsvImport::Import(doc, c.file, true);
        EXPECT_EQ(skipped.added, c.added);
        EXPECT_EQ(skipped.replaced, c.replaced);
        MessageRecord rec;
        doc.Records().GetRecord(rec, 0);
        EXPECT_EQ(rec.text1, c.text1OfRow0);
        if (c.added == 1 && c.replaced == 1) {
            doc.Records().GetRecord(rec, 1);
            EXPECT_EQ(rec.group + rec.detector + rec.text1, "000501K\xFC"
                                                            "che");
        }
    }
}
