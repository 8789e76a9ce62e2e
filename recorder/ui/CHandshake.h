#pragma once

// Qt
#include <QWidget>

class QButtonGroup;
class QLabel;
class QRadioButton;

// The modem-line monitor of expert mode: DTR and RTS are set by the user (ModemLineRequested
// with 0 to 3, which the recording control drives); DSR, CD and CTS show the modem status word
// of the recording and cannot be changed here.
class CHandshake : public QWidget
{
    Q_OBJECT

public:
    // The five lines in the order of the window.
    enum Line { Dtr, Dsr, Cd, Rts, Cts, LineCount };
    // Value of a line: 0 = "ON" selected, 1 = "OFF" selected, -1 = none.
    enum { On = 0, Off = 1, NoValue = -1 };
    // Ids of the "ON" buttons; each "OFF" button has the id after it.
    static constexpr int kOnIds[LineCount] = {1003, 1005, 1007, 1009, 1011};

    explicit CHandshake(QWidget* parent = nullptr);

    int Value(Line line) const { return m_value[line]; }
    QRadioButton* Button(Line line, bool on) const { return on ? m_on[line] : m_off[line]; }

    // The modem status word (bits 0x10 CTS, 0x20 DSR, 0x80 carrier) shown in CTS, DSR and CD.
    void ShowModemStatus(unsigned long status);

signals:
    // 0 = set RTS, 1 = clear RTS, 2 = set DTR, 3 = clear DTR
    void ModemLineRequested(int command);

private:
    void OnClicked(Line line, bool on);
    // Shows the stored values: the matching button checked, or neither for -1.
    void UpdateDisplay();

    int m_value[LineCount] = {Off, NoValue, NoValue, Off, NoValue};
    QLabel* m_label[LineCount] = {};
    QRadioButton* m_on[LineCount] = {};
    QRadioButton* m_off[LineCount] = {};
    QButtonGroup* m_group[LineCount] = {};
};
