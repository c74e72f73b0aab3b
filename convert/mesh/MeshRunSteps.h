#pragma once
// The steps that the mesh layer converter and the seasonal mesh converter take alike: refusing a list that
// names a file twice, checking line 1 of every file before anything is written, and the progress display
// at the start and end of a run.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmora {
struct MeshLayerDef;
}

namespace ModMesh {

// False (logged) when a file stands twice in the list.
bool DistinctInputFiles(const std::vector<std::string>& files);

// Line 1 of every file must hold the layer's header key (false at the first that does not: logged with
// ForeignFileText and kept in OtherItemInputFiles, for the job's failure box to name, with no box of
// its own); `count` gets each file's record count (characters 34-41) as the file is read. A file
// without line 1 throws RunTimeError.
bool CheckInputHeaders(const std::vector<std::string>& files, const velmora::MeshLayerDef& layer,
                       const std::function<void(std::int32_t records)>& count);

// "ファイルの種別が「<layer>」ではありません。 (<path>)" (UTF-8): a file of another item.
std::string ForeignFileText(const velmora::MeshLayerDef& layer, const std::string& path);

// The display "初期処理中・・・" up to the records plus a tenth, shown.
void ShowInitialProgress(double records);

// The display emptied, filled and hidden.
void ResetProgress();

}  // namespace ModMesh
