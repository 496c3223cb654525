#include "PduCursor.h"

#include "PduCodec.h"
#include "StringUtil.h"

#include <cstring>

PduCursor::PduCursor(const char *text) : m_text(text ? text : ""), m_length(std::strlen(m_text)) {}

bool PduCursor::PeekOctet(unsigned char &value) const
{
    value = 0;
    if (Remaining() < 2)
        return false;
    gsmString2Bytes(Here(), &value, 2);
    return true;
}

bool PduCursor::Skip(size_t chars)
{
    if (Remaining() < chars)
        return false;
    m_position += chars;
    return true;
}

void PduCursor::SkipIfMore(size_t chars)
{
    if (Remaining() > chars)
        m_position += chars;
}

void PduCursor::SkipUpTo(size_t chars)
{
    m_position += chars < Remaining() ? chars : Remaining();
}

size_t PduCursor::PeekOctets(unsigned char *dst, size_t maxOctets) const
{
    const size_t whole = Remaining() / 2;
    const size_t octets = whole < maxOctets ? whole : maxOctets;
    gsmString2Bytes(Here(), dst, static_cast<int>(2 * octets));
    return octets;
}

bool PduCursor::StartsWith(const char *prefix) const
{
    return ::StartsWith(std::string_view(Here(), Remaining()), prefix);
}
