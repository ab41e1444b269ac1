// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/Result.h"

#include "geometry/Curve.h"
#include "import/HpglCurveBuilder.h"
#include "import/HpglPartPipe.h"
#include "import/HpglPlotList.h"
#include "import/StrokeFontText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace inkvale {

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

/// Factors for PltFileUnit: 0 none, 1 (1.016, 1.016), 2 the reader's auto-detected factors
/// (dScaleX, dScaleY), 3 (0.4, 0.4); any other value none.
CHpglUnitFactor HpglUnitFactor(int nPltFileUnit, double dScaleX, double dScaleY);

/// Reads one HP-GL plot file into a plot list and turns it into curves. Made for one file:
/// set m_strPath (and m_nPltFileUnit), call Read, and on success ToCurves.
/// Not thread-safe; one reader per thread.
class CHpglFile {
public:
    CHpglFile();
    virtual ~CHpglFile();
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
    /// Whether everything drawn was label text (and something was).
    bool DrewOnlyLabels() const;

    std::string m_strPath; ///< file to read; set by the caller
    /// Installation directory whose stroke-font files draw the labels ("" for the fonts
    /// built into the program); set by the caller.
    std::string m_strAppDir;
    int m_nPltFileUnit = 0; ///< the unit choice in force; SC auto-detects only when it is 2

    // Plotter state; the tokeniser and Execute work on it.
    CHpglPlotList m_arrPlotList;
    size_t m_nLabelStrokes = 0; ///< polylines the labels drew
    int32_t m_nPenX = 0;        ///< pen position in file units
    int32_t m_nPenY = 0;
    uint8_t m_chTerminator = 3; ///< label terminator
    uint8_t m_nTermMode = 1;    ///< 0: the terminator belongs to the label text; 1: it does not
    char m_szLabel[512] = {};   ///< label being collected, NUL-padded
    int m_nLabelLen = 0;
    bool m_bPenDown = false;
    double m_dLabelAngle = 0.0;   ///< degrees
    double m_dCharHeight = 0.375; ///< centimetres
    double m_dCharWidth = 0.285;  ///< centimetres
    int m_nLabelOrigin = 1;
    int32_t m_nP1X = 0;
    int32_t m_nP1Y = 0;
    int32_t m_nP2X = 1000;
    int32_t m_nP2Y = 1000;
    int32_t m_nScXMin = 0;
    int32_t m_nScXMax = 1000;
    int32_t m_nScYMin = 0;
    int32_t m_nScYMax = 1000;
    double m_dScaleX = 1.0; ///< auto-detected unit factors (SC with PltFileUnit 2)
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
    void LoadFonts();
    void DrawLabel();
    bool ExecuteDrawing(int nCode, const std::vector<double>& params);
    void ExecuteLabel(int nCode, const std::vector<double>& params);
    void SetScalingPoints(const std::vector<double>& params);
    void PenDraw(const std::vector<double>& params);
    void PenMoveTo(const std::vector<double>& params);
    void SetScaling(const std::vector<double>& params);
    void SetDirection(const std::vector<double>& params);
    void SetRelativeDirection(const std::vector<double>& params);

    CStrokeFontText m_strokeText;            // draws the labels into the plot list
    CHpglCurveBuilder* m_pBuilder = nullptr; // set while reading into curves
    CHpglPartPipe* m_pPipe = nullptr;        // set while the builder has a thread of its own
};

} // namespace inkvale
