#include "CAboutDlg.h"

// Qt
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Info über Quillmark"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/quillmark/quillmark.svg")).pixmap(48, 48));
    auto* version = new QLabel(VersionLine(), this);
    version->setObjectName(QStringLiteral("version"));
    auto* notice = new QLabel(
        QString::fromUtf8("Copyright © Korvalin GmbH. Texteditor für Feuerwehr-Anzeigetableaus."),
        this);
    notice->setObjectName(QStringLiteral("notice"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(notice, 1, 1);
    layout->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
    layout->setHorizontalSpacing(16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
