// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/DxfText.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace inkvale {

namespace {

/// The height the strokes are drawn at before they are scaled to height 1: large enough that
/// the rounding of the font's own drawing stays far below what a plotter shows.
constexpr int32_t kDrawHeight = 4000; ///< plotter units (10 cm)
/// Where the line is drawn, so that every stroke point is positive (the font joins strokes
/// only there).
constexpr int32_t kDrawOrigin = 1'000'000;

class CPathSink : public CStrokeSink {
public:
    explicit CPathSink(CDxfTextLine& line) : m_line(line) {}
    void StartPolyline(int32_t x, int32_t y) override {
        m_line.m_arrStarts.push_back(static_cast<uint32_t>(m_line.m_arrPoints.size()));
        m_line.m_arrPoints.push_back({x - kDrawOrigin, y - kDrawOrigin});
    }
    void AppendVertex(int32_t x, int32_t y) override {
        if (m_line.m_arrStarts.empty())
            m_line.m_arrStarts.push_back(0);
        m_line.m_arrPoints.push_back({x - kDrawOrigin, y - kDrawOrigin});
    }

private:
    CDxfTextLine& m_line;
};

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

/// A \U+XXXX escape at text[i]; its length (0: none) and the character it stands for.
size_t UnicodeEscape(std::string_view text, size_t i, char& c) {
    if (i + 7 > text.size() || text[i] != '\\' || (text[i + 1] != 'U' && text[i + 1] != 'u') ||
        text[i + 2] != '+')
        return 0;
    int v = 0;
    for (size_t k = i + 3; k < i + 7; ++k) {
        const int h = HexValue(text[k]);
        if (h < 0)
            return 0;
        v = v * 16 + h;
    }
    c = v > 0 && v < 0x80 ? static_cast<char>(v) : '?';
    return 7;
}

/// Where the MTEXT code starting at text[i] (behind its backslash and letter) ends: behind
/// its ';' for the codes with a value.
size_t SkipCodeValue(std::string_view text, size_t i) {
    const size_t n = text.find(';', i);
    return n == std::string_view::npos ? text.size() : n + 1;
}

} // namespace

std::string DxfPlainText(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = 0;
        if (const size_t n = UnicodeEscape(text, i, c); n > 0) {
            s += c;
            i += n - 1;
            continue;
        }
        if (text[i] == '%' && i + 2 < text.size() && text[i + 1] == '%') {
            const char code =
                static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 2])));
            i += 2;
            switch (code) {
            case 'd':
                s += "deg";
                break;
            case 'p':
                s += "+/-";
                break;
            case 'c':
                s += 'O';
                break;
            case '%':
                s += '%';
                break;
            case 'u':
            case 'o':
                break;
            default:
                s += "%%";
                s += text[i];
                break;
            }
            continue;
        }
        s += text[i];
    }
    return s;
}

std::string DxfPlainMText(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '{' || ch == '}')
            continue;
        if (ch == '^' && i + 1 < text.size()) {
            s += text[i + 1] == 'I' ? ' ' : (text[i + 1] == 'J' ? '\n' : text[i + 1]);
            ++i;
            continue;
        }
        if (ch != '\\' || i + 1 >= text.size()) {
            s += ch;
            continue;
        }
        char c = 0;
        if (const size_t n = UnicodeEscape(text, i, c); n > 0) {
            s += c;
            i += n - 1;
            continue;
        }
        const char code = text[i + 1];
        switch (code) {
        case 'P':
        case 'X':
            s += '\n';
            ++i;
            break;
        case '~':
            s += ' ';
            ++i;
            break;
        case '\\':
        case '{':
        case '}':
            s += code;
            ++i;
            break;
        case 'S': { // stacked text a^b, a/b or a#b: drawn as a/b
            const size_t nEnd = SkipCodeValue(text, i + 2);
            std::string_view stack = text.substr(i + 2, nEnd - (i + 2));
            if (!stack.empty() && stack.back() == ';')
                stack.remove_suffix(1);
            for (const char k : stack)
                s += k == '^' || k == '#' ? '/' : k;
            i = nEnd - 1;
            break;
        }
        case 'A':
        case 'C':
        case 'c':
        case 'F':
        case 'f':
        case 'H':
        case 'h':
        case 'Q':
        case 'q':
        case 'T':
        case 't':
        case 'W':
        case 'w':
        case 'p':
            i = SkipCodeValue(text, i + 2) - 1;
            break;
        default: // \L \l \O \o \K \k and unknown codes: toggles without a value
            ++i;
            break;
        }
    }
    return s;
}

void CDxfTextDrawer::Draw(const std::string& strLine, CDxfTextLine& line) {
    line.m_arrPoints.clear();
    line.m_arrStarts.clear();
    CPathSink sink(line);
    CLabelState st;
    st.m_dCharHeight = kDrawHeight / 400.0;
    st.m_dCharWidth = st.m_dCharHeight;
    const size_t nLen = std::min(strLine.size(), CStrokeFontText::kMaxLabel);
    m_pFont->StrokeMoveTo(kDrawOrigin, kDrawOrigin);
    // The font draws one character height below the point it is given.
    m_pFont->DrawText(kDrawOrigin, kDrawOrigin + kDrawHeight,
                      {reinterpret_cast<const uint8_t*>(strLine.data()), nLen}, st, sink);
}

// The font's em is taller than its capitals: an H is measured once.
void CDxfTextDrawer::LoadFont() {
    m_pFont = std::make_unique<CStrokeFontText>();
    m_pFont->LoadFonts(m_strAppDir);
    CDxfTextLine h;
    Draw("H", h);
    int32_t nTop = INT32_MIN;
    int32_t nBottom = INT32_MAX;
    for (const CPoint& p : h.m_arrPoints) {
        nTop = std::max(nTop, p.y);
        nBottom = std::min(nBottom, p.y);
    }
    if (nTop > nBottom) {
        m_dCapHeight = nTop - nBottom;
        m_nBaseline = nBottom;
    } else {
        m_dCapHeight = kDrawHeight;
    }
}

void CDxfTextDrawer::DrawScaled(const std::string& strLine, CDxfTextLine& line) {
    Draw(strLine, line);
    line.m_dScale = 1.0 / m_dCapHeight;
    int32_t nLeft = INT32_MAX;
    int32_t nRight = 0;
    int32_t nBottom = 0;
    for (CPoint& p : line.m_arrPoints) {
        p.y -= m_nBaseline;
        nLeft = std::min(nLeft, p.x);
        nRight = std::max(nRight, p.x);
        nBottom = std::min(nBottom, p.y);
    }
    line.m_dLeft = line.m_arrStarts.empty() ? 0.0 : nLeft * line.m_dScale;
    line.m_dWidth = nRight * line.m_dScale;
    line.m_dBottom = nBottom * line.m_dScale;
}

const CDxfTextLine& CDxfTextDrawer::Line(const std::string& strLine) {
    const auto it = m_cache.find(strLine);
    if (it != m_cache.end())
        return it->second;
    if (!m_pFont)
        LoadFont();
    // A line met for the first time is drawn into the scratch line; met again, it is kept.
    // Two lines of one hash only make the second kept early.
    if (m_seen.insert(std::hash<std::string>{}(strLine)).second) {
        DrawScaled(strLine, m_scratch);
        return m_scratch;
    }
    CDxfTextLine line;
    DrawScaled(strLine, line);
    return m_cache.emplace(strLine, std::move(line)).first->second;
}

} // namespace inkvale
