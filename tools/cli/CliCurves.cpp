// SPDX-License-Identifier: GPL-3.0-or-later
// inkvale-cli curves FILE: load a drawing as a task and print its curves,
// "curves N" then "PEN LINETYPE X,Y X,Y ..." per curve, in plotter units.

#include "CliCommand.h"
#include "CliText.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "config/SettingsStore.h"
#include "model/OnePage.h"
#include "model/TaskDrawingLoader.h"
#include "support/DecimalText.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace inkvale::cli {

namespace {

// Buffered writing to stdout: a marker prints millions of numbers.
class COutput {
public:
    COutput() = default;
    ~COutput() { Flush(); }
    COutput(const COutput&) = delete;
    COutput& operator=(const COutput&) = delete;

    void Text(const char* psz) {
        while (*psz != 0)
            Char(*psz++);
    }
    void Char(char c) {
        Room();
        *m_p++ = c;
    }
    void Int(int64_t v) {
        Room();
        m_p = std::to_chars(m_p, m_buf + sizeof m_buf, v).ptr;
    }
    /// " X,Y": the bulk of the output, with one look at the room left.
    void Vertex(int32_t x, int32_t y) {
        Room();
        *m_p++ = ' ';
        m_p = WriteDecimal(m_p, x);
        *m_p++ = ',';
        m_p = WriteDecimal(m_p, y);
    }
    void Flush() {
        std::fwrite(m_buf, 1, static_cast<size_t>(m_p - m_buf), stdout);
        m_p = m_buf;
    }

private:
    static constexpr size_t kReserve = 32; // a vertex of the longest numbers, and then some
    void Room() {
        if (static_cast<size_t>(m_buf + sizeof m_buf - m_p) < kReserve)
            Flush();
    }

    char m_buf[1 << 16];
    char* m_p = m_buf;
};

void PrintCurves(const COnePage& page) {
    COutput out;
    out.Text("curves ");
    out.Int(static_cast<int64_t>(page.m_arrCurves.size()));
    out.Char('\n');
    for (const CCurve& c : page.m_arrCurves) {
        out.Int(c.m_nPen);
        out.Char(' ');
        out.Int(c.m_nLineType);
        for (const CPoint& p : c.m_arrPoints)
            out.Vertex(p.x, p.y);
        out.Char('\n');
    }
}

} // namespace

int RunCurves(const CCliContext& ctx) {
    if (ctx.m_args.size() != 1)
        return CommandUsageError("curves");
    CSettings settings;
    CMachineParams params;
    const CSettingsLoadResult settingsRead = LoadSettings(settings, params, ctx.m_strHome);
    PrintMessages(settingsRead, settings.Language);
    SetPrintableWidth(settings);
    COnePage page;
    page.m_strPath = ctx.m_args[0];
    // The load the program makes when the task is first shown, with its messages.
    const CTaskLoadResult result = LoadTaskDrawing(page, settings, true);
    PrintMessages(result, settings.Language);
    // A file that holds nothing drawable (HP-GL or DXF alike) still loads, as an empty
    // drawing, the same as `info` and `preview` take it; an unreadable file fails.
    if (!result.Ok() && result.m_nCode != kLoadEmpty) {
        if (result.m_arrMessages.empty())
            std::fprintf(stderr, "%s\n", result.m_strDiag.c_str());
        return kExitFailed;
    }
    PrintCurves(page);
    // The drawing is left to the operating system at exit: freeing a marker's half a million
    // curves one by one takes a tenth of the load. Kept reachable, so leak checkers agree.
    static CCurveArray* pKept = new CCurveArray;
    pKept->swap(page.m_arrCurves);
    return kExitOk;
}

} // namespace inkvale::cli
