#include <cstring>

#include "TermSupport.h"

namespace {

enum SplitState { ST_DELIM, ST_WORD, ST_WORD_ESC, ST_SQUOTE, ST_DQUOTE, ST_DQUOTE_ESC };

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDoubleQuoteEscapable(char c)
{
    return c == '\\' || c == '"' || c == '`' || c == '$';
}

class WordBuilder {
public:
    void Add(char c)
    {
        m_started = true;
        if (m_length < SPLIT_WORD_MAX)
            m_word[m_length++] = c;
        else
            m_flags |= SPLIT_TRUNCATED;
    }
    // A quote pair makes a word even when nothing is inside it.
    void Start() { m_started = true; }

    // Stores the word, if any; false when the copy failed.
    bool Finish(int *argc, char **argv, int argvSize)
    {
        if (!m_started)
            return true;
        m_word[m_length] = '\0';
        m_started = false;
        m_length = 0;
        if (*argc < 0 || *argc >= argvSize) {
            m_flags |= SPLIT_DROPPED;
            return true;
        }
        char *copy = strdup(m_word);
        if (!copy)
            return false;
        argv[(*argc)++] = copy;
        return true;
    }
    int Flags() const { return m_flags; }

private:
    char m_word[SPLIT_WORD_MAX + 1];
    int m_length = 0;
    bool m_started = false;
    int m_flags = 0;
};

}  // namespace

int split_quoted(const char *text, int *argc, char **argv, int argv_sz)
{
    WordBuilder word;
    SplitState state = ST_DELIM;
    for (const char *p = text; *p; p++) {
        const char c = *p;
        switch (state) {
        case ST_DELIM:
        case ST_WORD:
            if (IsSeparator(c)) {
                if (!word.Finish(argc, argv, argv_sz))
                    return -1;
                state = ST_DELIM;
            } else if (c == '\\') {
                state = ST_WORD_ESC;
            } else if (c == '\'') {
                word.Start();
                state = ST_SQUOTE;
            } else if (c == '"') {
                word.Start();
                state = ST_DQUOTE;
            } else {
                word.Add(c);
                state = ST_WORD;
            }
            break;
        case ST_WORD_ESC:
            if (c != '\n')
                word.Add(c);
            state = ST_WORD;
            break;
        case ST_SQUOTE:
            if (c == '\'')
                state = ST_WORD;
            else
                word.Add(c);
            break;
        case ST_DQUOTE:
            if (c == '"')
                state = ST_WORD;
            else if (c == '\\')
                state = ST_DQUOTE_ESC;
            else
                word.Add(c);
            break;
        case ST_DQUOTE_ESC:
            if (IsDoubleQuoteEscapable(c)) {
                word.Add(c);
            } else if (c != '\n') {
                word.Add('\\');
                word.Add(c);
            }
            state = ST_DQUOTE;
            break;
        }
    }
    if (state != ST_DELIM && state != ST_WORD)
        return -1;
    if (!word.Finish(argc, argv, argv_sz))
        return -1;
    return word.Flags();
}
