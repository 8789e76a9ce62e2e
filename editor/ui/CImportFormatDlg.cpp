#include "CImportFormatDlg.h"

#include "ImportBmf.h"
#include "TextFormats.h"

// Qt
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CImportFormatDlg::CImportFormatDlg(int formatBits, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("BMF-Datei importieren"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("In welchem Textformat soll die Datei importiert werden ?"), this));

    // Each name with its first letter as the mnemonic.
    auto label = [](int textFormat) {
        return QLatin1Char('&') + QString::fromLatin1(TextFormats::Of(textFormat)->importName);
    };
    m_standard = new QRadioButton(label(FormatStandard), this);
    m_standard->setObjectName(QStringLiteral("standard"));
    m_pseudo = new QRadioButton(label(FormatPseudo), this);
    m_pseudo->setObjectName(QStringLiteral("pseudo"));
    m_twoLines = new QRadioButton(label(FormatTwoLines), this);
    m_twoLines->setObjectName(QStringLiteral("twoLines"));
    auto* group = new QButtonGroup(this);
    for (QRadioButton* button : {m_standard, m_pseudo, m_twoLines}) {
        group->addButton(button);
        layout->addWidget(button);
    }
    if (QRadioButton* off = Button(BmfImport::DisabledKind(formatBits)))
        off->setEnabled(false);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_ok->setEnabled(false);
    m_ok->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Nothing is chosen when the dialog opens; OK waits for a choice.
    connect(group, &QButtonGroup::buttonToggled, this, [this] { m_ok->setEnabled(Kind() != 0); });
}

int CImportFormatDlg::Kind() const
{
    if (m_standard->isChecked())
        return BmfImport::KindStandard;
    if (m_pseudo->isChecked())
        return BmfImport::KindPseudo;
    if (m_twoLines->isChecked())
        return BmfImport::KindTwoLines;
    return 0;
}

QRadioButton* CImportFormatDlg::Button(int kind) const
{
    switch (kind) {
    case BmfImport::KindStandard:
        return m_standard;
    case BmfImport::KindPseudo:
        return m_pseudo;
    case BmfImport::KindTwoLines:
        return m_twoLines;
    }
    return nullptr;
}
