// A read position in PDU hex text that never passes the text's terminator:
// every field is taken only after checking that the text still holds it.
#ifndef ZARVEX_PDU_CURSOR_H
#define ZARVEX_PDU_CURSOR_H

#include <cstddef>

class PduCursor {
public:
    explicit PduCursor(const char *text);

    size_t Remaining() const { return m_length - m_position; }
    size_t Position() const { return m_position; }
    const char *Here() const { return m_text + m_position; }

    // The octet of the next two characters, without moving; false (value 0)
    // when fewer than two remain.
    bool PeekOctet(unsigned char &value) const;
    // Moves on `chars` when at least that many remain; false, not moved,
    // otherwise.
    bool Skip(size_t chars);
    // Moves on `chars` only when more than that many remain.
    void SkipIfMore(size_t chars);
    // Moves on `chars`, or to the end of the text when fewer remain.
    void SkipUpTo(size_t chars);
    // Converts up to `maxOctets` octets that the text holds whole, without
    // moving; returns the octets written to `dst`.
    size_t PeekOctets(unsigned char *dst, size_t maxOctets) const;
    bool StartsWith(const char *prefix) const;

private:
    const char *m_text;
    size_t m_length;
    size_t m_position = 0;
};

#endif
