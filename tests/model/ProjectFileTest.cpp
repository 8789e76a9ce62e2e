#include "CMessageRecorder.h"
#include "CQuillmarkDoc.h"
#include "ProjectRules.h"
#include "ProjectBytes.h"
#include "TestFiles.h"

// Qt
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

class ProjectFileTest : public ::testing::Test
{
protected:
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(WriteTestFile(path, bytes));
        return path;
    }

    static QByteArray Read(const QString& path) { return ReadTestFile(path); }

    bool Load(CQuillmarkDoc& doc, const QString& path)
    {
        doc.OpenProjectPath(path);
        return doc.LoadProject();
    }

    QByteArray Row(CQuillmarkDoc& doc, int row)
    {
        QByteArray out;
        for (int c = 0; c < 6; ++c)
            out += doc.Records().GetItemText(row, c) + (c < 5 ? "|" : "");
        return out;
    }

    QTemporaryDir dir;
    CMessageRecorder messages;
    ProjectBytes file;
};

} // namespace

TEST_F(ProjectFileTest, EmptyProjectIsHeaderAndEnd)
{
    file.panelId = "AC 1";
    const QByteArray bytes = file.Header() + "E";
    ASSERT_EQ(bytes.size(), 172);
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, Write("a.bmt", bytes)));
    EXPECT_EQ(doc.Data().panelType, PanelType::Alarmcom);
    EXPECT_EQ(doc.Records().GetCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(messages.Entries().isEmpty());
    EXPECT_EQ(doc.ProjectBytes(), bytes) << "the writer gives the same 172 bytes";
}

TEST_F(ProjectFileTest, ReadsHeaderRecordsAndTrailers)
{
    file.panelId = "BO 1";
    file.textFormat = 3;
    file.offset = -25;
    QByteArray bytes = file.Header();
    // Tag, group 4, pseudo group 3 (only for "P"), detector 2, Text 1 13, Text 2 20.
    bytes += "P0012"
             "045"
             "03"
             "Halle Nord   "
             "Erdgeschoss         ";
    bytes += "S0013"
             "01"
             "abc          "
             "                    ";
    QByteArray lz(255, '\x02');
    lz[0] = '\x05';
    bytes += "L" + lz;
    QByteArray cover;
    for (const char* t : {"Projekt", "Strasse 1", "Ort", "Kunde", "Weg 2", "Stadt"})
        cover += QByteArray(t) + QByteArray(40 - int(strlen(t)), '\0');
    bytes += "D" + cover + "E";

    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, Write("b.bmt", bytes)));
    const ProjectData& d = doc.Data();
    EXPECT_EQ(d.textFormat, 3);
    EXPECT_EQ(d.displayChars, 40);
    EXPECT_EQ(d.maxRecords, 1000);
    EXPECT_EQ(d.groupDigits, 4);
    EXPECT_EQ(d.pseudoGroupDigits, 3);
    EXPECT_EQ(d.detectorDigits, 2);
    EXPECT_EQ(d.text1Length, 13);
    EXPECT_STREQ(d.groupOffset, "-25");
    EXPECT_EQ(d.panelType, PanelType::Bosch);
    EXPECT_EQ(d.lzAssignment[0], 5);
    EXPECT_STREQ(d.coverPage[0], "Projekt");
    EXPECT_STREQ(d.coverPage[5], "Stadt");
    ASSERT_EQ(doc.Records().GetCount(), 2);
    EXPECT_EQ(Row(doc, 0), "P|0012|045|03|Halle Nord   |Erdgeschoss         ");
    EXPECT_EQ(Row(doc, 1), "S|0013||01|abc          |                    ");
    EXPECT_TRUE(messages.Entries().isEmpty());
    EXPECT_EQ(doc.ProjectBytes(), bytes);
}

TEST_F(ProjectFileTest, TrailerSizesOfABoschProject)
{
    file.panelId = "BO 1";
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, Write("c.bmt", file.Header() + "E")));
    EXPECT_EQ(doc.ProjectBytes().size(), 171 + 256 + 1) << "L block present for Bosch";
    std::strcpy(doc.Data().coverPage[2], "Ort");
    const QByteArray bytes = doc.ProjectBytes();
    EXPECT_EQ(bytes.size(), 669);
    EXPECT_EQ(bytes.mid(171, 1), "L");
    EXPECT_EQ(bytes.mid(171 + 256, 1), "D");
    EXPECT_EQ(bytes.mid(171 + 256 + 1 + 80, 4), QByteArray("Ort\0", 4));
    EXPECT_EQ(bytes.right(1), "E");
}

