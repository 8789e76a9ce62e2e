#pragma once

#include "FatVerify.h"

// Qt
#include <QDialog>

class QLabel;
class QTreeWidget;

// The result of "Mit FAT vergleichen": a summary line and one row per difference, with both
// versions of the texts.
class CVerifyResultDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CVerifyResultDlg(const FatVerify::Result& result, QWidget* parent = nullptr);

    QLabel* Summary() const { return m_summary; }
    QTreeWidget* List() const { return m_list; }

private:
    QLabel* m_summary = nullptr;
    QTreeWidget* m_list = nullptr;
};
