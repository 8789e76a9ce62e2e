#pragma once

#include "CDurableFile.h"
#include "CFatSimulator.h"
#include "CPseudoTerminal.h"
#include "CTrafficSource.h"
#include "FatSimOptions.h"
#include "FatStore.h"

// Qt
#include <QString>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

// Runs the simulated FAT on a pseudo-terminal: reads the PC's bytes, feeds the simulator,
// writes its answers (paced by the byte time when a baud rate is given), plays the recorder's
// traffic at its rate while the simulator records, logs every byte and keeps the store file up
// to date. A FAT that vanished can come back on a new pseudo-terminal under the same link.
class CSimulatorLoop
{
public:
    using Clock = std::chrono::steady_clock;

    explicit CSimulatorLoop(const FatSimOptions& options);
    ~CSimulatorLoop();

    // Creates the device; ready is called with its path before the first byte is read (and
    // again with the new path when the FAT comes back after vanishing).
    // Returns 0 after Stop, 1 on a failure (message in error), 3 after vanishing on request.
    int Run(const std::function<void(const QString& device)>& ready, QString& error);
    // May be called from any thread or a signal handler.
    void Stop() { m_stop = true; }

private:
    enum class Session { Stopped, Failed, Vanished };
    // One life of the device, from its creation to Stop, a failure or vanishing.
    Session RunSession(CFatSimulator& fat, CTrafficSource& traffic, QString& error);
    // Sends the traffic that is due; false when the FAT vanished at a traffic point.
    bool PlayTraffic(CTrafficSource& traffic, Clock::time_point started);
    void Log(char direction, unsigned char byte, Clock::time_point when);
    // Hands the logged lines to the file.
    void FlushLog();
    bool WriteAnswer(const CFatSimulator::Answer& answer, Clock::time_point earliest);
    void SaveStore();

    const FatSimOptions& m_options;
    FatSimOptions m_session; // the options of this life: a vanishing point fires once
    FatStore m_store;
    CPseudoTerminal m_pty;
    std::atomic<bool> m_stop{false};
    std::unique_ptr<CDurableFile> m_log;
    QByteArray m_logLines;
    Clock::time_point m_start;
    Clock::duration m_byteTime{0};
    Clock::time_point m_rxFree;
    Clock::time_point m_txFree;
};