TEST_F(ProjectFileTest, LoadSetsTheDefaultLzTableAndEmptiesTheCover)
{
    file.panelId = "BO 1";
    CQuillmarkDoc doc;
    doc.Data().panelType = PanelType::Bosch;
    std::strcpy(doc.Data().coverPage[0], "alt");
    ASSERT_TRUE(Load(doc, Write("d.bmt", file.Header() + "E")));
    EXPECT_EQ(doc.Data().lzAssignment[12], 4);
    EXPECT_EQ(doc.Data().lzAssignment[31], 3);
    EXPECT_STREQ(doc.Data().coverPage[0], "");

    CQuillmarkDoc fresh; // panel type still 0 before the file names Bosch
    ASSERT_TRUE(Load(fresh, Write("d2.bmt", file.Header() + "E")));
    EXPECT_EQ(fresh.Data().lzAssignment[0], 2);
    EXPECT_EQ(fresh.Data().lzAssignment[16], 1);
}

TEST_F(ProjectFileTest, PathTooLongForTheSettingsBlockIsNotLoaded)
{
    const QString path = Write("x.bmt", file.Header() + "E");
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, path));
    const QString longPath = dir.filePath(QString(300, 'a') + ".bmt");
    EXPECT_FALSE(Load(doc, longPath));
    EXPECT_EQ(messages.Texts(),
              QStringList{QString::fromUtf8("Auf das Projekt konnte nicht zugegriffen werden !")});
}

TEST_F(ProjectFileTest, FailureTable)
{
    struct Case
    {
        QByteArray bytes;
        const char* text;
    };
    ProjectBytes unknownPanel = file;
    unknownPanel.panelId = "XX 1";
    ProjectBytes tooManyDigits = file;
    tooManyDigits.groupDigits = 11;
    const Case cases[] = {
        {"Korvalin GmbX" + file.Header().mid(13) + "E", "Unbekanntes Dateiformat"},
        {"Korv", "Unbekanntes Dateiformat"},
        {file.Header().left(100), "Unbekanntes Dateiformat"},
        {unknownPanel.Header() + "E",
         "Benutzen Sie zum öffnen dieser Datei die Version mit der sie erstellt wurde oder eine "
         "höhere !"},
        {tooManyDigits.Header() + "E", "Beim Auslesen ist ein Fehler aufgetreten."},
    };
    for (const Case& c : cases) {
        messages.Clear();
        CQuillmarkDoc doc;
        EXPECT_FALSE(Load(doc, Write("f.bmt", c.bytes))) << c.text;
        EXPECT_EQ(messages.Texts(), QStringList{QString::fromUtf8(c.text)});
        EXPECT_EQ(doc.Records().GetCount(), 0);
    }
    messages.Clear();
    CQuillmarkDoc doc;
    EXPECT_FALSE(Load(doc, dir.filePath("fehlt.bmt")));
    EXPECT_EQ(messages.Texts(),
              QStringList{QString::fromUtf8("Auf das Projekt konnte nicht zugegriffen werden !")});
    EXPECT_FALSE(doc.Records().ColumnsShown());
    EXPECT_EQ(messages.WaitDepth(), 0) << "the wait cursor ends on every path";
}

TEST_F(ProjectFileTest, NonsenseHeaderValuesAreRefusedWhole)
{
    auto refused = [&](ProjectBytes h) {
        messages.Clear();
        CQuillmarkDoc doc;
        const bool ok = Load(doc, Write("n.bmt", h.Header() + "S0001" + QByteArray(100, 'x')));
        return !ok && messages.Texts() == QStringList{"Unbekanntes Dateiformat"} &&
               doc.Records().GetCount() == 0 && doc.Data().displayChars == 0;
    };
    ProjectBytes h = file;
    h.displayChars = -40;
    EXPECT_TRUE(refused(h));
    h = file;
    h.displayChars = 0x7fffffff;
    EXPECT_TRUE(refused(h));
    h = file;
    h.detectorDigits = -3;
    EXPECT_TRUE(refused(h));
    h = file;
    h.groupDigits = -1;
    EXPECT_TRUE(refused(h));
    h = file;
    h.displayChars = 10; // Text 1 would be 5 - 4 - 2 - 2 < 0
    EXPECT_TRUE(refused(h));
    h = file;
    h.textFormat = 9;
    EXPECT_TRUE(refused(h));
    h = file;
    h.maxRecords = -1;
    EXPECT_TRUE(refused(h));
    h = file;
    h.detectorDigits = 12;
    EXPECT_TRUE(refused(h));
    h = file;
    h.detectorDigits = 0;
    EXPECT_TRUE(refused(h)) << "a detector number is never empty";
    h = file;
    h.displayChars = 82;
    EXPECT_TRUE(refused(h));
    h = file;
    h.maxRecords = 65535; // more than a FAT can count
    EXPECT_TRUE(refused(h));
    h = file;
    h.textFormat = 3;
    h.pseudoGroupDigits = 5;
    h.displayChars = 16; // Text 1 would be 8 - 5 - 2 - 2 < 0
    EXPECT_TRUE(refused(h));
}

