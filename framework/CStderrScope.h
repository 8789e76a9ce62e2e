#pragma once

#include "CStderrMessages.h"

// The stderr sink of a command-line tool for the scope of one command: installed on
// construction, the previous sink restored on destruction, whatever way the command returns.
class CStderrScope : public CStderrMessages
{
public:
    CStderrScope();
    ~CStderrScope() override;
    CStderrScope(const CStderrScope&) = delete;
    CStderrScope& operator=(const CStderrScope&) = delete;

private:
    CMessageSink* m_previous = nullptr;
};
