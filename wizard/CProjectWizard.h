#pragma once

#include "ProjectData.h"

// Qt
#include <QString>
#include <QWizard>

// The input assistant: a new project (panel, text format, display size, record limit and
// digit counts), an existing project to open, or a project whose texts are read from the FAT.
// Apply writes the choice into the project settings block.
class CProjectWizard : public QWizard
{
    Q_OBJECT

public:
    enum PageId { StartPage, PanelPage, LayoutPage, OpenPage, FatPage };
    enum Choice { NewProject, OpenProject, FromFat };

    // One panel model the assistant offers: maker, model text, panel type and variant, the
    // letters and model digit of the panel identification, and the defaults for it.
    struct Model
    {
        int panelType;
        int panelVariant;
        const char* letters;
        char modelDigit;
        int groupDigits;
        int detectorDigits;
        // The text formats the panel's FAT takes, as a bit set over formats 2..4.
        unsigned formats;
    };
    static const QList<Model>& Models();

    explicit CProjectWizard(QWidget* parent = nullptr);

    Choice GetChoice() const;
    // Fills data from the pages; false when the choice cannot be stored (a path too long).
    bool Apply(ProjectData& data) const;
    // The settings of a new project as the pages show them now.
    ProjectData NewProjectData() const;

    int nextId() const override;
};