TEST_F(ProjectFileTest, MissingEndAndCutRecords)
{
    const QByteArray rec1 = "S0001"
                            "01"
                            "Text eins   "
                            "zwei                ";
    const QByteArray rec2 = "S0002"
                            "01"
                            "Text drei   "
                            "vier                ";
    CQuillmarkDoc whole;
    ASSERT_TRUE(Load(whole, Write("g.bmt", file.Header() + rec1 + rec2)));
    EXPECT_EQ(whole.Records().GetCount(), 2);
    EXPECT_TRUE(messages.Entries().isEmpty()) << "no E is fine";

    CQuillmarkDoc cut;
    ASSERT_TRUE(Load(cut, Write("h.bmt", file.Header() + rec1 + rec2.left(20))));
    EXPECT_EQ(messages.Texts(), QStringList{"Dateiende konnte nicht gefunden werden"});
    ASSERT_EQ(cut.Records().GetCount(), 1) << "the cut record is dropped";
    EXPECT_EQ(cut.Records().GetItemText(0, Column::Group), "0001");
    EXPECT_FALSE(cut.IsModified());
}

TEST_F(ProjectFileTest, UnknownTagsReadAsTheProjectFormat)
{
    file.textFormat = 4;
    const QByteArray bytes = file.Header() +
                             "X0001"
                             "01" +
                             QByteArray(20, 'a') + QByteArray(20, 'b') + "E";
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, Write("i.bmt", bytes)));
    ASSERT_EQ(doc.Records().GetCount(), 1);
    EXPECT_EQ(doc.Records().GetItemText(0, Column::Tag), "F");
}

TEST_F(ProjectFileTest, RowWithAnUnknownTagIsWrittenAsTheProjectFormat)
{
    // Format 3 records carry a pseudo group; a row tagged "X" must not lose it on the way
    // out, or every later record would be read shifted.
    file.textFormat = 3;
    const QString path = Write("x.bmt", file.Header() + "E");
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, path));
    MessageRecord r;
    r.formatTag = "X";
    r.group = "0002";
    r.pseudoGroup = QByteArray("00017").right(doc.Data().pseudoGroupDigits);
    r.detector = "04";
    r.text1 = "a";
    r.text2 = "b";
    doc.Records().AddRecordAt(r, 0);
    const QByteArray bytes = doc.ProjectBytes();
    const QByteArray tag = ProjectRules::FormatTag(3);
    ASSERT_EQ(tag, "P");
    EXPECT_TRUE(bytes.contains("P0002" + r.pseudoGroup + "04a"));
    messages.FileNext(path);
    ASSERT_TRUE(doc.SaveProject(CQuillmarkDoc::SaveAs));
    CQuillmarkDoc again;
    ASSERT_TRUE(Load(again, path));
    ASSERT_EQ(again.Records().GetCount(), 1);
    EXPECT_EQ(again.Records().GetItemText(0, Column::Detector), "04");
    EXPECT_EQ(again.Records().GetItemText(0, Column::PseudoGroup), r.pseudoGroup);
}

TEST_F(ProjectFileTest, EsserGroupsTakeFiveBytes)
{
    file.panelId = "EF 1";
    file.groupDigits = 3;
    const QByteArray bytes = file.Header() +
                             "S00012"
                             "07" +
                             QByteArray(13, 't') + QByteArray(20, 'u') + "E";
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, Write("j.bmt", bytes)));
    // Five bytes in the file only: the list holds the group with its 3 digits.
    EXPECT_EQ(doc.Records().GetItemText(0, Column::Group), "012");
    EXPECT_EQ(doc.Records().GetItemText(0, Column::Detector), "07");
    EXPECT_EQ(doc.ProjectBytes(), bytes);
}

