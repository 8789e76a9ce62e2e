#pragma once

#include "CDocument.h"
#include "LineprobeHints.h"

// Qt
#include <QWidget>

class CLineprobeDoc;
class QButtonGroup;
class QLabel;
class QRadioButton;

// The modem-line monitor of expert mode: DTR and RTS are set by the user (hint 9 with 0 to 3
// to the ASCII view, which drives the lines); DSR, CD and CTS show the modem status word that
// the ASCII view sends with hint 9 and cannot be changed here.
class CHandshake : public QWidget, public CView
{
    Q_OBJECT

public:
    // The five lines in the order of the window.
    enum Line { Dtr, Dsr, Cd, Rts, Cts, LineCount };
    // Value of a line: 0 = "ON" selected, 1 = "OFF" selected, -1 = none.
    enum { On = 0, Off = 1, NoValue = -1 };
    // Ids of the "ON" buttons; each "OFF" button has the id after it.
    static constexpr int kOnIds[LineCount] = {1003, 1005, 1007, 1009, 1011};

    explicit CHandshake(CLineprobeDoc* doc, QWidget* parent = nullptr);

    int Value(Line line) const { return m_value[line]; }
    QRadioButton* Button(Line line, bool on) const { return on ? m_on[line] : m_off[line]; }

    // The monitor's own commands reach the ASCII view by hints.
    void OnStartCommand() { Notify(HintStart); }
    void OnStopCommand() { Notify(HintStop); }
    void OnConfigureCommand() { Notify(HintConfigure); }
    void OnFatDataCommand() { Notify(HintIdentDialog); }

    void OnUpdate(CView* sender, long hint, const QVariant& arg) override;

private:
    void Notify(long hint, const QVariant& arg = QVariant());
    void OnClicked(Line line, bool on);
    // Shows the stored values: the matching button checked, or neither for -1.
    void UpdateDisplay();

    CLineprobeDoc* m_doc;
    int m_value[LineCount] = {Off, NoValue, NoValue, Off, NoValue};
    QLabel* m_label[LineCount] = {};
    QRadioButton* m_on[LineCount] = {};
    QRadioButton* m_off[LineCount] = {};
    QButtonGroup* m_group[LineCount] = {};
};
