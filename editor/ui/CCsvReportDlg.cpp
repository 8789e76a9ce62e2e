#include "CCsvReportDlg.h"

// Qt
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CCsvReportDlg::CCsvReportDlg(const QStringList& problems, int goodRows, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("CSV-Datei importieren"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Zeilen der Datei abgelehnt: %1, gültig: %2. Es wurde noch nichts "
                       "importiert.")
            .arg(problems.size())
            .arg(goodRows),
        this));
    m_list = new QListWidget(this);
    m_list->addItems(problems);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(this);
    m_take = buttons->addButton(QStringLiteral("Gültige Zeilen übernehmen"),
                                QDialogButtonBox::AcceptRole);
    m_take->setEnabled(goodRows > 0);
    buttons->addButton(QDialogButtonBox::Cancel)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 320);
}
