// inkvale-cli curves FILE: load a drawing as a task and print its curves,
// "curves N" then "PEN LINETYPE X,Y X,Y ..." per curve, in plotter units.

#include "CliCommand.h"

#include "config/MachineParams.h"
#include "config/Settings.h"
#include "config/SettingsStore.h"
#include "geometry/Units.h"
#include "import/HpglFile.h"
#include "layout/OnePage.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace inkvale::cli {

namespace {

bool IsDxfPath(const std::string& path) {
    if (path.size() <= 5)
        return false;
    std::string ext = path.substr(path.size() - 3);
    for (char& c : ext)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
    return ext == "DXF";
}

const char* OpenFailedText(const CSettings& settings) {
    return settings.Language == 0 ? "文件打开失败!" : "Open File Failed!";
}

// Reads the HP-GL file into the page; the reader (and its plot list) is gone before the
// page is prepared, so the two copies of the drawing never have to coexist for long.
bool ReadHpgl(const std::string& path, const CSettings& settings, COnePage& page,
              CHpglUnitFactor& factor) {
    CHpglFile file;
    file.m_strPath = path;
    file.m_nPltFileUnit = settings.PltFileUnit;
    file.m_strAppDir = settings.m_strInstallDir;
    const CHpglReadResult result = file.Read();
    if (!result.Ok()) {
        if (!result.m_strMessage.empty())
            std::fprintf(stderr, "%s\n", result.m_strMessage.c_str());
        std::fprintf(stderr, "%s\n", OpenFailedText(settings));
        return false;
    }
    file.ToCurves(page.m_arrCurves, settings.PGCmdType);
    factor = HpglUnitFactor(settings.PltFileUnit, file.m_dScaleX, file.m_dScaleY);
    return true;
}

// The preparation of a freshly read drawing: clean-up, unit factor, origin, mirroring and
// the split across the roll.
void Prepare(COnePage& page, const CSettings& settings, const CHpglUnitFactor& factor) {
    const auto nRollWidth = static_cast<int32_t>(MmToUnits(settings.PaperLenMm));
    page.CleanCurves();
    if (factor.m_bApply)
        page.ScaleAll(factor.m_dX, factor.m_dY);
    page.CalcExtents();
    if (page.m_nMinX < 0 || page.m_nMinY < 0)
        page.MoveToOrigin();
    if (settings.AutoMirror != 0)
        page.MirrorPage();
    if (settings.SplitEn != 0 && page.m_nMaxY > nRollWidth) {
        if (page.m_nMinY != 0)
            page.MoveToOrigin();
        if (page.m_nMaxY > nRollWidth && settings.AutoRotate != 0)
            page.RotateQuarter();
        if (page.m_nMaxY > nRollWidth)
            page.SplitWidth(nRollWidth);
    }
    page.m_nPrintState = PS_WAITING;
    page.m_nStartMm = 0;
}

class COutput {
public:
    COutput() { m_buf.reserve(kFlushAt + 64); }
    ~COutput() { Flush(); }
    COutput(const COutput&) = delete;
    COutput& operator=(const COutput&) = delete;

    void Text(const char* psz) { m_buf += psz; }
    void Char(char c) { m_buf += c; }
    void Int(int64_t v) {
        char tmp[24];
        const auto r = std::to_chars(tmp, tmp + sizeof tmp, v);
        m_buf.append(tmp, r.ptr);
        if (m_buf.size() >= kFlushAt)
            Flush();
    }
    void Flush() {
        std::fwrite(m_buf.data(), 1, m_buf.size(), stdout);
        m_buf.clear();
    }

private:
    static constexpr size_t kFlushAt = 1 << 16;
    std::string m_buf;
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
        for (const CPoint& p : c.m_arrPoints) {
            out.Char(' ');
            out.Int(p.x);
            out.Char(',');
            out.Int(p.y);
        }
        out.Char('\n');
    }
}

} // namespace

int RunCurves(const CCliContext& ctx) {
    if (ctx.m_args.size() != 1) {
        std::fprintf(stderr, "usage: inkvale-cli curves FILE\n");
        return kExitUsage;
    }
    const std::string& path = ctx.m_args[0];
    CSettings settings;
    CMachineParams params;
    (void)LoadSettings(settings, params, ctx.m_strHome);
    if (IsDxfPath(path)) {
        std::fprintf(stderr, "inkvale-cli curves: DXF loading is not available yet\n");
        return kExitFailed;
    }
    COnePage page;
    CHpglUnitFactor factor;
    if (!ReadHpgl(path, settings, page, factor))
        return kExitFailed;
    if (!page.m_arrCurves.empty())
        Prepare(page, settings, factor);
    PrintCurves(page);
    return kExitOk;
}

} // namespace inkvale::cli
