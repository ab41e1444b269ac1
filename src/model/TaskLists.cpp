// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/TaskLists.h"

#include "support/AtomicFile.h"

#include "model/TaskArchive.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace inkvale {

namespace {

// Task files beyond this size are not read into memory (no real queue comes near it).
constexpr uintmax_t kMaxTaskFileBytes = uintmax_t{1} << 31;

std::vector<const COnePage*> View(const CTaskList& list) {
    std::vector<const COnePage*> out;
    out.reserve(list.size());
    for (const auto& page : list)
        out.push_back(page.get());
    return out;
}

CTaskList Own(std::vector<COnePage>& pages) {
    CTaskList out;
    out.reserve(pages.size());
    for (COnePage& page : pages)
        out.push_back(std::make_unique<COnePage>(std::move(page)));
    return out;
}

CDocResult ReadError(const std::string& path) {
    return CResult::Failure(-1, "cannot read " + path, {{EMsg::kTaskFileRead, {path}}});
}

CDocResult WriteError(const std::string& path) {
    return CResult::Failure(-1, "cannot write " + path, {{EMsg::kFileOpenError, {}}});
}

} // namespace

std::vector<uint8_t> CTaskLists::Serialize() const {
    CArchiveWriter ar;
    CTaskArchiveWriter writer(ar);
    writer.WritePages(View(m_arrOpened));
    writer.WritePages(View(m_arrManDir));
    writer.WritePages(View(m_arrAutoDir));
    return ar.TakeBytes();
}

CDocResult CTaskLists::Deserialize(const uint8_t* data, size_t size) {
    CArchiveReader ar(data, size);
    CTaskArchiveReader reader(ar);
    std::vector<COnePage> lists[3];
    for (auto& list : lists) {
        if (!reader.ReadPages(list))
            return CResult::Failure(-2, "not a task file", {{EMsg::kTaskFileFormat, {}}});
    }
    m_arrOpened = Own(lists[0]);
    m_arrManDir = Own(lists[1]);
    m_arrAutoDir = Own(lists[2]);
    return {};
}

CDocResult CTaskLists::OpenTaskFile(const std::string& path) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxTaskFileBytes)
        return ReadError(path);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return ReadError(path);
    return Deserialize(bytes);
}

CDocResult CTaskLists::SaveTaskFile(const std::string& path) const {
    // Through a temporary name and flushed to the disk: the old file or the new one, whole.
    if (!WriteFileAtomically(path, Serialize(), true))
        return WriteError(path);
    return {};
}

void CTaskLists::DeleteAllTasks() {
    m_arrOpened.clear();
    m_arrManDir.clear();
    m_arrAutoDir.clear();
}

} // namespace inkvale
