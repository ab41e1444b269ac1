// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include "geometry/Curve.h"
#include "import/HpglClipWindow.h"
#include "import/HpglCurveBuilder.h"
#include "import/HpglPartPipe.h"
#include "import/HpglPlotList.h"
#include "import/HpglPolylineEncoded.h"
#include "import/HpglUnits.h"
#include "import/SkipCounts.h"
#include "import/StrokeFontText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace inkvale {

class CHpglEscape;

/// Statuses of CHpglFile::Read.
inline constexpr int kHpglReadOk = 0;     ///< read completely
inline constexpr int kHpglCannotOpen = 1; ///< missing, unreadable or still being written
inline constexpr int kHpglBadLength = -2; ///< shorter than 6 or longer than 32,000,000 bytes
inline constexpr int kHpglRejected = -3;  ///< a number after DF, or "data over flow"

/// Files outside these lengths (bytes) are not read at all.
inline constexpr int64_t kHpglMinFileBytes = 6;
inline constexpr int64_t kHpglMaxFileBytes = 32'000'000;

/// Outcome of a read: the status as m_nCode and, when the operator must be told (a number
/// token too long to carry over), EMsg::kDataOverflow.
using CHpglReadResult = CResult;

/// The outcome of a read stopped by the plot list's limits ("data over flow").
CHpglReadResult HpglOverflowResult();

/// Scale factors of the HP-GL unit choice (setting PltFileUnit) for the finished page.
struct CHpglUnitFactor {
    bool m_bApply = false; ///< false: file units are plotter units, nothing to scale
    double m_dX = 1.0;
    double m_dY = 1.0;
};

/// Factors for PltFileUnit: 0 none, 1 (1.016, 1.016), 2 the reader's factors (dScaleX,
/// dScaleY; 1 now that SC maps user units exactly), 3 (0.4, 0.4); any other value none.
CHpglUnitFactor HpglUnitFactor(int nPltFileUnit, double dScaleX, double dScaleY);

/// Reads one HP-GL plot file into a plot list and turns it into curves. Made for one file:
/// set m_strPath (and m_nPltFileUnit), call Read, and on success ToCurves.
/// Not thread-safe; one reader per thread.
class CHpglFile : private IHpglPeSink {
public:
    CHpglFile();
    ~CHpglFile() override;
    CHpglFile(const CHpglFile&) = delete;
    CHpglFile& operator=(const CHpglFile&) = delete;

    /// Reads m_strPath. The file is refused (status 1) when it cannot be opened or while
    /// another process holds it open for writing (a file still being copied in).
    /// The plot list keeps what was produced before a failure; convert only after status 0.
    CHpglReadResult Read();
    /// The same rules on bytes already in memory (length limits included).
    CHpglReadResult ReadMemory(std::string_view bytes);

    /// Read and ReadMemory straight into curves, as ToCurves would append them: the plot list
    /// goes to the curve builder in parts as the file is read, so a large file never holds
    /// its whole plot list. Curves are appended even when the read fails, for the caller to
    /// discard; PlotList() holds only the last part.
    CHpglReadResult ReadCurves(CCurveArray& arrCurves, int nPGCmdType);
    CHpglReadResult ReadMemoryCurves(std::string_view bytes, CCurveArray& arrCurves,
                                     int nPGCmdType);

    /// Plotter state back to its start values, plot list emptied, fonts loaded again.
    void Reset();
    /// One command: two upper-case letters and its parameters. Virtual so that tests and
    /// tools can watch the command stream.
    virtual void Execute(const char* pszCmd, const std::vector<double>& params);
    /// Appends the curves of the plot list to arrCurves (a page's curve array), in file
    /// units. nPGCmdType 1 lays each page after the drawing so far along X; 0 draws every
    /// page over the same origin.
    void ToCurves(CCurveArray& arrCurves, int nPGCmdType) const;

    const CHpglPlotList& PlotList() const { return m_arrPlotList; }
    /// What the last read met and did not draw ("RTL raster", "PCL data").
    const CSkipCounts& Skipped() const { return m_skipped; }

    /// The tokeniser's calls: the bytes of a PE command, one escape sequence read and
    /// skipped, and the end of the data (a pen still down on one spot leaves its dot).
    void BeginPe();
    void FeedPe(uint8_t c) { m_pe.Feed(c, *this); }
    void EscapeSkipped(const CHpglEscape& escape);
    void EndOfData();
    /// Whether everything drawn was label text (and something was).
    bool DrewOnlyLabels() const;

    std::string m_strPath; ///< file to read; set by the caller
    /// Installation directory whose stroke-font files draw the labels ("" for the fonts
    /// built into the program); set by the caller.
    std::string m_strAppDir;
    int m_nPltFileUnit = 0; ///< the unit choice in force (applied by the caller)

