#include "app/MeshSelection.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

#include "app/MeshTree.h"
#include "convert/core/ConversionState.h"
#include "platform/errors/RunTimeError.h"

namespace velmora {

namespace {

bool isMeshNode(const TreeModel::Node& node) { return node.key.rfind(kMeshKeyPrefix, 0) == 0; }

// The value of a mesh code; the codes of a tree are digits, up to ten of them for the finest meshes.
std::int64_t codeValue(const std::string& code) {
    std::int64_t v = 0;
    const char* end = code.data() + code.size();
    const auto [at, ec] = std::from_chars(code.data(), end, v);
    if (code.empty() || ec != std::errc() || at != end || v < 0) throw RunTimeError(err::TypeMismatch, "Type mismatch");
    return v;
}

// The next secondary mesh code above a value: six digits whose last two, the row and the column of the
// secondary cell, are 0 to 7. Codes between two ticked codes that are no secondary mesh code cannot stand
// in the data, so a range may pass over them.
std::int64_t nextSecondaryCode(std::int64_t v) {
    ++v;
    if (v % 10 > 7) v += 10 - v % 10;
    if (v / 10 % 10 > 7) v += 100 - v % 100;
    return v;
}

// Starts a selection: MeshRangeCount 0 and the lists it fills back to their unused entries 0 and 1.
template <class List>
void resetList(List& list) {
    list.assign(2, {});
}

}  // namespace

bool rootTicked(const TreeModel& tree) { return tree.node(tree.root()).ticked; }

std::string meshNodeCode(const TreeModel::Node& node) { return node.key.substr(3, 6); }

std::vector<std::string> walkTickedMeshCodes(const TreeModel& tree) {
    std::vector<std::string> codes;
    for (int prefecture : tree.node(tree.root()).children) {
        const TreeModel::Node& p = tree.node(prefecture);
        if (!p.bold) continue;
        for (int mesh : p.children)
            if (tree.node(mesh).ticked) codes.push_back(meshNodeCode(tree.node(mesh)));
    }
    return codes;
}

std::vector<MeshCodeRun> exactMeshRuns(const TreeModel& tree) {
    std::vector<std::pair<std::int64_t, std::string>> ticked;
    for (const std::string& code : walkTickedMeshCodes(tree)) ticked.emplace_back(codeValue(code), code);
    std::sort(ticked.begin(), ticked.end());
    ticked.erase(std::unique(ticked.begin(), ticked.end(),
                             [](const auto& a, const auto& b) { return a.first == b.first; }),
                 ticked.end());
    if (ticked.empty()) return {};

    // Two ticked codes share an entry only when nothing a record could hold lies between them: no secondary
    // mesh code, and no other code of the tree (a tree may list codes of its own). A code that is no number
    // cannot lie between two numbers and is left out.
    std::vector<std::int64_t> all;
    for (std::size_t n = 0; n < tree.size(); ++n) {
        const TreeModel::Node& node = tree.node(static_cast<int>(n));
        if (!isMeshNode(node)) continue;
        try {
            all.push_back(codeValue(meshNodeCode(node)));
        } catch (const RunTimeError&) {
        }
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    auto position = [&](std::int64_t v) { return std::lower_bound(all.begin(), all.end(), v) - all.begin(); };

    std::vector<MeshCodeRun> runs;
    runs.push_back({ticked.front().second, ticked.front().second});
    for (std::size_t i = 1; i < ticked.size(); ++i) {
        if (position(ticked[i].first) == position(ticked[i - 1].first) + 1 &&
            nextSecondaryCode(ticked[i - 1].first) >= ticked[i].first)
            runs.back().last = ticked[i].second;
        else
            runs.push_back({ticked[i].second, ticked[i].second});
    }
    return runs;
}

std::string meshCondition(const std::string& column, const MeshCodeRun& run) {
    if (run.first == run.last) return column + " = " + run.first;
    return column + " >= " + run.first + " AND " + column + " <= " + run.last;
}

void selectMeshRanges(const TreeModel& tree) {
    ConversionState& s = conversionState();
    s.MeshRangeCount = 0;
    resetList(s.MeshRanges);
    if (rootTicked(tree)) {
        s.MeshRangeCount = -1;
        return;
    }
    for (const MeshCodeRun& run : exactMeshRuns(tree)) {
        s.MeshRanges.resize(static_cast<std::size_t>(s.MeshRangeCount) + 2);
        s.MeshRanges[static_cast<std::size_t>(++s.MeshRangeCount)] = {run.first, run.last};
    }
}

void selectMeshLine(const TreeModel& tree) {
    ConversionState& s = conversionState();
    s.MeshRangeCount = 0;
    resetList(s.StartMeshWhere);
    if (rootTicked(tree)) {
        s.MeshRangeCount = -1;
        return;
    }
    for (const MeshCodeRun& run : exactMeshRuns(tree)) {
        s.StartMeshWhere.resize(static_cast<std::size_t>(s.MeshRangeCount) + 2);
        s.StartMeshWhere[static_cast<std::size_t>(++s.MeshRangeCount)] = meshCondition(kStartMeshColumn, run);
    }
}

void selectMeshPolygon(const TreeModel& tree, bool attachedOutputs, std::string& meshCodeList) {
    ConversionState& s = conversionState();
    s.MeshRangeCount = 0;
    meshCodeList.clear();
    if (rootTicked(tree)) {
        s.MeshRangeCount = -1;
        return;
    }
    for (const std::string& code : walkTickedMeshCodes(tree)) meshCodeList += (meshCodeList.empty() ? "" : ",") + code;
    if (!attachedOutputs) return;
    resetList(s.RepMeshWhere);
    resetList(s.StartMeshWhere);
    for (const MeshCodeRun& run : exactMeshRuns(tree)) {
        const auto next = static_cast<std::size_t>(s.MeshRangeCount) + 2;
        s.RepMeshWhere.resize(next);
        s.StartMeshWhere.resize(next);
        ++s.MeshRangeCount;
        s.RepMeshWhere[next - 1] = meshCondition(kRepMeshColumn, run);
        s.StartMeshWhere[next - 1] = meshCondition(kStartMeshColumn, run);
    }
}

std::vector<std::string> tickedMeshKeys(const TreeModel& tree) {
    std::vector<std::string> codes;
    for (std::size_t n = 0; n < tree.size(); ++n) {
        const TreeModel::Node& node = tree.node(static_cast<int>(n));
        if (node.ticked && node.key.find(kMeshKeyPrefix) != std::string::npos) codes.push_back(node.key.substr(3));
    }
    return codes;
}

}  // namespace velmora
