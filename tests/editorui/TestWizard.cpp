// An input assistant for the start-up tests: QM_TEST_WIZARD says what the "user" does:
// "cancel" returns 0; "standard" fills a new Esser project of format 2; "fat" asks for the
// texts of the FAT (format 1); "open" opens the project named by QM_TEST_WIZARD_PATH.
#include "ProjectData.h"

#include <cstdlib>
#include <cstring>

extern "C" __attribute__((visibility("default"))) unsigned char Wizard(ProjectData* d)
{
    const char* what = std::getenv("QM_TEST_WIZARD");
    if (!what || std::strcmp(what, "cancel") == 0)
        return 0;
    d->displayChars = 40;
    d->maxRecords = 500;
    d->groupDigits = 4;
    d->detectorDigits = 2;
    d->pseudoGroupDigits = 4;
    if (std::strcmp(what, "open") == 0) {
        d->textFormat = 0;
        std::strncpy(d->projectPath, std::getenv("QM_TEST_WIZARD_PATH"), sizeof d->projectPath - 1);
        return 1;
    }
    if (std::strcmp(what, "fat") == 0) {
        d->textFormat = 1;
        return 1;
    }
    d->textFormat = 2;
    d->panelType = 4;
    std::strcpy(d->panelId, "EF 0");
    return 1;
}
