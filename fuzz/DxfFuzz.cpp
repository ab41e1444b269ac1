// SPDX-License-Identifier: GPL-3.0-or-later
// DXF files: any bytes import or fail without crashing, hanging or reading out of bounds,
// and whatever imports converts into curves within the limits.

#include "import/DxfConvert.h"
#include "import/DxfDrawing.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

/// The input as a file: an anonymous memory file reached through /proc.
std::string InputPath(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("dxf-fuzz", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    return "/proc/self/fd/" + std::to_string(fd);
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
