#include "CQuillmarkDoc.h"
#include "ModelProject.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// 300 rows, group 1 to 300, and the rows left when the given ones go.
void Fill(CQuillmarkDoc& doc)
{
    doc.Data() = ModelProject();
    doc.SetupListColumns();
    for (int i = 1; i <= 300; ++i) {
        MessageRecord rec;
        rec.group = QByteArray::number(i);
        rec.detector = "1";
        rec.text1 = "T" + QByteArray::number(i);
        ASSERT_GE(doc.Records().InsertRecord(rec).row, 0);
    }
    doc.SetModifiedFlag(false);
}

} // namespace

// A delete is one step whether few rows go one by one or many scattered rows by rebuilding
// the list: undo brings back every row at its place, redo takes the same rows again.
TEST(EditHistory, DeleteRowsUndoesAndRedoesExactly)
{
    std::vector<int> everyThird, all;
    for (int row = 0; row < 300; ++row) {
        if (row % 3 == 1)
            everyThird.push_back(row);
        all.push_back(row);
    }
    const std::vector<std::vector<int>> cases{{299, 0, 7, 7}, everyThird, all};
    for (const std::vector<int>& rows : cases) {
        SCOPED_TRACE(rows.size());
        CQuillmarkDoc doc;
        Fill(doc);
        const QByteArray before = doc.ProjectBytes();
        doc.History().DeleteRows(QStringLiteral("Texte löschen"), rows);
        const QByteArray after = doc.ProjectBytes();
        const int gone = rows.size() == 4 ? 3 : int(rows.size());
        ASSERT_EQ(doc.Records().GetCount(), 300 - gone);
        if (gone < 300)
            EXPECT_EQ(doc.Records().At(0).group, rows.size() == 4 ? "0002" : "0001");
        EXPECT_TRUE(doc.IsModified());

        doc.History().Undo();
        EXPECT_EQ(doc.ProjectBytes(), before);
        EXPECT_FALSE(doc.IsModified());
        doc.History().Redo();
        EXPECT_EQ(doc.ProjectBytes(), after);
        // Still in key order: a new row finds its place.
        MessageRecord rec;
        rec.group = "2";
        rec.detector = "1";
        const InsertResult placed = doc.Records().InsertRecord(rec);
        EXPECT_EQ(placed.row, rows == everyThird ? 1 : 0);
    }
}
