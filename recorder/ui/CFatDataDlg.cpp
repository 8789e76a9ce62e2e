#include "CFatDataDlg.h"

#include "CLineprobeDoc.h"
#include "CMessages.h"
#include "CodePage.h"

// Qt
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CFatDataDlg::CFatDataDlg(const QString& fatVersion, const QString& maker, const QString& model,
                         QWidget* parent)
    : QDialog(parent), m_version(new QLabel(fatVersion, this)), m_maker(new QLabel(maker, this)),
      m_model(new QLabel(model, this))
{
    setWindowTitle(QStringLiteral("FAT Anpassung"));
    m_version->setObjectName(QStringLiteral("text1000"));
    m_maker->setObjectName(QStringLiteral("text1001"));
    m_model->setObjectName(QStringLiteral("text1002"));
    for (QLabel* label : {m_version, m_maker, m_model})
        label->setTextFormat(Qt::PlainText);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(new QLabel(QStringLiteral("FAT-Version:"), this));
    versionRow->addWidget(m_version, 1);
    versionRow->addWidget(ok);

    auto* group = new QGroupBox(QStringLiteral("Zentralen-Anpassung"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Hersteller:"), group), 0, 0);
    grid->addWidget(m_maker, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Zentrale:"), group), 1, 0);
    grid->addWidget(m_model, 1, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(versionRow);
    layout->addWidget(group);
}

void CFatDataDlg::ShowIdentification(const CLineprobeDoc& doc, QWidget* parent)
{
    if (doc.fatVersion.isEmpty()) {
        MessageBox(QStringLiteral("Sie müssen zuerst mit dem FAT Verbindung aufnehmen."), QString(),
                   msg::Information);
        return;
    }
    CFatDataDlg dialog(FromCp1252(doc.fatVersion), FromCp1252(doc.maker), FromCp1252(doc.model),
                       parent);
    dialog.exec();
}

QString CFatDataDlg::FatVersionText() const
{
    return m_version->text();
}

QString CFatDataDlg::MakerText() const
{
    return m_maker->text();
}

QString CFatDataDlg::ModelText() const
{
    return m_model->text();
}
