// CWebLayer: one named layer of a vector document shown in a renderer window, with an optional
// cache of the layer drawn alone: run-length encoded, or the raw pixels when runs would not be
// smaller.
#pragma once

#include "framework/core/Afx.h"

#include <cstdint>

class CWebLayer : public CObject {
    DECLARE_DYNAMIC(CWebLayer)
public:
    explicit CWebLayer(const CString& name) : m_name(name) {}
    ~CWebLayer() override { FreeRuns(); }

    void FreeRuns()
    {
        delete[] m_runs;
        m_runs = nullptr;
        m_runCount = 0;
        m_raw = false;
    }

    unsigned m_runCount = 0;  // 32-bit words in m_runs: two per run (value, length), or one per pixel when raw
    int m_width = 0;          // size of the image the cache was taken from
    int m_height = 0;
    CString m_name;
    std::uint32_t* m_runs = nullptr;
    bool m_raw = false;       // m_runs holds the pixels themselves
};