TEST_F(ProjectFileTest, FiveByteGroupsKeepTheirKeysThroughSaveAndLoad)
{
    for (const char* id : {"EF 1", "MM 1"}) {
        for (int digits : {4, 5}) {
            SCOPED_TRACE(std::string(id) + " " + std::to_string(digits));
            file.panelId = id;
            file.groupDigits = digits;
            const QByteArray group = QByteArray("00012").right(digits);
            const QString path =
                Write("five.bmt", file.Header() +
                                      "S00012"
                                      "07" +
                                      QByteArray(16 - digits, 't') + QByteArray(20, 'u') + "E");
            CQuillmarkDoc doc;
            ASSERT_TRUE(Load(doc, path));
            MessageRecord r;
            r.formatTag = "S";
            r.group = "12";
            r.detector = "7";
            r.text1 = "neu";
            // The same key replaces the row; it is not a second row beside it.
            EXPECT_EQ(doc.Records().InsertRecord(r).row, 0);
            r.group = "13";
            EXPECT_EQ(doc.Records().InsertRecord(r).row, 1);
            doc.SetModifiedFlag(true);
            messages.FileNext(path);
            ASSERT_TRUE(doc.SaveProject(CQuillmarkDoc::SaveAs));
            CQuillmarkDoc again;
            ASSERT_TRUE(Load(again, path));
            ASSERT_EQ(again.Records().GetCount(), 2);
            EXPECT_EQ(again.Records().GetItemText(0, Column::Group), group);
            EXPECT_EQ(again.Records().GetItemText(0, Column::Text1).trimmed(), "neu");
            EXPECT_EQ(again.Records().GetItemText(1, Column::Group),
                      QByteArray("00013").right(digits));
            EXPECT_EQ(Read(path).mid(171, 6), "S00012") << "five characters in the file";
        }
    }
}

TEST_F(ProjectFileTest, ShortTrailerBlocksNeverReadPastTheFile)
{
    // An "L" near the end with fewer than 255 bytes after it.
    const QByteArray bytes = file.Header() + "L" + QByteArray(10, '\x07');
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, Write("k.bmt", bytes)));
    EXPECT_EQ(doc.Data().lzAssignment[9], 7);
    EXPECT_EQ(doc.Data().lzAssignment[10], 0);
    EXPECT_EQ(messages.Texts(), QStringList{"Dateiende konnte nicht gefunden werden"});
}

TEST_F(ProjectFileTest, SaveWritesOnlyWhenChangedAndSaveAsAlways)
{
    const QString path = Write("p.bmt", file.Header() + "E");
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, path));
    QFile::remove(path);
    EXPECT_TRUE(doc.SaveProject(CQuillmarkDoc::Save));
    EXPECT_FALSE(QFile::exists(path)) << "an unchanged project writes nothing";

    const QString other = dir.filePath("neu");
    messages.FileNext(other);
    EXPECT_TRUE(doc.SaveProject(CQuillmarkDoc::SaveAs));
    EXPECT_EQ(Read(other + ".bmt"), file.Header() + "E") << ".bmt is appended";
    EXPECT_EQ(doc.ProjectPath(), other + ".bmt");
    EXPECT_EQ(doc.GetPathName(), other + ".bmt");
    const auto dialogs = messages.Entries();
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_EQ(dialogs[0].kind, CMessageRecorder::SaveDialog);
    EXPECT_EQ(dialogs[0].dialog.filter, "Projektdateien (.bmt) | *.bmt||");
    EXPECT_EQ(dialogs[0].dialog.initialName, "*.bmt");
    EXPECT_TRUE(dialogs[0].dialog.overwritePrompt);
}

TEST_F(ProjectFileTest, SaveQuestionAnswers)
{
    const QString path = Write("q.bmt", file.Header() + "E");
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, path));
    doc.SetModifiedFlag(true);

    messages.AnswerNext(msg::IdCancel);
    EXPECT_FALSE(doc.SaveProject(CQuillmarkDoc::SaveIfWanted));
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(messages.Boxes().size(), 1);
    EXPECT_EQ(messages.Boxes()[0].text, "Sollen die Änderungen gespeichert werden ?");
    EXPECT_EQ(messages.Boxes()[0].buttons, msg::YesNoCancel);

    QFile::remove(path);
    messages.AnswerNext(msg::IdNo);
    EXPECT_TRUE(doc.SaveProject(CQuillmarkDoc::SaveIfWanted));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(QFile::exists(path));

    doc.SetModifiedFlag(true);
    messages.AnswerNext(msg::IdYes);
    EXPECT_TRUE(doc.SaveProject(CQuillmarkDoc::SaveIfWanted));
    EXPECT_EQ(Read(path), file.Header() + "E") << "Yes saves to the known path, no dialog";
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ProjectFileTest, UnnamedProjectAsksForAPathAndCancelKeepsChanges)
{
    const QString path = Write("Unbenannt.bmt", file.Header() + "E");
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, path));
    doc.SetModifiedFlag(true);
    messages.FileNext(QString()); // cancel
    EXPECT_FALSE(doc.SaveProject(CQuillmarkDoc::Save));
    EXPECT_TRUE(doc.IsModified());
    messages.FileNext(dir.filePath("echt.bmt"));
    EXPECT_TRUE(doc.SaveProject(CQuillmarkDoc::Save));
    EXPECT_TRUE(QFile::exists(dir.filePath("echt.bmt")));
}

