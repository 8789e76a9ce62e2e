#pragma once

#include "ProjectData.h"

// Qt
#include <QDialog>
#include <QStringList>

class QLineEdit;

// "Deckblatt": the six texts of the printout's cover page, the project's name, street and
// place and the customer's. The dialog edits copies; the caller stores Texts() after OK.
class CCoverPageDlg : public QDialog
{
    Q_OBJECT

public:
    enum { IDD = 136, MaxChars = 40 };
    // Control ids of the edits in the order of the cover page texts 0 to 5.
    static constexpr int ControlIds[6] = {1029, 1030, 1031, 1036, 1037, 1038};

    explicit CCoverPageDlg(const ProjectData& data, QWidget* parent = nullptr);

    // The edit with the given control id, or nullptr.
    QLineEdit* Edit(int controlId) const;
    // The texts of the six edits, cover page text 0 to 5.
    QStringList Texts() const;
    // Stores texts as the cover page texts of data: Windows-1252, at most 40 characters.
    static void StoreTexts(ProjectData& data, const QStringList& texts);

private:
    QLineEdit* m_edits[6] = {};
};
