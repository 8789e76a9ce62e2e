#include "CTextFormatDlg.h"

// Qt
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CTextFormatDlg::CTextFormatDlg(const std::array<FormatConversion::Target, 2>& targets,
                               QWidget* parent)
    : QDialog(parent), m_targets(targets)
{
    setWindowTitle(QStringLiteral("Textformat ändern"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Wählen Sie das neue Textformat aus:"), this));
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        // The access key is the label's first letter or digit; the two labels never share it.
        m_buttons[i] = new QRadioButton(QLatin1Char('&') + targets[i].label, this);
        m_buttons[i]->setObjectName(QStringLiteral("format%1").arg(i));
        layout->addWidget(m_buttons[i]);
    }
    m_buttons[0]->setChecked(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int CTextFormatDlg::Selected() const
{
    return m_buttons[1]->isChecked() ? 1 : 0;
}
