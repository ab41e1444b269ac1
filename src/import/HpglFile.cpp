// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/HpglFile.h"

#include "geometry/Rounding.h"
#include "import/HpglCurveBuilder.h"
#include "import/HpglEscape.h"
#include "import/HpglSource.h"
#include "import/HpglTokeniser.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

namespace inkvale {

namespace {

constexpr double kDefaultCharHeightCm = 0.375;
constexpr double kDefaultCharWidthCm = 0.285;
// SR without parameters: percentages of the P1-P2 span.
constexpr double kDefaultRelativeWidth = 0.75;
constexpr double kDefaultRelativeHeight = 1.5;
constexpr double kPlotterUnitsPerCm = 400.0;
constexpr uint8_t kEtx = 3;
constexpr double kPi = 3.14159265359; // the value labels have always been turned with

constexpr int Code(char a, char b) {
    return (a << 8) | b;
}

bool Finite(const std::vector<double>& v) {
    return std::all_of(v.begin(), v.end(), [](double d) { return std::isfinite(d); });
}

// RoundCoord, with the common case of a whole number in the int32 range done inline.
int32_t R(double v) {
    if (v >= -2147483648.0 && v <= 2147483647.0) {
        const auto n = static_cast<int32_t>(v);
        if (static_cast<double>(n) == v)
            return n;
    }
    return RoundCoord(v);
}

// Label strokes go into the plot list like any other drawing, through the window when
// there is one.
class CPlotListSink : public CStrokeSink {
public:
    CPlotListSink(CHpglPlotList& list, CHpglClipWindow& clip) : m_list(list), m_clip(clip) {}
    void StartPolyline(int32_t x, int32_t y) override {
        if (m_clip.Active()) {
            m_clip.Start({static_cast<double>(x), static_cast<double>(y)});
            return;
        }
        m_list.AddMove(x, y);
        m_list.BeginPolyline();
    }
    void AppendVertex(int32_t x, int32_t y) override {
        if (m_clip.Active())
            m_clip.LineTo({static_cast<double>(x), static_cast<double>(y)}, m_list);
        else
            m_list.AppendPoint(x, y);
    }

private:
    CHpglPlotList& m_list;
    CHpglClipWindow& m_clip;
};

} // namespace

CHpglReadResult HpglOverflowResult() {
    CHpglReadResult result = CResult::Failure(kHpglRejected, "data over flow");
    result.m_arrMessages = {{EMsg::kDataOverflow, {}}};
    return result;
}

CHpglUnitFactor HpglUnitFactor(int nPltFileUnit, double dScaleX, double dScaleY) {
    switch (nPltFileUnit) {
    case 1:
        return {true, 1.016, 1.016};
    case 2:
        return {true, dScaleX, dScaleY};
    case 3:
        return {true, 0.4, 0.4};
    default:
        return {};
    }
}

CHpglFile::CHpglFile() = default;
CHpglFile::~CHpglFile() = default;

CHpglReadResult CHpglFile::Read() {
    m_arrPlotList.Clear();
    CHpglSource source;
    if (!source.Open(m_strPath))
        return CResult::Failure(kHpglCannotOpen,
                                "the file cannot be opened or is still being written");
    const int64_t nLength = source.Length();
    if (nLength < kHpglMinFileBytes || nLength > kHpglMaxFileBytes)
        return CResult::Failure(kHpglBadLength,
                                "the file is shorter than 6 or longer than 32,000,000 bytes");
    Reset();
    // Numbers take at least two bytes each (digit and separator); reserving by the file
    // size avoids regrowing, and capacity never touched costs no resident memory. Read in
    // parts, the list holds one part at a time.
    if (m_pBuilder != nullptr)
        m_arrPlotList.Reserve(kPartValues / 4, kPartValues + kPartValues / 4);
    else
        m_arrPlotList.Reserve(static_cast<size_t>(nLength) / 16, static_cast<size_t>(nLength) / 2);
    CHpglTokeniser tokeniser(*this);
    bool bGoing = true;
    while (bGoing) {
        const std::string_view chunk = source.Next();
        if (source.Failed())
            return CResult::Failure(kHpglCannotOpen,
                                    "the file cannot be opened or is still being written");
        if (chunk.empty())
            break;
        bGoing = tokeniser.Feed(chunk.data(), chunk.size());
    }
    tokeniser.Finish();
    return tokeniser.Result();
}

CHpglReadResult CHpglFile::ReadMemory(std::string_view bytes) {
    m_arrPlotList.Clear();
    const auto nLength = static_cast<int64_t>(bytes.size());
    if (nLength < kHpglMinFileBytes || nLength > kHpglMaxFileBytes)
        return CResult::Failure(kHpglBadLength,
                                "the file is shorter than 6 or longer than 32,000,000 bytes");
    Reset();
    CHpglTokeniser tokeniser(*this);
    if (tokeniser.Feed(bytes.data(), bytes.size()))
        tokeniser.Finish();
    return tokeniser.Result();
}

CHpglReadResult CHpglFile::ReadCurves(CCurveArray& arrCurves, int nPGCmdType) {
    return StreamInto(arrCurves, nPGCmdType, true, {});
}

CHpglReadResult CHpglFile::ReadMemoryCurves(std::string_view bytes, CCurveArray& arrCurves,
                                            int nPGCmdType) {
    return StreamInto(arrCurves, nPGCmdType, false, bytes);
}

namespace {

// Whether a file is worth a second thread for its curves.
bool WorthAPipe(const std::string& strPath) {
    std::error_code ec;
    const auto nBytes = std::filesystem::file_size(strPath, ec);
    return !ec && nBytes >= static_cast<uintmax_t>(CHpglFile::kPipeFileBytes) &&
           std::thread::hardware_concurrency() >= 2;
}

} // namespace

CHpglReadResult CHpglFile::StreamInto(CCurveArray& arrCurves, int nPGCmdType, bool bFile,
                                      std::string_view bytes) {
    CHpglCurveBuilder builder(arrCurves, nPGCmdType == 1);
    std::optional<CHpglPartPipe> pipe;
    if (bFile && WorthAPipe(m_strPath)) {
        try {
            pipe.emplace(builder);
        } catch (const std::system_error&) {
            // no second thread to be had: the parts are built on this one
        }
    }
    struct CAttached {
        CHpglFile& file;
        ~CAttached() {
            file.m_pBuilder = nullptr;
            file.m_pPipe = nullptr;
        }
    } attached{*this};
    m_pBuilder = &builder;
    m_pPipe = pipe ? &*pipe : nullptr;
    const CHpglReadResult result = bFile ? Read() : ReadMemory(bytes);
    if (pipe)
        pipe->Finish();
    builder.Add(m_arrPlotList);
    builder.Finish();
    return result;
}

void CHpglFile::PassPartNow() {
    if (m_pPipe != nullptr) {
        m_pPipe->Hand(m_arrPlotList);
        return;
    }
    m_pBuilder->Add(m_arrPlotList);
    m_arrPlotList.ClearPart();
}

void CHpglFile::ResetLabelSettings() {
    m_bRelativeSize = false;
    m_dCharHeight = kDefaultCharHeightCm;
    m_dCharWidth = kDefaultCharWidthCm;
    m_chTerminator = kEtx;
    m_nTermMode = 1;
    m_dLabelAngle = 0.0;
    m_nLabelOrigin = 1;
}

void CHpglFile::ResetState() {
    ResetLabelSettings();
    m_units = CHpglUnits();
    m_clip = CHpglClipWindow();
    SetPen({});
    m_bPenDown = false;
    m_bRelative = false;
    m_bChordDeviation = false;
    m_bLineOpen = m_bDrawnSinceDown = m_bDotPending = m_bRasterOpen = false;
    m_dScaleX = m_dScaleY = 1.0;
    std::memset(m_szLabel, 0, sizeof(m_szLabel));
    m_nLabelLen = 0;
    m_skipped.Clear();
    m_arrPlotList.Clear();
}

void CHpglFile::Reset() {
    ResetState();
    LoadFonts();
    m_nLabelStrokes = 0;
}

bool CHpglFile::DrewOnlyLabels() const {
    return m_nLabelStrokes != 0 && m_arrPlotList.PolylineCount() == m_nLabelStrokes;
}

void CHpglFile::Execute(const char* pszCmd, const std::vector<double>& params) {
    const int nCode = Code(pszCmd[0], pszCmd[1]);
    m_bLineOpen = false; // every command's drawing starts with its own move
    if (!ExecuteDrawing(nCode, params) && !ExecuteShape(nCode, params) &&
        !ExecuteUnits(nCode, params))
        ExecuteLabel(nCode, params); // every other command is read and ignored
}

// Pen movement, pages, line types and pens; false for any other command.
bool CHpglFile::ExecuteDrawing(int nCode, const std::vector<double>& params) {
    const size_t n = params.size();
    switch (nCode) {
    case Code('P', 'D'):
        LowerPen();
        PlotPairs(params, true);
        m_bDotPending = !m_bDrawnSinceDown;
        return true;
    case Code('P', 'U'):
        RaisePen();
        PlotPairs(params, false);
        return true;
    case Code('P', 'A'):
    case Code('P', 'R'):
        m_bRelative = nCode == Code('P', 'R');
        PlotPairs(params, m_bPenDown);
        return true;
    case Code('P', 'E'):
        m_bLineOpen = false;
        return true;
    case Code('P', 'G'):
    case Code('F', 'R'):
        RaisePen();
        m_arrPlotList.AddPageBreak();
        return true;
    case Code('L', 'T'):
        m_arrPlotList.AddLineType(n == 0 ? 0 : (R(params[n - 1]) != 0 ? 1 : 0));
        return true;
    case Code('S', 'P'):
        m_arrPlotList.AddPenSelect(n == 0 ? 0 : R(params[0]));
        return true;
    default:
        return false;
    }
}

// The user units: scaling points, user window, page size, rotation, chord tolerance.
bool CHpglFile::ExecuteUnits(int nCode, const std::vector<double>& params) {
    const bool bKnown = ExecuteUnitCommand(nCode, params);
    if (bKnown && m_bRelativeSize)
        ApplyRelativeSize(); // P1 and P2 may have moved
    return bKnown;
}

bool CHpglFile::ExecuteUnitCommand(int nCode, const std::vector<double>& params) {
    switch (nCode) {
    case Code('I', 'P'):
        m_units.SetP1P2(params);
        return true;
    case Code('I', 'R'):
        m_units.SetP1P2Relative(params);
        return true;
    case Code('S', 'C'):
        m_units.SetScale(params);
        return true;
    case Code('P', 'S'):
        m_units.SetPage(params);
        m_clip.Clear(); // a new page has no window
        return true;
    case Code('R', 'O'):
        m_units.SetRotation(params);
        m_clip.Place(m_units); // the window turns with the frame
        SetPen(Pen());         // and so does the pen's place on the page
        return true;
    case Code('I', 'W'):
        SetWindow(params);
        return true;
    case Code('C', 'T'):
        m_bChordDeviation = !params.empty() && params[0] == 1;
        return true;
    default:
        return false;
    }
}

// Label settings and labels, and the two initialising commands.
void CHpglFile::ExecuteLabel(int nCode, const std::vector<double>& params) {
    const size_t n = params.size();
    switch (nCode) {
    case Code('L', 'O'): {
        const int32_t nOrigin = n >= 1 ? R(params[0]) : 0;
        const bool bValid = (nOrigin >= 1 && nOrigin <= 9) || (nOrigin >= 11 && nOrigin <= 19);
        m_nLabelOrigin = bValid ? nOrigin : 1;
        break;
    }
    case Code('S', 'I'):
        m_bRelativeSize = false;
        m_dCharWidth = n >= 2 ? params[0] : kDefaultCharWidthCm;
        m_dCharHeight = n >= 2 ? params[1] : kDefaultCharHeightCm;
        break;
    case Code('S', 'R'):
        m_bRelativeSize = true;
        m_dRelativeWidth = n >= 2 ? params[0] : kDefaultRelativeWidth;
        m_dRelativeHeight = n >= 2 ? params[1] : kDefaultRelativeHeight;
        ApplyRelativeSize();
        break;
    case Code('D', 'I'):
        SetDirection(params);
        break;
    case Code('D', 'R'):
        SetRelativeDirection(params);
        break;
    case Code('L', 'B'):
        DrawLabel();
        break;
    case Code('I', 'N'):
        RaisePen();
        SetPen({});
        m_bRelative = false;
        m_bChordDeviation = false;
        m_units.Reset();
        SetPen({});
        [[fallthrough]];
    case Code('D', 'F'):
        ResetLabelSettings();
        m_clip.Clear();
        if (!m_arrPlotList.Empty())
            m_arrPlotList.AddLineType();
        break;
    default:
        break;
    }
}

// Pen-down pairs draw one polyline, each pair in turn (an odd last parameter is ignored).
// Pen-up pairs move: absolute, to the last two parameters even when their count is odd;
// relative, by the sum of the pairs.
void CHpglFile::PlotPairs(const std::vector<double>& params, bool bDown) {
    const size_t n = params.size();
    if (n < 2)
        return;
    if (!bDown && !m_bRelative) {
        MoveTo(Target(params[n - 2], params[n - 1], false));
        return;
    }
    for (size_t i = 0; i + 1 < n; i += 2) {
        const CHpglPoint p = Target(params[i], params[i + 1], m_bRelative);
        if (bDown)
            LineTo(p);
        else
            MoveTo(p);
    }
}

// A coordinate pair of the file in plotter units.
CHpglPoint CHpglFile::Target(double x, double y, bool bRelative) const {
    if (!bRelative)
        return m_units.ToPlotter({x, y});
    const CHpglPoint d = m_units.DeltaToPlotter({x, y});
    return {m_dPenX + d.x, m_dPenY + d.y};
}

void CHpglFile::SetPen(CHpglPoint p) {
    m_dPenX = p.x;
    m_dPenY = p.y;
    const CHpglPoint q = m_units.Rotate(p);
    m_nPenX = R(q.x);
    m_nPenY = R(q.y);
}

// IW x1,y1,x2,y2 in the current units: the window stays where these put it on the page,
// whatever later IP, IR or SC do. IW alone goes back to the hard-clip limits, and this
// reader keeps none: roll media has no end, and a PS page is only where P1 and P2 start
// (a wrong page size would otherwise cut garment pieces off without a word).
void CHpglFile::SetWindow(const std::vector<double>& params) {
    if (params.size() >= 4 && Finite(params))
        m_clip.Set(m_units.ToPlotter({params[0], params[1]}),
                   m_units.ToPlotter({params[2], params[3]}), m_units);
    else if (params.empty())
        m_clip.Clear();
}

// The start of a polyline: a move record and an empty polyline, or, with a window, the
// place the window's line starts from.
void CHpglFile::StartLine(CHpglPoint p) {
    if (m_clip.Active()) {
        m_clip.Start(m_units.Rotate(p));
        return;
    }
    const CHpglPoint q = m_units.Rotate(p);
    m_arrPlotList.AddMove(R(q.x), R(q.y));
    m_arrPlotList.BeginPolyline();
}

void CHpglFile::AppendEmitted(CHpglPoint p) {
    const CHpglPoint q = m_units.Rotate(p);
    if (m_clip.Active())
        m_clip.LineTo(q, m_arrPlotList);
    else
        m_arrPlotList.AppendPoint(R(q.x), R(q.y));
}

void CHpglFile::MoveTo(CHpglPoint p) {
    SetPen(p);
}

// Consecutive segments of one command make one polyline record after a move to its start.
void CHpglFile::LineTo(CHpglPoint p) {
    if (!m_bLineOpen) {
        StartLine(Pen());
        m_bLineOpen = true;
    }
    AppendEmitted(p);
    if (p != Pen())
        m_bDrawnSinceDown = true;
    SetPen(p);
}

void CHpglFile::LowerPen() {
    if (m_bPenDown)
        return;
    m_bPenDown = true;
    m_bDrawnSinceDown = false;
    m_bDotPending = false;
}

// A pen that went down and comes up on the same spot has printed a dot.
void CHpglFile::RaisePen() {
    if (m_bPenDown && m_bDotPending && !m_bDrawnSinceDown)
        EmitDot();
    m_bPenDown = false;
    m_bDotPending = false;
}

// A dot is one plotter unit long, so that it survives the clean-up of curves without length.
// Outside the window there is none.
void CHpglFile::EmitDot() {
    if (m_clip.Active() && !m_clip.Contains(m_units.Rotate(Pen()))) {
        m_bLineOpen = false;
        return;
    }
    m_arrPlotList.AddMove(m_nPenX, m_nPenY);
    m_arrPlotList.BeginPolyline();
    m_arrPlotList.AppendPoint(m_nPenX == INT32_MAX ? m_nPenX - 1 : m_nPenX + 1, m_nPenY);
    m_bLineOpen = false;
}

void CHpglFile::EndOfData() {
    RaisePen();
}

void CHpglFile::BeginPe() {
    m_pe.Begin();
}

void CHpglFile::PeSelectPen(int32_t nPen) {
    m_arrPlotList.AddPenSelect(nPen);
    m_bLineOpen = false;
}

void CHpglFile::PePoint(double x, double y, bool bAbsolute, bool bPenUp) {
    const CHpglPoint p = Target(x, y, !bAbsolute);
    if (bPenUp) {
        RaisePen();
        m_bLineOpen = false;
        MoveTo(p);
        return;
    }
    LowerPen();
    LineTo(p);
}

// Raster sections are counted once each, also when their rows come without a start.
void CHpglFile::EscapeSkipped(const CHpglEscape& escape) {
    if (escape.StartedRaster() || (escape.RasterRow() && !m_bRasterOpen))
        m_skipped.Add("RTL raster");
    if (escape.StartedRaster() || escape.RasterRow())
        m_bRasterOpen = true;
    if (escape.EndedRaster())
        m_bRasterOpen = false;
    if (escape.DataBytes() > 0 && !escape.RasterRow())
        m_skipped.Add("PCL data");
}

void CHpglFile::SetDirection(const std::vector<double>& params) {
    m_dLabelAngle = params.size() >= 2 ? std::atan2(params[1], params[0]) * 180.0 / kPi : 0.0;
}

// Relative direction: only the two axis-parallel forms are understood.
void CHpglFile::SetRelativeDirection(const std::vector<double>& params) {
    if (params.empty()) {
        m_dLabelAngle = 0.0;
        return;
    }
    if (params.size() != 2)
        return;
    if (params[0] == 0 && params[1] != 0)
        m_dLabelAngle = 90.0;
    else if (params[0] != 0 && params[1] == 0)
        m_dLabelAngle = 0.0;
}

// A negative percentage mirrors the label on a plotter; the stroke text has no mirroring, so
// the size alone is taken. Where the file never named its page or its P1 and P2 (plots of
// instruments made for whatever plotter was attached), a share of the assumed A0 sheet would
// give labels several times too large: the percentages then scale the default size instead,
// which keeps the labels' sizes to each other.
void CHpglFile::ApplyRelativeSize() {
    const double dWidth = std::fabs(m_dRelativeWidth);
    const double dHeight = std::fabs(m_dRelativeHeight);
    if (!m_units.ScalingPointsKnown()) {
        m_dCharWidth = kDefaultCharWidthCm * dWidth / kDefaultRelativeWidth;
        m_dCharHeight = kDefaultCharHeightCm * dHeight / kDefaultRelativeHeight;
        return;
    }
    const CHpglPoint span = m_units.ScalingSpan();
    m_dCharWidth = dWidth * span.x / 100.0 / kPlotterUnitsPerCm;
    m_dCharHeight = dHeight * span.y / 100.0 / kPlotterUnitsPerCm;
}

void CHpglFile::LoadFonts() {
    m_strokeText.LoadFonts(m_strAppDir);
}

// Labels are drawn at the pen position as move and polyline records; the pen stays put.
void CHpglFile::DrawLabel() {
    CPlotListSink sink(m_arrPlotList, m_clip);
    const CLabelState state{m_nPenX,       m_nPenY,      m_dLabelAngle + m_units.Rotation(),
                            m_dCharHeight, m_dCharWidth, m_nLabelOrigin};
    // The polylines the label adds are counted, so that a drawing of nothing but labels is
    // told apart (a window may cut a stroke in two or leave none of it).
    const size_t nBefore = m_arrPlotList.PolylineCount();
    m_strokeText.DrawLabel(m_szLabel, sizeof(m_szLabel), state, sink);
    m_nLabelStrokes += m_arrPlotList.PolylineCount() - nBefore;
}

void CHpglFile::ToCurves(CCurveArray& arrCurves, int nPGCmdType) const {
    CHpglCurveBuilder builder(arrCurves, nPGCmdType == 1);
    builder.Build(m_arrPlotList);
}

} // namespace inkvale
