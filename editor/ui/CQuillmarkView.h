#pragma once

#include "CListEditView.h"
#include "CSerial.h"

#include <functional>

class CFatCommands;
class CMainFrame;
class CQuillmarkDoc;

// The text list of Quillmark's main window: the project's records as rows, the commands that
// change rows (insert through the entry dialogs, delete, edit in place, the context menu), and
// the serial port with which the FAT commands run their transfer windows.
class CQuillmarkView : public CListEditView
{
    Q_OBJECT

public:
    CQuillmarkView(CQuillmarkDoc* document, CMainFrame* frame);
    ~CQuillmarkView() override;

    CQuillmarkDoc* GetDocument() const { return m_document; }
    CSerial& Serial() { return m_serial; }
    // portOpen: a transfer holds the port.
    bool PortOpen() const { return m_serial.IsOpened() != 0; }

    // Binds the list and the settings again and applies the project's editing style.
    void PrepareList();

    void DeleteSelectedRows();
    // The entry dialog of the project's text format, filled from row (-1: empty); nothing when
    // a dialog of that caption is open.
    void OpenEntryDialog(int row);
    void EndCellEdit(const QString& text, int row) override;
    // Runs one transfer window, calling opened once its port is open; true when it ended
    // with its success message.
    bool RunTransfer(int mode, const std::function<void()>& opened);
    // The FAT commands, each running its transfer in a window of this view.
    CFatCommands FatCommands();
    // the FAT and system commands (CListCommands)
    void ReadTexts();
    void SendTexts();
    void SendLzCoding();
    void ReadLzCoding();
    void EditGroupOffset();
    void EditLzAssignment();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CQuillmarkDoc* m_document;
    CMainFrame* m_frame;
    CSerial m_serial;
};
