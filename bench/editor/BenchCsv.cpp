// Exports 65,534 rows to a spreadsheet file and imports the file into an empty project of the
// same shape (each should take at most 1 s), and checks that the round trip kept every byte.
#include "BenchSetup.h"
#include "CQuillmarkDoc.h"
#include "CsvFile.h"
#include "CsvImport.h"
#include "ProjectRules.h"

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
    d.textFormat = FormatStandard;
    d.displayChars = 40;
    d.maxRecords = kRows;
    d.groupDigits = 5;
    d.detectorDigits = 2;
    d.pseudoGroupDigits = 5;
    std::strncpy(d.panelId, "BO 1", sizeof d.panelId - 1);
    ProjectRules::DecodePanelIdFile(d.panelId, d.panelType, d.panelVariant);
    doc.SetupListColumns();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CQuillmarkDoc original, copy;
    MakeProject(original);
    MakeProject(copy);
    AddBenchRows(original.Records(), kRows, "Treppenhaus; \"Ost\"");
    QElapsedTimer clock;
    clock.start();
    const QByteArray file = CsvFile::Export(original);
    const qint64 exportMs = clock.elapsed();
    clock.restart();
    const CsvImport::Result result = CsvImport::Import(copy, file, false);
    const qint64 importMs = clock.elapsed();
    const bool same = copy.ProjectBytes() == original.ProjectBytes();
    std::printf("export of %d rows: %lld ms (%lld bytes)\n", kRows, exportMs,
                static_cast<long long>(file.size()));
    std::printf("import of %d rows: %lld ms (%d added, %lld refused)\n", kRows, importMs,
                result.added, static_cast<long long>(result.problems.size()));
    if (!result.problems.isEmpty())
        std::printf("first refused: %s\n", qPrintable(result.problems.first()));
    std::printf("round trip byte for byte: %s\n", same ? "yes" : "NO");
    return same && exportMs <= 1000 && importMs <= 1000 ? 0 : 1;
}
