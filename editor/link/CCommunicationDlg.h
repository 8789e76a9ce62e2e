#pragma once

#include "CTransferCore.h"

// Qt
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The modal transfer window "Communication": a progress bar, one line of status text and
// "Abbrechen", showing the transfer core, which does the work.
class CCommunicationDlg : public QDialog
{
    Q_OBJECT

public:
    enum { IDD = 102, IDC_PROGRESS = 1001, IDC_STATUS = 1035 };

    explicit CCommunicationDlg(QWidget* parent = nullptr);
    ~CCommunicationDlg() override;

    // Called before the window is shown; show it (exec) only when the result is non-zero.
    int StartTransfer(int mode, CQuillmarkDoc* document, CSerial* serial);

    CTransferCore& Core() { return m_core; }
    bool Succeeded() const { return m_core.Succeeded(); }
    QProgressBar* ProgressBar() const { return m_progress; }
    QLabel* StatusLabel() const { return m_status; }
    QPushButton* CancelButton() const { return m_cancel; }

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CTransferCore m_core;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_initialised = false;
};
