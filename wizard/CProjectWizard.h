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

    explicit CProjectWizard(QWidget* parent = nullptr);

    Choice GetChoice() const;
    // Fills data from the pages; false when the choice cannot be stored (a path too long).
    bool Apply(ProjectData& data) const;
    // The settings of a new project as the pages show them now.
    ProjectData NewProjectData() const;

    int nextId() const override;
};
