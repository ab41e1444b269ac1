#include "layout/OnePage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace inkvale {

namespace {

[[noreturn]] void NotYet(const char* what) {
    std::fprintf(stderr, "COnePage::%s is not implemented yet\n", what);
    std::abort();
}

} // namespace

COnePage::COnePage() : m_tTime(static_cast<int64_t>(std::time(nullptr))) {}

void COnePage::ClearCurves() {
    m_arrCurves.clear();
}

size_t COnePage::VertexCount() const {
    size_t n = 0;
    for (const CCurve& c : m_arrCurves)
        n += c.m_arrPoints.size();
    return n;
}

void COnePage::CopyTask(const COnePage&) {
    NotYet("CopyTask");
}
void COnePage::CalcExtents() {
    NotYet("CalcExtents");
}
void COnePage::CalcSelectionExtents() {
    NotYet("CalcSelectionExtents");
}
void COnePage::ClearCurveSelection() {
    NotYet("ClearCurveSelection");
}
void COnePage::SelectAllCurves() {
    NotYet("SelectAllCurves");
}
void COnePage::DeleteSelectedCurves() {
    NotYet("DeleteSelectedCurves");
}
void COnePage::OffsetSelected(int32_t, int32_t) {
    NotYet("OffsetSelected");
}
void COnePage::OffsetAll(int32_t, int32_t) {
    NotYet("OffsetAll");
}
void COnePage::MoveToOrigin() {
    NotYet("MoveToOrigin");
}
void COnePage::NormalizeOrigin() {
    NotYet("NormalizeOrigin");
}
void COnePage::ApplyStartPosition() {
    NotYet("ApplyStartPosition");
}
void COnePage::ScaleAll(double, double) {
    NotYet("ScaleAll");
}
void COnePage::ApplySizeCorrectionAll(const CSizeRatio&) {
    NotYet("ApplySizeCorrectionAll");
}
void COnePage::MirrorPage() {
    NotYet("MirrorPage");
}
void COnePage::RotateQuarter() {
    NotYet("RotateQuarter");
}
void COnePage::RotateQuarterBack() {
    NotYet("RotateQuarterBack");
}
void COnePage::ExplodeSegments() {
    NotYet("ExplodeSegments");
}
void COnePage::JoinSegments() {
    NotYet("JoinSegments");
}
void COnePage::CleanCurves() {
    NotYet("CleanCurves");
}
void COnePage::SplitAtLength(COnePage&, int32_t) {
    NotYet("SplitAtLength");
}
void COnePage::SplitWidth(int32_t) {
    NotYet("SplitWidth");
}
void COnePage::AddCutMarks(int32_t) {
    NotYet("AddCutMarks");
}
void COnePage::AddSeam() {
    NotYet("AddSeam");
}
void COnePage::AppendShifted(const COnePage&) {
    NotYet("AppendShifted");
}
bool COnePage::SelectCurveAt(const CDispSet&, int, int) {
    NotYet("SelectCurveAt");
}
bool COnePage::SelectCurvesInRect(const CDispSet&, const CScreenRect&, bool) {
    NotYet("SelectCurvesInRect");
}

bool SegmentsIntersect(double, double, double, double, double, double, double, double) {
    NotYet("SegmentsIntersect");
}

} // namespace inkvale