TEST_F(ProjectFileTest, EffEffModelDigitIsSavedAsOne)
{
    file.panelId = "EE 2";
    const QString path = Write("e.bmt", file.Header() + "E");
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, path));
    EXPECT_EQ(doc.Data().panelVariant, 1);
    messages.FileNext(path);
    ASSERT_TRUE(doc.SaveProject(CQuillmarkDoc::SaveAs));
    ProjectBytes expected = file;
    expected.panelId = "EE 1";
    EXPECT_EQ(Read(path), expected.Header() + "E");
}

TEST_F(ProjectFileTest, FailedWriteReportsAndKeepsTheOldFile)
{
    const QString path = Write("w.bmt", file.Header() + "E");
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, path));
    messages.FileNext(dir.filePath("kein/ordner/x.bmt"));
    EXPECT_FALSE(doc.SaveProject(CQuillmarkDoc::SaveAs));
    EXPECT_EQ(messages.Texts(),
              QStringList{"File konnte nicht angelegt werden\n" +
                          dir.filePath("kein/ordner/x.bmt") + ": Der Ordner existiert nicht"});
    EXPECT_TRUE(doc.IsModified()) << "a close must not drop the changes";
    EXPECT_EQ(Read(path), file.Header() + "E");
    EXPECT_EQ(messages.WaitDepth(), 0);
}

TEST_F(ProjectFileTest, TextsAreWrittenAtTheirFixedWidths)
{
    const QString path = Write("t.bmt", file.Header() + "E");
    CQuillmarkDoc doc;
    ASSERT_TRUE(Load(doc, path));
    MessageRecord r;
    r.formatTag = "S";
    r.group = "7";
    r.detector = "3";
    r.text1 = "abc";
    r.text2 = QByteArray(25, 'z'); // longer than the 20 of Text 2
    ASSERT_EQ(doc.Records().InsertRecord(r).row, 0);
    const QByteArray expected = file.Header() +
                                "S0007"
                                "03"
                                "abc         " +
                                QByteArray(20, 'z') + "E";
    EXPECT_EQ(doc.ProjectBytes(), expected);
    messages.FileNext(path);
    ASSERT_TRUE(doc.SaveProject(CQuillmarkDoc::SaveAs));
    CQuillmarkDoc again;
    ASSERT_TRUE(Load(again, path));
    EXPECT_EQ(again.Records().GetItemText(0, Column::Text1), "abc         ")
        << "blanks shown after loading";
    MessageRecord edit;
    again.Records().GetRecordForEdit(edit, 0);
    EXPECT_EQ(edit.text1, "abc");
}

TEST_F(ProjectFileTest, NewProjectFromTheAssistantReadsNothing)
{
    CQuillmarkDoc doc;
    doc.Data().textFormat = FormatTwoLines;
    doc.Data().displayChars = 80;
    doc.Data().groupDigits = 3;
    doc.Data().panelType = PanelType::Bosch;
    EXPECT_TRUE(doc.LoadProject());
    EXPECT_EQ(doc.Data().text1Length, 40);
    EXPECT_EQ(doc.Data().lzAssignment[14], 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Records().ColumnsShown(), true);
}

TEST_F(ProjectFileTest, ModelDigitCountsWhateverByteTwoHolds)
{
    struct Case
    {
        QByteArray id;
        int variant;
    };
    const Case cases[] = {{QByteArray("AC\0"
                                      "2",
                                      4),
                           1},
                          {QByteArray("SI\0"
                                      "2",
                                      4),
                           1},
                          {QByteArray("SI\0"
                                      "1",
                                      4),
                           0},
                          {QByteArray("EE\0"
                                      "4",
                                      4),
                           4},
                          {QByteArray("EE\0"
                                      "5",
                                      4),
                           5}};
    for (const Case& c : cases) {
        file.panelId = c.id;
        const QString path = Write("nul.bmt", file.Header() + "E");
        CQuillmarkDoc doc;
        doc.Data().panelVariant = 9;
        ASSERT_TRUE(Load(doc, path)) << c.id.toHex().constData();
        EXPECT_EQ(doc.Data().panelVariant, c.variant) << c.id.toHex().constData();
    }
}
