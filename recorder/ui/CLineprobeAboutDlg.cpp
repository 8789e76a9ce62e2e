#include "CLineprobeAboutDlg.h"

#include "LineprobeIcon.h"

// Qt
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CLineprobeAboutDlg::CLineprobeAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Info über Lineprobe"));
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(LineprobeIcon().pixmap(48, 48));
    auto* version = new QLabel(VersionLine(), this);
    version->setObjectName(QStringLiteral("version"));
    auto* notice = new QLabel(
        QString::fromUtf8("Copyright © Korvalin GmbH. Aufzeichnung des FAT-Datenverkehrs."), this);
    notice->setObjectName(QStringLiteral("notice"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(notice, 1, 1);
    layout->addWidget(ok, 0, 2, 2, 1, Qt::AlignTop);
    layout->setHorizontalSpacing(16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
