// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster/PrintHeadCodec.h"

#include <cassert>
#include <cstring>

namespace inkvale {

namespace {

constexpr int kRecordBytes = 22;
constexpr int kNozzles = 150;
constexpr uint32_t kMaxRun = 2200;

// Nozzle index of byte g, bit k, or -1 when that bit is always 0.
int NozzleAt(int g, int k) {
    const int r = (3 * g) % kRecordBytes;
    const int d = r >= 20 ? 1 : 0;
    const int n = kRecordBytes * (k - d) + r;
    return (k < 7 && n >= 0 && n < kNozzles) ? n : -1;
}

// Collects code words and keeps the count of pending zero words.
class CRunWriter {
public:
    CRunWriter(uint8_t* pOut, size_t nCapacity) : m_pOut(pOut), m_nCapacity(nCapacity) {}

    void Zeros(uint32_t n) {
        m_nZeros += n;
        while (m_nZeros >= kMaxRun) {
            Emit(0);
            Emit(static_cast<uint16_t>(kMaxRun));
            m_nZeros -= kMaxRun;
        }
    }
    void Word(uint16_t w) {
        if (w == 0) {
            Zeros(1);
            return;
        }
        Flush();
        Emit(w);
    }
    void Flush() {
        if (m_nZeros == 0)
            return;
        Emit(0);
        Emit(static_cast<uint16_t>(m_nZeros));
        m_nZeros = 0;
    }
    size_t Bytes() const { return m_nPos; }

private:
    void Emit(uint16_t w) {
        assert(m_nPos + 2 <= m_nCapacity && "band data buffer too small for the column image");
        if (m_nPos + 2 > m_nCapacity)
            return;
        m_pOut[m_nPos] = static_cast<uint8_t>(w & 0xFF);
        m_pOut[m_nPos + 1] = static_cast<uint8_t>(w >> 8);
        m_nPos += 2;
    }

    uint8_t* m_pOut;
    size_t m_nCapacity;
    size_t m_nPos = 0;
    uint32_t m_nZeros = 0;
};

bool AllZero(const uint8_t* p, int nBytes) {
    // Nearly every column is empty, so no early exit: OR the words together.
    uint64_t any = 0;
    int i = 0;
    for (; i + 8 <= nBytes; i += 8) {
        uint64_t v;
        std::memcpy(&v, p + i, 8);
        any |= v;
    }
    for (; i < nBytes; ++i)
        any |= p[i];
    return any == 0;
}

} // namespace

CNozzleRecord EncodeNozzleRecord(const CNozzleVector& nozzles) {
    CNozzleRecord rec{};
    for (int g = 0; g < kRecordBytes; ++g) {
        for (int k = 0; k < 7; ++k) {
            const int n = NozzleAt(g, k);
            if (n >= 0 && nozzles[static_cast<size_t>(n)] != 0)
                rec[static_cast<size_t>(g)] |= static_cast<uint8_t>(1u << k);
        }
    }
    return rec;
}

CNozzleVector DecodeNozzleRecord(const CNozzleRecord& record) {
    CNozzleVector nozzles{};
    for (int g = 0; g < kRecordBytes; ++g) {
        for (int k = 0; k < 7; ++k) {
            const int n = NozzleAt(g, k);
            if (n >= 0 && (record[static_cast<size_t>(g)] >> k) & 1u)
                nozzles[static_cast<size_t>(n)] = 1;
        }
    }
    return nozzles;
}

size_t EncodeColumnImage(const uint8_t* pImage, int nColumns, int nColumnBytes, bool bReverse,
                         uint8_t* pOut, size_t nCapacity) {
    CRunWriter writer(pOut, nCapacity);
    const uint32_t nWordsPerColumn = static_cast<uint32_t>(nColumnBytes / 2);
    for (int i = 0; i < nColumns; ++i) {
        const int c = bReverse ? nColumns - 1 - i : i;
        const uint8_t* p = pImage + static_cast<size_t>(c) * static_cast<size_t>(nColumnBytes);
        // Most columns of a line drawing are empty: count them in one step.
        if (AllZero(p, nColumnBytes)) {
            writer.Zeros(nWordsPerColumn);
            continue;
        }
        for (int b = 0; b < nColumnBytes; b += 2)
            writer.Word(static_cast<uint16_t>(p[b] | (p[b + 1] << 8)));
    }
    writer.Flush();
    return writer.Bytes();
}

std::vector<uint16_t> EncodeZeroRuns(std::span<const uint16_t> words) {
    std::vector<uint8_t> bytes(words.size() * 3 + 4);
    CRunWriter writer(bytes.data(), bytes.size());
    for (uint16_t w : words)
        writer.Word(w);
    writer.Flush();
    std::vector<uint16_t> out(writer.Bytes() / 2);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return out;
}

ERunError DecodeZeroRuns(std::span<const uint8_t> data, uint16_t* pOut, size_t nCapacity,
                         size_t& nWords, size_t* pUsedBytes) {
    nWords = 0;
    size_t nUsedWords = 0; // input words behind the output so far
    auto finish = [&](ERunError e) {
        if (pUsedBytes != nullptr)
            *pUsedBytes = 2 * nUsedWords;
        return e;
    };
    if (data.size() % 2 != 0)
        return finish(ERunError::OddLength);
    const size_t nIn = data.size() / 2;
    auto word = [&](size_t i) {
        return static_cast<uint16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    };
    for (size_t i = 0; i < nIn; ++i) {
        const uint16_t w = word(i);
        if (w != 0) {
            if (nWords >= nCapacity)
                return finish(ERunError::TooLong);
            pOut[nWords++] = w;
            nUsedWords = i + 1;
            continue;
        }
        if (i + 1 >= nIn)
            return finish(ERunError::MissingLength);
        const uint16_t n = word(++i);
        if (n == 0 || n > kMaxRun)
            return finish(ERunError::BadLength);
        if (n > nCapacity - nWords)
            return finish(ERunError::TooLong);
        std::memset(pOut + nWords, 0, n * sizeof(uint16_t));
        nWords += n;
        nUsedWords = i + 1;
    }
    return finish(ERunError::None);
}

} // namespace inkvale
