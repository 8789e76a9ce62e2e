#include "CLineprobeApp.h"
#include "InfoOptions.h"

namespace {

const char Help[] =
    "Aufruf: lineprobe [AUFZEICHNUNG]\n"
    "Lineprobe zeichnet den Datenverkehr eines Feuerwehr-Anzeigetableaus (FAT) auf und zeigt\n"
    "ihn als ASCII-Zeichen und Hex-Werte. Die ganze Befehlszeile ist der Pfad einer\n"
    "Aufzeichnung, deren Listen (.tvs, .tvh) gleich angezeigt werden.\n"
    "\n"
    "  --help     zeigt diese Hilfe\n"
    "  --version  zeigt die Version\n"
    "\n"
    "Ohne Fenster: lineprobe-cli. Mehr in \"man lineprobe\" und in der Hilfe (F1).\n";

} // namespace

int main(int argc, char** argv)
{
    // Answered before any window, so that they work without a display.
    if (AnswerInfoOption(argc, argv, "lineprobe", Help))
        return 0;
    return CLineprobeApp::Run(argc, argv);
}
