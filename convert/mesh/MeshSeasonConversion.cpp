#include "convert/mesh/MeshSeasonConversion.h"

#include <array>
#include <exception>
#include <string_view>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/RunningNumber.h"
#include "convert/mesh/MeshCellOutput.h"
#include "convert/mesh/MeshDb.h"
#include "convert/mesh/MeshFields.h"
#include "convert/mesh/MeshGeometry.h"
#include "convert/mesh/MeshRunSteps.h"
#include "convert/shapedesc/ShapeDescriptionBaseName.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "convert/shapedesc/ShapeDescriptionWriter.h"
#include "platform/text/Conversions.h"
#include "platform/text/Cp932.h"
#include "platform/text/Sjis.h"
#include "platform/ui/PacedYield.h"
#include "platform/ui/UiService.h"

namespace ModMesh {

using velmora::conversionState;
namespace sd = velmora::shapedesc;
namespace text = velmora::text;
namespace ui = velmora::ui;
namespace progress = velmora::progress;
namespace modCommon = velmora::modCommon;

namespace {

void yield() { ui::service().yield(); }

std::string seasonSuffix(std::string_view file, int season) { return std::string(file) + std::to_string(season); }

class SeasonRun {
public:
    SeasonRun(const std::vector<std::string>& files, const std::string& outputPath,
              const std::vector<std::string>& chosenCodes)
        : files_(files),
          outputPath_(outputPath),
          chosenCodes_(chosenCodes),
          layer_(velmora::layerRow(conversionState().MeshLayers, conversionState().SelectedIndex)) {}

    bool run() {
        try {
            return convert();
        } catch (const std::exception& e) {
            ui::showError(e, "Error: ModMesh (TokusyuMakeShape)");
            try {
                sd::deletePair();
            } catch (...) {
            }
            return failed();
        }
    }

private:
    bool convert() {
        if (!DistinctInputFiles(files_)) return false;
        std::int32_t total = 0;
        std::vector<std::int32_t> stated;
        if (!CheckInputHeaders(files_, layer_, [&](std::int32_t records) {
                total = text::cLng(static_cast<double>(total) + records);
                stated.push_back(records);
            }))
            return false;

        ShowInitialProgress(total);

        for (int k = 1; k <= 4; ++k) {
            sd::openDescriptionFile(headers_[k - 1], seasonSuffix(sd::HeaderSuffix, k));
            sd::openDescriptionFile(coordinates_[k - 1], seasonSuffix(sd::CoordinateSuffix, k));
        }
        if (!BuildMeshFieldList(layer_, fields_)) return failed();
        const std::string base = sd::shapeBaseName(outputPath_);
        for (int k = 1; k <= 4; ++k)
            WriteMeshHeaderBlock(headers_[k - 1].file(), fields_, base + std::to_string(k), conversionState().DatumCode);

        progress::setCaption("メッシュデータ変換中・・・");
        yield();
        ui::PacedYield lineYield;
        for (std::size_t i = 0; i < files_.size(); ++i) {
            const std::string& path = files_[i];
            text::LineReader& in = conversionState().InFileNo.open(path);
            std::string line;
            while (in.next(line)) {
                if (!line.empty() && line.front() == 'M' && chosen(line) && !record(line)) {
                    conversionState().InFileNo.closeQuietly();
                    return failed();
                }
                progress::step();
                lineYield();
            }
            const long lines = in.lineNumber();
            conversionState().InFileNo.close();
            modCommon::ChkStatedRecordCount(path, stated[i], lines);
        }
        for (int k = 0; k < 4; ++k) {
            headers_[k].close();
            coordinates_[k].close();
        }

        progress::setCaption("シェープファイル作成中・・・");
        yield();
        bool allWritten = true;
        for (int k = 1; k <= 4; ++k) {
            sd::copyPairOnto(k);
            // A season without records still gets its (empty) output beside the others.
            if (!sd::runShapeWriterOnPair(sd::PairDeletion::Never, sd::ShapeFailureMessage, sd::EmptyOutput::Written))
                allWritten = false;
            sd::deletePair();
            deleteSeasonFiles(k);
            yield();
        }
        ResetProgress();
        return allWritten;
    }

    // The selection compares each chosen code, its blanks trimmed, with as many characters from column 6 as
    // the untrimmed code has.
    bool chosen(std::string_view line) const {
        if (chosenCodes_.empty()) return true;
        for (const std::string& code : chosenCodes_)
            if (text::trimBlanks(code) == text::sjisCharCut(line, 6, static_cast<long>(text::sjisCharCount(code))))
                return true;
        return false;
    }

    // One record into the pair of its season; false after a ring failure (logged).
    bool record(std::string_view line) {
        const int season = text::leadingNumber(text::sjisCharCut(line, 12, 1)) - 1;
        if (season < 0 || season > 3) return true;
        const std::string_view code = text::sjisCharCut(line, 6, 9);
        MeshRing ring;
        if (!MeshMake(code, ring)) {
            LogRingFailure();
            return false;
        }
        values_.clear();
        for (int width : fields_.codeWidths) values_.push_back(text::sjisCharCut(code, 1, width));
        for (const MeshFieldList::Source& src : fields_.sources)
            if (src.item != 0)
                values_.push_back(
                    text::trimBlanks(modCommon::MidByteSjis(line, layer_.ItemStart[src.item], layer_.ItemWidth[src.item])));
        cells_.writeRing(coordinates_[season].file(), shapeNumber_, ring);
        cells_.writeBlock(headers_[season].file(), shapeNumber_, ring, values_);
        ModLine::incremented(shapeNumber_);
        return true;
    }

    void deleteSeasonFiles(int k) {
        sd::deleteDescriptionFile(seasonSuffix(sd::HeaderSuffix, k));
        sd::deleteDescriptionFile(seasonSuffix(sd::CoordinateSuffix, k));
    }

    // The end of a stopped run: the numbered files closed and deleted, the progress display reset.
    bool failed() {
        for (int k = 1; k <= 4; ++k) {
            headers_[k - 1].closeQuietly();
            coordinates_[k - 1].closeQuietly();
            try {
                deleteSeasonFiles(k);
            } catch (...) {
            }
        }
        ResetProgress();
        return false;
    }

    const std::vector<std::string>& files_;
    const std::string& outputPath_;
    const std::vector<std::string>& chosenCodes_;
    const velmora::MeshLayerDef& layer_;
    std::array<velmora::WriterSlot, 4> headers_, coordinates_;
    MeshFieldList fields_;
    std::int32_t shapeNumber_ = 1;
    CellWriter cells_;
    std::vector<std::string_view> values_;
};

}  // namespace

bool TokusyuMakeShape(const std::vector<std::string>& files, const std::string& outputPath,
                      const std::vector<std::string>& chosenCodes) {
    try {
        SeasonRun run(files, outputPath, chosenCodes);
        return run.run();
    } catch (const std::exception& e) {
        ui::showError(e, "Error: ModMesh (TokusyuMakeShape)");
        return false;
    }
}

}  // namespace ModMesh
