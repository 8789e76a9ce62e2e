#include "CCommunicationDlg.h"

// Qt
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CCommunicationDlg::CCommunicationDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromLatin1(CTransferCore::Caption()));
    setModal(true);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_progress->setRange(m_core.ProgressMinimum(), m_core.ProgressMaximum());
    m_progress->setValue(m_core.ProgressPosition());
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setMinimumWidth(280);
    // Ends the transfer as closing the window does: a FAT that never becomes ready is
    // otherwise waited for without end.
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &CCommunicationDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    connect(&m_core, &CTransferCore::statusTextChanged, m_status, &QLabel::setText);
    connect(&m_core, &CTransferCore::progressChanged, this, [this](int min, int max, int pos) {
        m_progress->setRange(min, max);
        m_progress->setValue(pos);
    });
    connect(&m_core, &CTransferCore::foregroundRequested, this, [this] {
        if (QWidget* main = parentWidget() ? parentWidget()->window() : nullptr) {
            main->raise();
            main->activateWindow();
        }
    });
    connect(&m_core, &CTransferCore::ended, this, [this] { done(QDialog::Accepted); });
}

CCommunicationDlg::~CCommunicationDlg()
{
    // The sender thread must be gone before the window's data is.
    m_core.OnClose();
}

int CCommunicationDlg::StartTransfer(int mode, CQuillmarkDoc* document, CSerial* serial)
{
    return m_core.StartTransfer(mode, document, serial);
}

void CCommunicationDlg::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_initialised)
        return;
    m_initialised = true;
    m_core.Begin();
}

void CCommunicationDlg::closeEvent(QCloseEvent* e)
{
    m_core.OnClose();
    e->accept();
}

void CCommunicationDlg::reject()
{
    m_core.OnClose();
    if (isVisible())
        done(QDialog::Accepted);
}
