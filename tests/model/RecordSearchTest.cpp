#include "ModelProject.h"
#include "ProjectTypes.h"
#include "RecordSearch.h"

#include "CodePage.h"

#include <gtest/gtest.h>

namespace {

// Four rows of a standard project (Text 1 at most 12 characters).
struct SearchRows
{
    SearchRows() : list(data)
    {
        const char* rows[][4] = {{"0001", "01", "Treppenhaus", "EG"},
                                 {"0001", "02", "TREPPE Ost", "1. OG"},
                                 {"0002", "00", "B\xFCro",
                                  "\xC4u\xDF"
                                  "eres"},
                                 {"0012", "05", "Lager", "Keller"}};
        for (const auto& r : rows) {
            MessageRecord rec;
            rec.formatTag = "S";
            rec.group = r[0];
            rec.detector = r[1];
            rec.text1 = r[2];
            rec.text2 = r[3];
            list.AddRecordAt(rec, list.GetCount());
        }
    }

    QStringList Rows() const
    {
        QStringList out;
        for (int row = 0; row < list.GetCount(); ++row) {
            const MessageRecord& r = list.At(row);
            out << FromCp1252(r.group + "/" + r.detector + "/" + r.text1 + "/" + r.text2);
        }
        return out;
    }

    ProjectData data = ModelProject(FormatStandard);
    CRecordList list;
};

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

TEST(RecordSearch, ReplaceAllThroughTheEntryCheck)
{
    const int all = RecordSearch::WholeRow;
    const struct
    {
        const char* name;
        const char* find;
        int scope;
        bool matchCase;
        const char* replace;
        int changed;
        int refused;
        const char* refusal;
        const char* after; // the rows after, as SearchRows::Rows joins them; "" as before
    } cases[] = {
        {"without regard to case", "treppe", all, false, "TH", 2, 0, "",
         "0001/01/THnhaus/EG|0001/02/TH Ost/1. OG|0002/00/Büro/Äußeres|0012/05/Lager/Keller"},
        {"case matters", "Treppe", all, true, "TH", 1, 0, "",
         "0001/01/THnhaus/EG|0001/02/TREPPE Ost/1. OG|0002/00/Büro/Äußeres|0012/05/Lager/Keller"},
        {"umlauts fold", "ÜRO", all, false, "uero", 1, 0, "",
         "0001/01/Treppenhaus/EG|0001/02/TREPPE Ost/1. OG|0002/00/Buero/Äußeres|"
         "0012/05/Lager/Keller"},
        {"one column; a row that stays is not counted", "e", Column::Text2, false, "E", 2, 0, "",
         "0001/01/Treppenhaus/EG|0001/02/TREPPE Ost/1. OG|0002/00/Büro/ÄußErEs|"
         "0012/05/Lager/KEllEr"},
        {"too long", "Lager", Column::Text1, false, "Lager Nordseite", 0, 1,
         "Text 1 darf höchstens 12 Zeichen lang sein.", ""},
        {"not Windows-1252", "Keller", all, false, "Keller ☃", 0, 1,
         "Text 2 enthält das Zeichen \"☃\", das das FAT nicht darstellen kann.", ""},
        {"group moves rows by their new key", "1", Column::Group, false, "3", 3, 0, "",
         "0002/00/Büro/Äußeres|0003/01/Treppenhaus/EG|0003/02/TREPPE Ost/1. OG|"
         "0032/05/Lager/Keller"},
        {"an existing key takes the texts", "02", Column::Detector, false, "01", 1, 0, "",
         "0001/01/TREPPE Ost/1. OG|0002/00/Büro/Äußeres|0012/05/Lager/Keller"},
        {"invalid key", "0002", Column::Group, false, "0", 0, 1,
         "Die MelderGruppe 0 ist nicht zulässig !", ""},
        {"letters in a number", "12", all, false, "x", 0, 1,
         "MelderGruppe darf nur aus Ziffern bestehen.", ""},
    };
    const QString before = SearchRows().Rows().join(QLatin1Char('|'));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SearchRows rows;
        const RecordSearch search(rows.data, U(c.find), c.scope, c.matchCase);
        const RecordSearch::Plan plan = search.ReplaceAll(rows.list, U(c.replace));
        EXPECT_EQ(int(plan.changes.size()), c.changed);
        EXPECT_EQ(plan.refused, c.refused);
        EXPECT_EQ(plan.firstRefusal.text, U(c.refusal));
        ApplyReplacements(rows.list, plan.changes);
        EXPECT_EQ(rows.Rows().join(QLatin1Char('|')), *c.after ? U(c.after) : before);
    }
}

TEST(RecordSearch, FindGoesRoundTheList)
{
    SearchRows rows;
    // "e" in Text 2: rows 0, 2 and 3.
    const RecordSearch search(rows.data, "E", Column::Text2, false);
    const struct
    {
        int from;
        bool forward;
        int row;
        bool wrapped;
    } cases[] = {{-1, true, 0, false}, {0, true, 2, false}, {3, true, 0, true},
                 {2, false, 0, false}, {0, false, 3, true}, {-1, false, 3, false}};
    for (const auto& c : cases) {
        bool wrapped = !c.wrapped;
        EXPECT_EQ(search.Find(rows.list, c.from, c.forward, &wrapped), c.row) << c.from;
        EXPECT_EQ(wrapped, c.wrapped) << c.from;
    }
    EXPECT_EQ(
        RecordSearch(rows.data, "Halle", RecordSearch::WholeRow, false).Find(rows.list, 0, true),
        -1);
    EXPECT_FALSE(RecordSearch(rows.data, U("☃"), RecordSearch::WholeRow, false).Valid());
    EXPECT_EQ(RecordSearch::ScopeColumns(ModelProject(FormatPseudo)),
              (QList<int>{Column::Group, Column::PseudoGroup, Column::Detector, Column::Text1,
                          Column::Text2}));
}
