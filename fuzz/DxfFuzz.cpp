// SPDX-License-Identifier: GPL-3.0-or-later
// DXF files: any bytes import or fail without crashing, hanging or reading out of bounds,
// and whatever imports converts into curves within the limits.

#include "import/DxfConvert.h"
#include "import/DxfDrawing.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

/// The input as a file: an anonymous memory file reached through /proc.
std::string InputPath(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("dxf-fuzz", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    return "/proc/self/fd/" + std::to_string(fd);
}

/// What a drawing holds, in short: its last handle and its records by block.
std::vector<size_t> Summary(const inkvale::DxfDrawing* pDrawing, bool bOk) {
    using namespace inkvale;
    std::vector<size_t> s{bOk ? 1u : 0u, static_cast<size_t>(DxfLastHandle(pDrawing)),
                          DxfBlockCount(pDrawing), DxfEntityCount(pDrawing, 0)};
    for (int nTable : {kDxfTableDimStyle, kDxfTableLayer, kDxfTableLtype, kDxfTableStyle})
        s.push_back(DxfTableCount(pDrawing, nTable));
    return s;
}

/// Offsets of the first few lines "0" followed by a line "BLOCK": where a second thread may
/// start reading.
std::vector<int64_t> BlockStarts(const uint8_t* data, size_t size) {
    std::vector<int64_t> starts;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (size_t i = text.find("\nBLOCK"); i != std::string_view::npos && starts.size() < 4;
         i = text.find("\nBLOCK", i + 1)) {
        size_t nStart = i;
        while (nStart > 0 && text[nStart - 1] != '\n')
            --nStart;
        starts.push_back(static_cast<int64_t>(nStart));
    }
    return starts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace inkvale;
    const std::string path = InputPath(data, size);

    // The database alone: every stored INSERT names an existing block.
    DxfDrawingPtr pDrawing(DxfDrawingCreate());
    if (DxfImport(pDrawing.get(), path)) {
        const DxfEntity* pEntity = nullptr;
        for (int32_t h = DxfWalkEntities(pDrawing.get(), nullptr, DxfFind::First, &pEntity); h != 0;
             h = DxfWalkEntities(pDrawing.get(), nullptr, DxfFind::Next, &pEntity)) {
            DxfBlock block;
            block.m_nHandle = pEntity->m_data.m_nBlock;
            if (pEntity->m_header.m_nKind == kDxfInsert &&
                DxfFindBlock(pDrawing.get(), DxfFind::ByHandle, &block) == 0)
                std::abort();
        }
    }

    // A second thread reading from a block on gives the drawing of one thread.
    DxfDrawingPtr pAlone(DxfDrawingCreate());
    const std::vector<size_t> alone = Summary(pAlone.get(), DxfImportFrom(pAlone.get(), path, -1));
    for (const int64_t nAt : BlockStarts(data, size)) {
        DxfDrawingPtr pTwo(DxfDrawingCreate());
        if (Summary(pTwo.get(), DxfImportFrom(pTwo.get(), path, nAt)) != alone)
            std::abort();
    }

    // The whole conversion, labels through the HP-GL reader included, with small limits.
    CDxfLimits limits;
    limits.m_nMaxCurveBytes = 64 << 20;
    limits.m_nMaxEntityVisits = 1'000'000;
    CCurveArray arr;
    const CDxfCurvesResult r = ReadDxfCurves(path, 40, "", arr, limits);
    if (!r.Ok() && !arr.empty())
        std::abort();
    return 0;
}
