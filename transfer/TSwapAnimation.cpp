#include "TSwapAnimation.h"

#include <cstring>

void TSwapAnimation::Reset() {
    std::memset(m_szText, 0, sizeof(m_szText));
    m_bFromLeft = true;
    m_bFilling = true;
    m_nBlanks = 0;
    m_nDashes = 0;
}

const char* TSwapAnimation::Step() {
    const int run = m_bFilling ? m_nDashes : m_nBlanks;
    const char fill = m_bFilling ? '-' : ' ';
    for (int i = 0; i < run; ++i)
        m_szText[m_bFromLeft ? i : kWidth - 1 - i] = fill;
    if (m_bFilling) {
        if (++m_nDashes > kWidth - 1) {
            m_bFilling = false;
            m_nDashes = 0;
            m_nBlanks = 0;
        }
    } else if (++m_nBlanks >= kWidth) {
        m_bFilling = true;
        m_nDashes = 0;
        m_nBlanks = 0;
        m_bFromLeft = !m_bFromLeft;
    }
    return m_szText;
}
