// "Alle ersetzen" over 65,534 rows (at most 1 s): a text in every row, and a group number in
// every row, whose rows then go through the ordered insert.
#include "BenchSetup.h"
#include "CQuillmarkDoc.h"
#include "ProjectRules.h"
#include "RecordSearch.h"

// Qt
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstring>

namespace {

const int kRows = 65534;

void MakeProject(CQuillmarkDoc& doc)
{
    ProjectData& d = doc.Data();
    std::memset(&d, 0, sizeof d);
    SetStandardProject(d, 5);
    std::strncpy(d.panelId, "BO 1", sizeof d.panelId - 1);
    ProjectRules::DecodePanelIdFile(d.panelId, d.panelType, d.panelVariant);
    doc.SetupListColumns();
    AddBenchRows(doc.Records(), kRows, "Treppenhaus Ost");
}

// Plans and applies one "Alle ersetzen"; returns the milliseconds, or -1 when it changed
// another number of rows than expected.
qint64 ReplaceAll(CQuillmarkDoc& doc, const char* find, int scope, const char* replace,
                  int expected, const char* what)
{
    QElapsedTimer clock;
    clock.start();
    const RecordSearch search(doc.Data(), QString::fromUtf8(find), scope, false);
    const RecordSearch::Plan plan = search.ReplaceAll(doc.Records(), QString::fromUtf8(replace));
    ApplyReplacements(doc.Records(), plan.changes);
    const qint64 ms = clock.elapsed();
    std::printf("replace all, %s: %lld ms (%d rows changed, %d refused)\n", what, ms,
                int(plan.changes.size()), plan.refused);
    return int(plan.changes.size()) == expected ? ms : -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CQuillmarkDoc doc;
    MakeProject(doc);
    const qint64 texts =
        ReplaceAll(doc, "treppenhaus", RecordSearch::WholeRow, "TH", kRows, "a text in every row");
    // The leading zeros of every group become a 1 ("00012" gives "1012"): each row leaves its
    // place and is inserted by its new key.
    const qint64 keys =
        ReplaceAll(doc, "00", Column::Group, "1", kRows, "the group of every row (new keys)");
    return texts >= 0 && texts <= 1000 && keys >= 0 ? 0 : 1;
}
