#pragma once

#include "CSerial.h"
#include "RecordingOptions.h"

// Qt
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class CLineprobeDoc;
class CRecordingViews;

// The recording of the FAT's traffic, without widgets: owns the serial port, asks the FAT for
// its identification ("T"), tells it to send ("S"), keeps every received chunk in the trace
// files and hands it to the views, and ends the recording on command ("H"), when the FAT stays
// silent or on a serious port error. The recording session owns it, for the window and for
// lineprobe-cli alike. The serial component's messages come to this object.
class CRecordingControl : public QObject
{
    Q_OBJECT

public:
    // Timer numbers: 1 = no answer to "T", 2 = reconnect after a break or a lost device.
    enum { IdentTimer = 1, ReconnectTimer = 2 };
    enum { IdentTimeoutMs = 2000, ReconnectMs = 500 };
    // Recording state while the port is open.
    enum { AwaitingIdent = 0, Recording = 26 };
    enum { IdentChars = 32, MaxChunk = 2048 };
    // How a recording ended.
    enum class End { Stopped, NoAnswer, Unsupported, PortError, TraceLost };

    // options: what the user chose, owned by the session; read at each start.
    CRecordingControl(CLineprobeDoc& doc, RecordingOptions& options, QObject* parent = nullptr);
    // Stops a running recording (footer, list files) first.
    ~CRecordingControl() override;

    // The views the recording feeds; nullptr = none (nothing is shown).
    void SetViews(CRecordingViews* views) { m_views = views; }
    CSerial& Serial() { return m_serial; }
    const CSerial& Serial() const { return m_serial; }
    CLineprobeDoc& Doc() { return m_doc; }

    // The port number of the program's settings: read when the view is created, written back
    // when it is destroyed (only when it was 0 or differs).
    void ReadPortSetting();
    void WritePortSetting() const;

    // state --------------------------------------------------------------------------------------
    bool IsRecording() const;
    int RecordingState() const { return m_state; }
    int PanelCode() const { return m_panelCode; }
    // Identification characters collected so far (beyond 32 they are counted, not kept).
    int CollectedCount() const { return m_collected; }
    bool TimerActive(int timer) const;
    // The last recording's trace files or list files could not be written completely (the
    // reason was shown).
    bool SaveFailed() const;
    // "Lineprobe ist für eine Aufnahme bereit", "Analyse Aktiv", "Analyse Beendet".
    QString StatusText() const { return m_statusText; }

    // Periods of timers 1 and 2 (tests shorten them).
    void SetTimerPeriods(int identMs, int reconnectMs);

    // commands -----------------------------------------------------------------------------------
    // "Aufzeichnung &starten" from any window, "&Speichern" while idle.
    void OnStartRecording() { StartRecording(); }
    // The same, telling why a start came to nothing. A port that does not open is reported
    // with its device and the reason.
    enum class Start { Started, AlreadyRunning, NoTraceFiles, NoPort };
    Start StartRecording();
    // "Aufzeichnung &beenden", and before a list file is loaded. Writes the footer and
    // both list files whenever a recording runs, whether the port is still open or not.
    void OnStopRecording();
    // "&Konfiguration": the port dialog, or in expert mode the parameter dialog and
    // then LineSettingsWanted for the line-break dialog.
    void OnConfiguration();
    // The monitor's line commands: 0 set RTS, 1 clear RTS, 2 set DTR, 3 clear DTR. A port that
    // cannot change its lines (a pseudo-terminal) changes nothing else.
    void OnModemLine(int command);

    // The serial component's messages (also reached through event()).
    void OnCommRxChar();
    void OnCommError(int kind);
    void OnCommStatusChanged();

signals:
    void StatusTextChanged(const QString& text);
    // The recording flag changed (for the enabling of the commands).
    void RecordingChanged(bool recording);
    // A recording ended; the reason tells a stop on command from one by itself.
    void Ended(CRecordingControl::End reason);
    // The first expert-mode start: the modem-line monitor is to be opened.
    void MonitorWanted();
    // The modem lines (bits 0x10 CTS, 0x20 DSR, 0x80 carrier) for the monitor.
    void ModemStatusChanged(unsigned long status);
    // Expert-mode configuration: the line-break dialog on the options' line settings.
    void LineSettingsWanted();

protected:
    bool event(QEvent* event) override;

private:
    void RequestIdentification();
    // Reads what is pending: identification bytes while awaiting it, chunks while recording.
    void Receive();
    // One read of at most 32 bytes while awaiting the identification; returns the count read.
    int ScanIdentification(int pending);
    void IdentificationComplete();
    // Writes the chunk to the trace files and hands it to the views; false when the views
    // have no rule for the panel code or the .ts was lost (deleted, shortened, not written).
    bool RecordChunkAndShow(const QByteArray& chunk);
    void OnIdentTimeout();
    void OnReconnect();
    void KillTimers();
    void StopRecording(End reason);
    void SetStatus(const QString& text);
    void ShowText(const QByteArray& text);

    CLineprobeDoc& m_doc;
    RecordingOptions& m_options;
    CRecordingViews* m_views = nullptr;
    CSerial m_serial;
    QTimer m_identTimer;
    QTimer m_reconnectTimer;

    bool m_saveRun = false;   // the running recording writes trace and list files
    bool m_expertRun = false; // the mode of the running recording
    int m_state = AwaitingIdent;
    bool m_ready = false;
    bool m_collecting = false;
    int m_collected = 0;
    QByteArray m_ident;
    int m_panelCode = 0;
    bool m_monitorOpened = false;
    bool m_continuePending = false;
    bool m_listsFailed = false;
    QString m_statusText;
};
