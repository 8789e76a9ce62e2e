#pragma once

#include "TransferTypes.h"

// Qt
#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>

class CQuillmarkDoc;
struct ProjectData;

// What a protocol machine may do on the line and in the transfer window. CTransferCore
// gives it the real port, timer and progress; a test may give it a script.
class ITransferSession
{
public:
    virtual ~ITransferSession() = default;
    virtual QByteArray Read(int max) = 0;
    virtual void Send(const QByteArray& bytes) = 0;
    virtual void SetStatus(const QString& text) = 0;
    virtual void SetProgressRange(int minimum, int maximum) = 0;
    virtual void SetProgressPos(int position) = 0;
    virtual void StepProgress() = 0;
    virtual int ProgressPosition() const = 0;
    // The time-out step at once, as if the FAT had fallen silent.
    virtual void EndNow() = 0;
    // Ends the transfer with 0x04 and an error message; the project is left as it is.
    virtual void Refuse(const QString& text) = 0;
    // Hands the prepared records to the sender thread.
    virtual void StartSender(const QList<QByteArray>& records) = 0;
};

// One of the four transfers as a state machine: the receive step of its mode and its row of
// the time-out table. The session feeds it the number of bytes waiting on each notification.
class CTransferMachine
{
public:
    // What the time-out shows for a state.
    struct Verdict
    {
        enum Kind { KeepWaiting, Message, None };
        Kind kind = None;
        const char* text = nullptr;
        bool errorIcon = false;
        bool success = false;
    };

    CTransferMachine(ITransferSession& session, CQuillmarkDoc& document, std::atomic<int>& state);
    virtual ~CTransferMachine() = default;

    // The machine of a mode; null for LineError and unknown modes.
    static std::unique_ptr<CTransferMachine>
    Create(int mode, ITransferSession& session, CQuillmarkDoc& document, std::atomic<int>& state);

    virtual int StartState() const = 0;
    // Before the first byte goes out; false ends the transfer at once (nothing was sent).
    virtual bool Prepare() { return true; }
    virtual void Receive(int waiting) = 0;
    virtual Verdict OnTimeout(int state) const = 0;

protected:
    void SendByte(unsigned char byte);
    // Sends the first of bytes; EchoArrived checks each echo and sends the next byte, true
    // once the last one came back unchanged. A wrong echo is left to the time-out.
    void SendEchoed(const QByteArray& bytes);
    bool EchoArrived(int waiting);
    // The start of both write transfers (CheckIdent, AwaitReady): the identification must
    // be the project's FAT, then the write command goes out until the FAT answers ready.
    // True once it is ready.
    bool WriteAccepted(int waiting, unsigned char command);
    ProjectData& Data();

    static Verdict Show(const char* text, bool success = false, bool errorIcon = false)
    {
        return Verdict{Verdict::Message, text, errorIcon, success};
    }
    // The time-out table of both write transfers; they differ only in the state that
    // awaits an echo and the state of success.
    static Verdict WriteVerdict(int state, int echoState, int completeState);

    ITransferSession& m_session;
    CQuillmarkDoc& m_document;
    std::atomic<int>& m_state;
    QByteArray m_buffer; // the bytes being echoed
    int m_byteIndex = 0;
};

// The texts of the time-out table, shared by the machines.
namespace TransferText {
extern const char* const SuccessRead;  // without the final full stop
extern const char* const SuccessWrite; // with it
extern const char* const NoAnswer;
extern const char* const WrongFat;
extern const char* const SendAgain;
extern const char* const NotProgrammable;
} // namespace TransferText
