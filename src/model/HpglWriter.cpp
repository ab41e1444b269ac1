// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/HpglWriter.h"

#include "model/OnePage.h"

#include <charconv>
#include <cstdio>
#include <memory>

namespace inkvale {

namespace {

// Text is produced into a buffer that is handed to the sink whenever it grows past a
// threshold, so a drawing of millions of vertices never needs its whole text in memory.
class CHpglEmitter {
public:
    explicit CHpglEmitter(std::FILE* file) : m_pFile(file) { m_strBuf.reserve(kFlushAt + 64); }

    void Text(const char* s) { m_strBuf += s; }
    void Int(int32_t v) {
        char tmp[16];
        const auto res = std::to_chars(tmp, tmp + sizeof tmp, v);
        m_strBuf.append(tmp, res.ptr);
    }
    void Pair(CPoint p) {
        Int(p.x);
        m_strBuf += ',';
        Int(p.y);
    }
    void Curve(const CCurve& c);
    void MaybeFlush() {
        if (m_pFile && m_strBuf.size() >= kFlushAt)
            Flush();
    }
    void Flush() {
        if (!m_strBuf.empty() &&
            std::fwrite(m_strBuf.data(), 1, m_strBuf.size(), m_pFile) != m_strBuf.size())
            m_bWriteFailed = true;
        m_strBuf.clear();
    }
    std::string& Buffer() { return m_strBuf; }
    bool WriteFailed() const { return m_bWriteFailed; }

    int m_nPen = 1;
    int m_nLineType = 0;

private:
    static constexpr size_t kFlushAt = 1 << 20;
    std::FILE* m_pFile;
    std::string m_strBuf;
    bool m_bWriteFailed = false;
};

void CHpglEmitter::Curve(const CCurve& c) {
    if (c.m_nPen != m_nPen) {
        Text("SP");
        Int(c.m_nPen);
        Text(";");
        m_nPen = c.m_nPen;
    }
    if (c.m_nLineType != m_nLineType) {
        Text("LT");
        Int(c.m_nLineType);
        Text(";");
        m_nLineType = c.m_nLineType;
    }
    if (c.m_arrPoints.empty())
        return;
    // Vertex 0 appears twice: as the pen-up target and as the first pen-down point.
    Text("PU");
    Pair(c.m_arrPoints.front());
    Text(";PD");
    for (size_t i = 0; i < c.m_arrPoints.size(); ++i) {
        if (i > 0)
            Text(",");
        Pair(c.m_arrPoints[i]);
    }
    Text(";");
}

void Emit(const COnePage& page, CHpglEmitter& out) {
    out.Text("IN;SP1;");
    for (const CCurve& c : page.m_arrCurves) {
        out.Curve(c);
        out.MaybeFlush();
    }
    out.Text("PG;");
}

struct CFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

std::string FormatHpgl(const COnePage& page) {
    CHpglEmitter out(nullptr);
    Emit(page, out);
    return std::move(out.Buffer());
}

CWriteResult WriteHpgl(const COnePage& page, const std::string& path) {
    std::unique_ptr<std::FILE, CFileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return CResult::Failure(-1, "cannot create " + path, {{EMsg::kFileOpenError, {}}});
    CHpglEmitter out(file.get());
    Emit(page, out);
    out.Flush();
    // A full disk must not pass for a saved drawing.
    const bool closeFailed = std::fclose(file.release()) != 0;
    if (out.WriteFailed() || closeFailed)
        return CResult::Failure(-1, "cannot write " + path, {{EMsg::kFileWriteError, {}}});
    return {};
}

} // namespace inkvale
