#include "CHandshake.h"

// Qt
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace {

// Bits of the modem status word.
constexpr unsigned long kCts = 0x10;
constexpr unsigned long kDsr = 0x20;
constexpr unsigned long kCd = 0x80;

// Commands of the user-set lines.
constexpr int kRtsOn = 0;
constexpr int kRtsOff = 1;
constexpr int kDtrOn = 2;
constexpr int kDtrOff = 3;

} // namespace

CHandshake::CHandshake(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CHandshake"));
    setWindowTitle(QStringLiteral("Handshake"));
    // The access keys of the two lines the user sets lead to their "ON" button; they keep
    // clear of the menu bar's keys (D, T, A, F). The lines of the FAT are shown only.
    static const char* const labels[LineCount] = {"DT&R", "DSR", "CD", "RT&S", "CTS"};
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(24);
    for (int i = 0; i < LineCount; ++i) {
        const Line line = Line(i);
        m_label[i] = new QLabel(QString::fromLatin1(labels[i]), this);
        m_on[i] = new QRadioButton(QStringLiteral("ON"), this);
        m_off[i] = new QRadioButton(QStringLiteral("OFF"), this);
        m_on[i]->setObjectName(QStringLiteral("radio%1").arg(kOnIds[i]));
        m_off[i]->setObjectName(QStringLiteral("radio%1").arg(kOnIds[i] + 1));
        m_label[i]->setBuddy(m_on[i]);
        m_group[i] = new QButtonGroup(this);
        m_group[i]->addButton(m_on[i]);
        m_group[i]->addButton(m_off[i]);
        // The lines the FAT drives are shown only; tabbing passes them by.
        if (line == Dsr || line == Cd || line == Cts) {
            m_on[i]->setFocusPolicy(Qt::NoFocus);
            m_off[i]->setFocusPolicy(Qt::NoFocus);
        }
        connect(m_on[i], &QRadioButton::clicked, this, [this, line] { OnClicked(line, true); });
        connect(m_off[i], &QRadioButton::clicked, this, [this, line] { OnClicked(line, false); });
        grid->addWidget(m_label[i], 0, i);
        grid->addWidget(m_on[i], 1, i);
        grid->addWidget(m_off[i], 2, i);
    }
    grid->setColumnStretch(LineCount, 1);
    grid->setRowStretch(3, 1);
    // Activating the window leads the keyboard to the first line the user sets.
    setFocusProxy(m_on[Dtr]);
    UpdateDisplay();
}

void CHandshake::OnClicked(Line line, bool on)
{
    switch (line) {
    case Dtr:
        m_value[Dtr] = on ? On : Off;
        UpdateDisplay();
        emit ModemLineRequested(on ? kDtrOn : kDtrOff);
        break;
    case Rts:
        m_value[Rts] = on ? On : Off;
        UpdateDisplay();
        emit ModemLineRequested(on ? kRtsOn : kRtsOff);
        break;
    default:
        // Lines of the FAT: a click changes nothing, the display shows the stored values again.
        UpdateDisplay();
        break;
    }
}

void CHandshake::UpdateDisplay()
{
    for (int i = 0; i < LineCount; ++i) {
        // An exclusive group cannot show "neither"; it is exclusive again after the change.
        m_group[i]->setExclusive(false);
        m_on[i]->setChecked(m_value[i] == On);
        m_off[i]->setChecked(m_value[i] == Off);
        m_group[i]->setExclusive(true);
    }
}

void CHandshake::ShowModemStatus(unsigned long status)
{
    m_value[Cts] = (status & kCts) ? On : Off;
    m_value[Dsr] = (status & kDsr) ? On : Off;
    m_value[Cd] = (status & kCd) ? On : Off;
    UpdateDisplay();
}
