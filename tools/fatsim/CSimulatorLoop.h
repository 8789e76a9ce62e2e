#pragma once

#include "CFatSimulator.h"
#include "CPseudoTerminal.h"
#include "FatSimOptions.h"
#include "FatStore.h"

// Qt
#include <QString>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>

// Runs the simulated FAT on a pseudo-terminal: reads the PC's bytes, feeds the simulator,
// writes its answers (paced by the byte time when a baud rate is given), logs every byte and
// keeps the store file up to date.
class CSimulatorLoop
{
public:
    using Clock = std::chrono::steady_clock;

    explicit CSimulatorLoop(const FatSimOptions& options);
    ~CSimulatorLoop();

    // Creates the device; ready is called with its path before the first byte is read.
    // Returns 0 after Stop, 1 on a failure (message in error), 3 after vanishing on request.
    int Run(const std::function<void(const QString& device)>& ready, QString& error);
    // May be called from any thread or a signal handler.
    void Stop() { m_stop = true; }

private:
    void Log(char direction, unsigned char byte, Clock::time_point when);
    bool WriteAnswer(const CFatSimulator::Answer& answer, Clock::time_point earliest);
    void SaveStore();

    const FatSimOptions& m_options;
    FatStore m_store;
    CPseudoTerminal m_pty;
    std::atomic<bool> m_stop{false};
    std::FILE* m_log = nullptr;
    Clock::time_point m_start;
    Clock::duration m_byteTime{0};
    Clock::time_point m_rxFree;
    Clock::time_point m_txFree;
};
