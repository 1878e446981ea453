#pragma once

#include <cstdint>

// The figures of a "stat" reply. A figure whose key the reply lacks keeps the value
// the caller gave it.
class CServerStats {
public:
    uint32_t m_nTotal = 0;
    uint32_t m_nBlues = 0;
    uint32_t m_nClassical = 0;
    uint32_t m_nCountry = 0;
    uint32_t m_nFolk = 0;
    uint32_t m_nJazz = 0;
    uint32_t m_nMisc = 0;
    uint32_t m_nNewage = 0;
    uint32_t m_nReggae = 0;
    uint32_t m_nRock = 0;
    uint32_t m_nSoundtrack = 0;
    uint32_t m_nData = 0;
    uint32_t m_nCurrentUsers = 0;
    uint32_t m_nMaxUsers = 0;
};
