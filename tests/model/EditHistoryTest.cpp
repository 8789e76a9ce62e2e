#include "CQuillmarkDoc.h"
#include "ModelProject.h"

#include <gtest/gtest.h>

#include <functional>
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

// Undo and redo name the rows they brought back or changed; where rows went, the row where
// the first of them was.
TEST(EditHistory, UndoAndRedoShowTheRowsTheyTouched)
{
    const QString step = QStringLiteral("Schritt");
    MessageRecord last; // after row 299
    last.group = "400";
    last.detector = "1";
    using History = CEditHistory;
    const struct
    {
        std::function<void(History&, CRecordList&)> change;
        std::vector<int> afterUndo, afterRedo;
    } cases[] = {
        {[&](History& h, CRecordList&) { h.StoreRecord(step, last); }, {299}, {300}},
        {[&](History& h, CRecordList&) {
             h.DeleteRows(step, {7, 5});
         },
         {5, 7},
         {5}},
        {[&](History& h, CRecordList&) { h.DeleteRows(step, {299}); }, {299}, {298}},
        {[&](History& h, CRecordList& l) {
             h.Record(step, History::Scope::Project, [&] { return l.InsertRecord(last).row > 0; });
         },
         {299},
         {300}},
        {[&](History& h, CRecordList& l) {
             MessageRecord rec = l.At(10);
             rec.text1 = "Neu";
             h.Record(step, History::Scope::Project, [&] { return l.SetRecord(10, rec); });
         },
         {10},
         {10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        CQuillmarkDoc doc;
        Fill(doc);
        std::vector<int> shown;
        QObject::connect(&doc.History(), &History::RowsShown,
                         [&shown](const std::vector<int>& rows) { shown = rows; });
        c.change(doc.History(), doc.Records());
        doc.History().Undo();
        EXPECT_EQ(shown, c.afterUndo);
        doc.History().Redo();
        EXPECT_EQ(shown, c.afterRedo);
    }
}

// The history keeps its last StepLimit steps; a saved state that goes with the oldest leaves
// the project changed, one that stays is found again.
TEST(EditHistory, OldestStepsGoAndASavedStateWithThem)
{
    for (const int savedAfter : {0, 1}) {
        SCOPED_TRACE(savedAfter);
        CQuillmarkDoc doc;
        Fill(doc);
        for (int step = 0; step <= CEditHistory::StepLimit; ++step) {
            if (step == savedAfter)
                doc.SetModifiedFlag(false);
            doc.History().DeleteRows(QStringLiteral("Texte löschen"), {0});
        }
        EXPECT_EQ(doc.History().Stack().count(), CEditHistory::StepLimit);
        while (doc.History().CanUndo())
            doc.History().Undo();
        EXPECT_EQ(doc.Records().GetCount(), 299);
        EXPECT_EQ(doc.IsModified(), savedAfter == 0);
    }
}
