#pragma once

#include "FormatConversion.h"

// Qt
#include <QDialog>

#include <array>

class QRadioButton;

// "Textformat ändern": offers the two other text formats of the project; the first is
// preselected.
class CTextFormatDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CTextFormatDlg(const std::array<FormatConversion::Target, 2>& targets,
                            QWidget* parent = nullptr);

    // 0 for the first button, 1 for the second.
    int Selected() const;
    int TextFormat() const { return m_targets[size_t(Selected())].textFormat; }
    QRadioButton* Button(int index) const { return m_buttons[size_t(index)]; }

private:
    std::array<FormatConversion::Target, 2> m_targets;
    std::array<QRadioButton*, 2> m_buttons{};
};
