#include "CCoverPageDlg.h"

#include "CodePage.h"
#include "PrintFonts.h"

// Qt
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>

CCoverPageDlg::CCoverPageDlg(const ProjectData& data, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Deckblatt"));

    // The edits in "Courier New" at the height of the dialog's own font, when it is there.
    const QFontMetrics own(font());
    QFont editFont = font();
    if (const auto courier =
            PrintFonts::Create(QStringLiteral("Courier New"), own.height() + own.leading())) {
        editFont.setFamily(courier->family);
        editFont.setPixelSize(courier->height);
        editFont.setWeight(QFont::Normal);
    }
    const int editWidth = QFontMetrics(editFont).horizontalAdvance(QString(MaxChars, 'W')) + 12;

    // Each block's labels carry access keys of their own, so Alt reaches every field.
    const char* const labels[6] = {"&Name:", "&Straße:", "&Ort:", "Na&me:", "S&traße:", "O&rt:"};
    QGroupBox* boxes[2] = {new QGroupBox(QStringLiteral("&Projekt"), this),
                           new QGroupBox(QStringLiteral("&Kunde / Auftraggeber"), this)};
    for (int box = 0; box < 2; ++box) {
        auto* form = new QFormLayout(boxes[box]);
        for (int row = 0; row < 3; ++row) {
            const int i = box * 3 + row;
            auto* edit = new QLineEdit(boxes[box]);
            edit->setObjectName(QStringLiteral("edit%1").arg(ControlIds[i]));
            edit->setMaxLength(MaxChars);
            edit->setFont(editFont);
            edit->setMinimumWidth(editWidth);
            const QByteArray text(data.coverPage[i],
                                  int(qstrnlen(data.coverPage[i], sizeof data.coverPage[i])));
            edit->setText(FromCp1252(text).left(MaxChars));
            auto* label = new QLabel(QString::fromUtf8(labels[i]), boxes[box]);
            label->setBuddy(edit);
            form->addRow(label, edit);
            m_edits[i] = edit;
        }
    }

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* blocks = new QVBoxLayout;
    blocks->addWidget(boxes[0]);
    blocks->addWidget(boxes[1]);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(blocks, 1);
    layout->addWidget(buttons, 0, Qt::AlignTop);

    for (int i = 0; i + 1 < 6; ++i)
        setTabOrder(m_edits[i], m_edits[i + 1]);
    setTabOrder(m_edits[5], ok);
    setTabOrder(ok, cancel);
    m_edits[0]->setFocus();
}

QLineEdit* CCoverPageDlg::Edit(int controlId) const
{
    for (int i = 0; i < 6; ++i)
        if (ControlIds[i] == controlId)
            return m_edits[i];
    return nullptr;
}

QStringList CCoverPageDlg::Texts() const
{
    QStringList texts;
    for (QLineEdit* edit : m_edits)
        texts.append(edit->text());
    return texts;
}

void CCoverPageDlg::StoreTexts(ProjectData& data, const QStringList& texts)
{
    for (int i = 0; i < 6 && i < texts.size(); ++i) {
        const QByteArray bytes = ToCp1252(texts.at(i).left(MaxChars)).left(MaxChars);
        std::memset(data.coverPage[i], 0, sizeof data.coverPage[i]);
        std::memcpy(data.coverPage[i], bytes.constData(), size_t(bytes.size()));
    }
}
