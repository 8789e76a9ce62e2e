// The entry of the input assistant: Quillmark loads this library by name and calls Wizard with
// its zero-filled project settings block.
#include "CProjectWizard.h"
#include "ProjectData.h"

// Qt
#include <QApplication>

// The block crosses a library boundary by pointer: ProjectData.h asserts its layout, so the
// assistant and the editor agree on it byte for byte.

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
