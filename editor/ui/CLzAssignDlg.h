#pragma once

// Qt
#include <QDialog>

#include <array>

class QComboBox;
class QTableWidget;

// "LZ - Zuweisung": the display state of each of the 255 LZ numbers of a Bosch project. The
// user selects rows (several at once) and picks a state in the combo box; "Standard
// LZ-Zuweisung" resets the whole table. Only OK writes the project's table.
//
// How the frame opens it (command "&LZ - Zuweisung", Bosch projects only, port closed):
// CLzAssignDlg dlg(doc.Data().lzAssignment, frame); if dlg.exec() == QDialog::Accepted, mark
// the document modified. Modal, so there is never more than one.
class CLzAssignDlg : public QDialog
{
    Q_OBJECT

public:
    enum { EntryCount = 255, StateCount = 5, UnknownState = 5 };

    // lzAssignment: the project's 256 bytes (255 entries, then NUL); copied now, written at OK.
    explicit CLzAssignDlg(char* lzAssignment, QWidget* parent = nullptr);

    static QString StateName(int value);
    // The value of a state name; UnknownState (5) for a text that is no name.
    static int StateValue(const QString& name);

    QTableWidget* List() const { return m_list; }
    QComboBox* Combo() const { return m_combo; }

public slots:
    void accept() override;
    void OnClickList();
    void OnSelchangeCombo(int index);
    void OnStandard();

private:
    void FillList();

    char* m_target;
    std::array<unsigned char, EntryCount + 1> m_work{};
    QTableWidget* m_list = nullptr;
    QComboBox* m_combo = nullptr;
};