    // Plotter state; the tokeniser and Execute work on it.
    CHpglPlotList m_arrPlotList;
    size_t m_nLabelStrokes = 0; ///< polylines the labels drew
    int32_t m_nPenX = 0;        ///< pen position in plotter units, rounded and turned by RO
    int32_t m_nPenY = 0;
    double m_dPenX = 0.0; ///< pen position in plotter units before rounding and RO
    double m_dPenY = 0.0;
    bool m_bRelative = false;   ///< PR in force: pairs are relative to the pen
    uint8_t m_chTerminator = 3; ///< label terminator
    uint8_t m_nTermMode = 1;    ///< 0: the terminator belongs to the label text; 1: it does not
    char m_szLabel[512] = {};   ///< label being collected, NUL-padded
    int m_nLabelLen = 0;
    bool m_bPenDown = false;
    double m_dLabelAngle = 0.0;   ///< degrees
    double m_dCharHeight = 0.375; ///< centimetres
    double m_dCharWidth = 0.285;  ///< centimetres
    /// SR in force: the character size is these percentages of the P1-P2 span and follows
    /// P1 and P2 as they change, until SI, IN or DF.
    bool m_bRelativeSize = false;
    double m_dRelativeWidth = 0.75;
    double m_dRelativeHeight = 1.5;
    int m_nLabelOrigin = 1;
    CHpglUnits m_units;             ///< IP, IR, SC, PS, RO
    bool m_bChordDeviation = false; ///< CT1: chord values are deviations, not angles
    double m_dScaleX = 1.0;         ///< unit factors for PltFileUnit 2: always 1, SC maps exactly
    double m_dScaleY = 1.0;

    /// Values a part of the plot list gathers before it goes to the curve builder.
    static constexpr size_t kPartValues = size_t{1} << 16;
    /// Files from this size on are read into curves with the curves built on a second
    /// thread while the file is read.
    static constexpr int64_t kPipeFileBytes = 1 << 20;

private:
    friend class CHpglTokeniser;

    /// Hands the plot list to the curve builder once a part is full (reading into curves).
    void PassPart() {
        if (m_pBuilder != nullptr && m_arrPlotList.ValueCount() >= kPartValues)
            PassPartNow();
    }
    void PassPartNow();
    CHpglReadResult StreamInto(CCurveArray& arrCurves, int nPGCmdType, bool bFile,
                               std::string_view bytes);

    void ResetState();
    void ResetLabelSettings();
    /// The character size from the SR percentages and the current P1 and P2.
    void ApplyRelativeSize();
    void LoadFonts();
    void DrawLabel();
    bool ExecuteDrawing(int nCode, const std::vector<double>& params);
    void ExecuteLabel(int nCode, const std::vector<double>& params);
    bool ExecuteShape(int nCode, const std::vector<double>& params);
    bool ExecuteUnits(int nCode, const std::vector<double>& params);
    bool ExecuteUnitCommand(int nCode, const std::vector<double>& params);
    void PlotPairs(const std::vector<double>& params, bool bDown);
    CHpglPoint Pen() const { return {m_dPenX, m_dPenY}; }
    CHpglPoint PenUser() const { return m_units.ToUser(Pen()); }
    void SetPen(CHpglPoint p);
    CHpglPoint Target(double x, double y, bool bRelative) const;
    void SetWindow(const std::vector<double>& params);
    void StartLine(CHpglPoint p);
    void AppendEmitted(CHpglPoint p);
    void MoveTo(CHpglPoint p);
    void LineTo(CHpglPoint p);
    void LowerPen();
    void RaisePen();
    void EmitDot();
    void DrawOutline(const std::vector<CHpglPoint>& userPoints);
    double ChordStep(double dRadiusUser, const std::vector<double>& params, size_t nAt) const;
    void Circle(const std::vector<double>& params);
    void Arc(const std::vector<double>& params, bool bRelative);
    void ThreePointArc(const std::vector<double>& params, bool bRelative);
    void Rectangle(const std::vector<double>& params, bool bRelative);
    void Wedge(const std::vector<double>& params);
    void PeSelectPen(int32_t nPen) override;
    void PePoint(double x, double y, bool bAbsolute, bool bPenUp) override;
    void SetDirection(const std::vector<double>& params);
    void SetRelativeDirection(const std::vector<double>& params);

    CStrokeFontText m_strokeText; // draws the labels into the plot list
    CHpglClipWindow m_clip;       // IW: drawing outside it is cut off
    CHpglPeDecoder m_pe;
    CSkipCounts m_skipped;
    bool m_bLineOpen = false;                // the last record is a polyline that LineTo continues
    bool m_bDrawnSinceDown = false;          // the pen moved while down since it was lowered
    bool m_bDotPending = false;              // a PD left the pen down on one spot
    bool m_bRasterOpen = false;              // inside an RTL raster section
    CHpglCurveBuilder* m_pBuilder = nullptr; // set while reading into curves
    CHpglPartPipe* m_pPipe = nullptr;        // set while the builder has a thread of its own
};

} // namespace inkvale
