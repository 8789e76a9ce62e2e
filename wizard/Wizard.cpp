// The entry of the input assistant: Quillmark loads this library by name and calls Wizard with
// its zero-filled project settings block.
#include "CProjectWizard.h"
#include "ProjectData.h"

// Qt
#include <QApplication>

#include <cstddef>

// The block crosses a library boundary by pointer: its layout must be exactly the one the
// editor was built with.
static_assert(sizeof(ProjectData) == 856, "ProjectData is 856 bytes");
static_assert(offsetof(ProjectData, textFormat) == 0);
static_assert(offsetof(ProjectData, displayChars) == 4);
static_assert(offsetof(ProjectData, maxRecords) == 8);
static_assert(offsetof(ProjectData, detectorDigits) == 12);
static_assert(offsetof(ProjectData, groupDigits) == 16);
static_assert(offsetof(ProjectData, pseudoGroupDigits) == 20);
static_assert(offsetof(ProjectData, text1Length) == 24);
static_assert(offsetof(ProjectData, text2Length) == 28);
static_assert(offsetof(ProjectData, panelType) == 32);
static_assert(offsetof(ProjectData, panelVariant) == 36);
static_assert(offsetof(ProjectData, coverPage) == 40);
static_assert(offsetof(ProjectData, projectPath) == 286);
static_assert(offsetof(ProjectData, panelId) == 546);
static_assert(offsetof(ProjectData, groupOffset) == 577);
static_assert(offsetof(ProjectData, lzAssignment) == 599);
static_assert(offsetof(ProjectData, reserved) == 855);

// Non-zero when the user finished the assistant and data holds the new project's settings;
// zero when the user cancelled (data is then left as it was).
extern "C" Q_DECL_EXPORT unsigned char Wizard(ProjectData* data)
{
    if (!data || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return 0;
    CProjectWizard wizard;
    if (wizard.exec() != QDialog::Accepted)
        return 0;
    return wizard.Apply(*data) ? 1 : 0;
}
