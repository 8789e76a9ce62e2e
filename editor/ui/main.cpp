#include "CQuillmarkApp.h"
#include "InfoOptions.h"

namespace {

const char Help[] =
    "Aufruf: quillmark [PROJEKT.bmt]\n"
    "Quillmark bearbeitet die Texte eines Feuerwehr-Anzeigetableaus (FAT), sendet sie an das\n"
    "FAT und liest sie aus. Mit einem Pfad (Leerzeichen erlaubt, auch in Anführungszeichen)\n"
    "öffnet es das Projekt; ohne Pfad legt der Eingabeassistent ein neues Projekt an.\n"
    "\n"
    "  --help     zeigt diese Hilfe\n"
    "  --version  zeigt die Version\n"
    "\n"
    "Ohne Fenster: quillmark-cli. Mehr in \"man quillmark\" und in der Hilfe (F1).\n";

} // namespace

int main(int argc, char** argv)
{
    // Answered before any window, so that they work without a display.
    if (AnswerInfoOption(argc, argv, "quillmark", Help))
        return 0;
    return CQuillmarkApp::Run(argc, argv);
}
