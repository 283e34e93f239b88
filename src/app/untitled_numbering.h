#pragma once

// Numbers of untitled tabs: each new one takes the counter + 1. Closing the most
// recently numbered one gives its number back; closing the only tab resets.
class UntitledNumbering {
public:
    void reset() { m_counter = 0; }
    int next() { return ++m_counter; }
    void tabClosed(int tabNumber, bool wasOnlyTab)
    {
        if (wasOnlyTab)
            m_counter = 0;
        else if (tabNumber == m_counter)
            --m_counter;
    }
    int counter() const { return m_counter; }

private:
    int m_counter = 0;
};
