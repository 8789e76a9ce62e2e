#include "CStderrScope.h"

CStderrScope::CStderrScope() : m_previous(SetMessages(this)) {}

CStderrScope::~CStderrScope()
{
    SetMessages(m_previous);
}
