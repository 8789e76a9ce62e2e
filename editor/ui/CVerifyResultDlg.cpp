#include "CVerifyResultDlg.h"

#include "CodePage.h"

// Qt
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString KindText(FatVerify::Difference::Kind kind)
{
    switch (kind) {
    case FatVerify::Difference::MissingInFat:
        return QStringLiteral("fehlt im FAT");
    case FatVerify::Difference::OnlyInFat:
        return QStringLiteral("nur im FAT");
    case FatVerify::Difference::DifferentOffset:
        return QStringLiteral("anderer Offset");
    default:
        return QStringLiteral("andere Texte");
    }
}

} // namespace

CVerifyResultDlg::CVerifyResultDlg(const FatVerify::Result& result, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Mit FAT vergleichen"));
    auto* layout = new QVBoxLayout(this);
    const int count = int(result.differences.size());
    m_summary =
        new QLabel(count == 0   ? FatVerify::SameText()
                   : count == 1 ? QStringLiteral("Projekt und FAT unterscheiden sich in 1 Punkt:")
                                : QStringLiteral("Projekt und FAT unterscheiden sich in %1 "
                                                 "Punkten:")
                                      .arg(count),
                   this);
    layout->addWidget(m_summary);
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("MelderGruppe"), QStringLiteral("Melder"),
                             QStringLiteral("Unterschied"), QStringLiteral("Projekt"),
                             QStringLiteral("FAT")});
    for (const FatVerify::Difference& diff : result.differences) {
        m_list->addTopLevelItem(new QTreeWidgetItem(
            QStringList{FromCp1252(diff.group), FromCp1252(diff.detector), KindText(diff.kind),
                        FromCp1252(diff.project), FromCp1252(diff.fat)}));
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setVisible(count > 0);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    if (count > 0)
        resize(760, 420);
}
