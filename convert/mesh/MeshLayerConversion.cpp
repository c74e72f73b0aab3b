#include "convert/mesh/MeshLayerConversion.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <string_view>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionProgress.h"
#include "convert/core/ConversionRoutines.h"
#include "convert/core/ConversionState.h"
#include "convert/core/RunningNumber.h"
#include "convert/mesh/MeshCellOutput.h"
#include "convert/mesh/MeshCensus.h"
#include "convert/mesh/MeshDb.h"
#include "convert/mesh/MeshFields.h"
#include "convert/mesh/MeshGeometry.h"
#include "convert/mesh/MeshLedger.h"
#include "convert/mesh/MeshRunSteps.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "convert/shapedesc/ShapeDescriptionRun.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFiles.h"
#include "platform/errors/RunTimeError.h"
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

constexpr const char* kErrorTitle = "ｴﾗｰﾒｯｾｰｼﾞ";
const std::vector<const LedgerRow*> kNoLedgerRows;

void log(const std::string& cp932) { modCommon::PutLogFileMsg(modCommon::kFreeLogLine, cp932); }
void yield() { ui::service().yield(); }

// Cuts of one record by Shift-JIS byte, as modCommon::MidByteSjis makes them. A record without a lead byte
// holds no double-byte character, so its cuts are plain byte ranges and need not be walked from the start
// of the record each time: a subdivided record is cut a hundred times or more.
class RecordCuts {
public:
    explicit RecordCuts(std::string_view line)
        : line_(line), singleBytes_(std::none_of(line.begin(), line.end(), [](char c) {
              return text::isSjisLeadByte(static_cast<unsigned char>(c));
          })) {}
    std::string_view bytes(long start, long length) const {
        if (!singleBytes_ || start < 1 || length < 0) return modCommon::MidByteSjis(line_, start, length);
        const auto from = std::min(static_cast<std::size_t>(start - 1), line_.size());
        return line_.substr(from, static_cast<std::size_t>(length));
    }

private:
    std::string_view line_;
    bool singleBytes_;
};

// What a line's handling leaves the run to do.
enum class Outcome {
    Next,           // go on with the next line
    Failed,         // stop: the files are closed, no end steps (the work files stay on disk)
    FailedEndSteps,  // stop: the files are closed, then the end steps
    FailedReported   // stop as after a run-time error whose box has been shown
};

class MeshConversionRun {
public:
    MeshConversionRun(const std::vector<std::string>& files, const std::string& outputPath,
                      const std::vector<std::string>& chosenCodes)
        : files_(files),
          outputPath_(outputPath),
          chosenCodes_(chosenCodes),
          layer_(velmora::layerRow(conversionState().MeshLayers, conversionState().SelectedIndex)),
          census_(text::fromCp932(layer_.Name) == kCensusLayerName),
          several_(files.size() > 1) {}

    bool run() {
        try {
            return convert();
        } catch (const std::exception& e) {
            ui::showError(e, "Error: ModMesh (MakeShapeMESHFileData)");
            runTimeCleanUp();
            return false;
        }
    }

    // After a run-time error: everything closed, the pair deleted (the work databases stay on disk).
    void runTimeCleanUp() {
        closeFiles();
        ResetProgress();
        try {
            sd::deletePair();
        } catch (...) {
        }
    }

    void closeLedger() { ledger_.reset(); }

private:
    bool convert() {
        if (!DistinctInputFiles(files_) ||
            !CheckInputHeaders(files_, layer_, [&](std::int32_t records) {
                total_ += records;
                stated_.push_back(records);
            }))
            return false;
        ShowInitialProgress(total_);

        sd::openPair();
        if (!BuildMeshFieldList(layer_, fields_)) {
            sd::closePair();
            return false;
        }
        WriteMeshHeaderBlock(conversionState().FilHFileNo.file(), fields_, outputPath_, conversionState().DatumCode);

        if (several_) {
            if (!pMeshDb()) {
                ui::message("変換用作業ファイルの作成に失敗しました", kErrorTitle, ui::Icon::Exclamation);
                sd::closePair();
                return endSteps(false);
            }
            mesh_ = &MeshWorkDb().appender(kMeshTable);
        }

        cellNumber_ = 1;
        progress::setCaption("メッシュデータ変換中・・・");
        yield();
        for (std::size_t i = 0; i < files_.size(); ++i) {
            const Outcome o = convertFile(files_[i], stated_[i]);
            if (o == Outcome::Failed) return closeFiles(), false;
            if (o == Outcome::FailedEndSteps) return closeFiles(), endSteps(false);
            if (o == Outcome::FailedReported) return runTimeCleanUp(), false;
        }
        return finish();
    }

    // One file to its end; a file that held fewer lines than its header states is noted.
    Outcome convertFile(const std::string& path, std::int32_t stated) {
        if (fields_.ledger != LedgerKind::None) {
            closeLedger();
            if (!DmDataMake(fields_.ledger, path)) return Outcome::FailedReported;
            velmora::db::Database ledgerDb = velmora::db::Database::open(LedgerDbPath());
            ledger_ = std::make_unique<LedgerLookup>(fields_.ledger, ledgerDb);
        }
        text::LineReader& in = conversionState().InFileNo.open(path);
        census::Separator separator{};
        if (census_) {
            const std::int16_t format = modCommon::ChkFileFormat(path);
            if (format == modCommon::FileFormat::Mixed) {
                const std::string message = "データフォーマットが不正です（カンマ、ＴＡＢ混在）";
                ui::message(message, kErrorTitle, ui::Icon::Exclamation);
                log(text::toCp932(message + " (" + path + ")"));
                return Outcome::FailedEndSteps;
            }
            if (format == modCommon::FileFormat::Unknown) return Outcome::FailedEndSteps;
            separator = census::separatorOf(format);
        }
        if (several_) MeshWorkDb().begin();
        std::string line;
        int accountLines = 0;
        while (in.next(line)) {
            // The account name and address after a forest ledger line belong to it, whatever they begin with.
            if (accountLines > 0) {
                --accountLines;
            } else if (fields_.ledger == LedgerKind::Forest && line.rfind("DM", 0) == 0) {
                accountLines = 2;
            } else {
                const Outcome o = census_ ? censusLine(path, in.lineNumber(), line, separator) : meshLine(line);
                if (o != Outcome::Next) return o;
            }
            progress::step();
            lineYield_();
        }
        if (several_) MeshWorkDb().commit();
        const long lines = in.lineNumber();
        conversionState().InFileNo.close();
        modCommon::ChkStatedRecordCount(path, stated, lines);
        return Outcome::Next;
    }

    bool chosen(std::string_view line) const {
        if (chosenCodes_.empty()) return true;
        const std::string_view from6 = text::sjisCharCut(line, 6);
        for (const std::string& code : chosenCodes_)
            if (from6.substr(0, code.size()) == code) return true;
        return false;
    }

    Outcome meshLine(std::string_view line) {
        if (line.empty() || line.front() != 'M' || !chosen(line)) return Outcome::Next;
        return layer_.Subdivision == 0 ? plainRecord(line) : subdividedRecord(line);
    }

    Outcome ringFailure(Outcome outcome) {
        LogRingFailure();
        return outcome;
    }

    Outcome noteCode(std::string_view code) {
        if (!several_) return Outcome::Next;
        if (MeshDBAdd(*mesh_, cellNumber_, code)) return Outcome::Next;
        ui::message("変換用作業ファイルの出力に失敗しました", kErrorTitle, ui::Icon::Exclamation);
        return Outcome::FailedEndSteps;
    }

    // The cell's code values: the first 4, 6, 8 or 9 characters of its code as the level asks.
    void codeValues(std::string_view code) {
        values_.clear();
        for (int width : fields_.codeWidths) values_.push_back(text::sjisCharCut(code, 1, width));
    }

    // The values after the code values, in field order: each written item's value from item(k), each
    // ledger entry's block joined from the record's ledger rows (empty values without any).
    template <class Item>
    void appendValues(Item&& item, std::string_view record, const std::vector<const LedgerRow*>& rows) {
        for (const MeshFieldList::Source& src : fields_.sources) {
            if (src.item != 0) values_.push_back(item(src.item));
            else JoinLedgerEntry(fields_.ledger, LedgerEntries(fields_.ledger)[static_cast<std::size_t>(src.ledgerEntry - 1)],
                                 record, rows, values_);
        }
    }

    void writeCell(const MeshRing& ring) {
        if (!several_) cells_.writeRing(conversionState().FilDFileNo.file(), cellNumber_, ring);
        cells_.writeBlock(conversionState().FilHFileNo.file(), cellNumber_, ring, values_);
        ModLine::incremented(cellNumber_);
    }

    Outcome plainRecord(std::string_view line) {
        modCommon::ChkRecordLength(line, modCommon::layoutEnd(layer_, 1, layer_.ItemCount));
        const std::string_view code = text::sjisCharCut(line, 6, 9);
        MeshRing ring;
        if (!MeshMake(code, ring)) return ringFailure(Outcome::Failed);
        if (const Outcome o = noteCode(text::sjisCharCut(code, 1, levelCodeWidth())); o != Outcome::Next) return o;
        codeValues(code);
        const RecordCuts cuts(line);
        const std::vector<const LedgerRow*>& rows = ledger_ ? ledger_->DmDataSelect(line) : kNoLedgerRows;
        appendValues([&](int k) { return text::trimBlanks(cuts.bytes(layer_.ItemStart[k], layer_.ItemWidth[k])); }, line,
                     rows);
        writeCell(ring);
        return Outcome::Next;
    }

    Outcome subdividedRecord(std::string_view line) {
        const RecordCuts cuts(line);
        const std::string_view code = cuts.bytes(6, 9);
        if (several_ && (layer_.MeshLevel == 2 || layer_.MeshLevel == 3))
            if (const Outcome o = noteCode(text::sjisCharCut(line, 6, levelCodeWidth())); o != Outcome::Next) return o;
        const std::string_view charCode = text::sjisCharCut(line, 6, 9);
        const int n = layer_.Subdivision;
        long position = layer_.ItemStart[1];
        for (std::int16_t row = 0; row < n; ++row)
            for (std::int16_t column = 0; column < n; ++column) {
                MeshRing ring;
                if (!SaibunMeshMake(code, column, row, ring)) return ringFailure(Outcome::FailedEndSteps);
                codeValues(charCode);
                const char cell[2] = {static_cast<char>('0' + row), static_cast<char>('0' + column)};
                if (fields_.subdivisionCode) values_.push_back(std::string_view(cell, 2));
                cellItems_.assign(static_cast<std::size_t>(layer_.ItemCount) + 1, {});
                for (std::size_t k = 1; k <= static_cast<std::size_t>(layer_.ItemCount); ++k) {
                    cellItems_[k] = text::trimBlanks(cuts.bytes(position, layer_.ItemWidth[k]));
                    position += layer_.ItemWidth[k];
                }
                appendValues([&](int k) { return cellItems_[static_cast<std::size_t>(k)]; }, line, kNoLedgerRows);
                writeCell(ring);
            }
        return Outcome::Next;
    }

    Outcome censusLine(const std::string& path, long lineNumber, std::string_view line, census::Separator separator) {
        if (!line.empty() && line.front() == 'H') return Outcome::Next;
        const std::vector<std::string_view>& f = census::splitFields(line, separator, censusFields_);
        if (!separator.found || f.size() != static_cast<std::size_t>(layer_.ItemCount) + 1) {
            log(text::toCp932("入力データのフォーマットに異常があります " + path + " の " + std::to_string(lineNumber) +
                              "行目); \""));
            skippedCensusLine_ = true;
            return Outcome::Next;
        }
        const std::string_view code = text::trimBlanks(f[0]);
        MeshRing ring;
        if (!MeshMake(code, ring)) return ringFailure(Outcome::Failed);
        if (const Outcome o = noteCode(code); o != Outcome::Next) return o;
        codeValues(f[0]);
        appendValues([&](int k) { return census::itemValue(f[static_cast<std::size_t>(k)]); }, line, kNoLedgerRows);
        writeCell(ring);
        return Outcome::Next;
    }

    // Characters of the code a record notes for de-duplication: its level's whole code.
    int levelCodeWidth() const { return fields_.codeWidths.empty() ? 0 : fields_.codeWidths.back(); }

    bool finish() {
        progress::setCaption("シェープファイル作成中・・・");
        yield();
        conversionState().FilHFileNo.close();
        if (several_) {
            const bool written = layer_.Subdivision != 0 ? OutPutSaiMDBtoCsv() : OutPutMDBtoCsv();
            if (!written) {
                conversionState().FilDFileNo.closeQuietly();
                MeshWorkDb().close();
                ui::message("変換用作業ファイルの読み込みに失敗しました", kErrorTitle, ui::Icon::Exclamation);
                return endSteps(false);
            }
            MeshWorkDb().close();
        }
        conversionState().FilDFileNo.close();
        return endSteps(sd::runShapeWriterOnPair(sd::PairDeletion::Never));
    }

    bool endSteps(bool result) {
        if (skippedCensusLine_)
            ui::message("入力データのフォーマットに不正がありました.\r\n"
                        "不正のあったデータを読み飛ばしてシェープファイルを作成しました。\r\n"
                        "エラー内容はLOGファイルを参照してください",
                        kErrorTitle, ui::Icon::Exclamation);
        MeshWorkDb().close();
        closeLedger();
        sd::deletePair();
        // A work database that something else still holds stays where it is: it is not this job's, and
        // the job that made it has reported it already (pMeshDb could not replace it).
        for (const char* name : {kLedgerDbName, kMeshDbName}) {
            try {
                velmora::db::removeFile(conversionState().AppFolder + name);
            } catch (const velmora::RunTimeError&) {
            }
        }
        yield();
        ResetProgress();
        return result;
    }

    // Input file, pair and work database closed, whatever state they were in.
    void closeFiles() {
        conversionState().InFileNo.closeQuietly();
        conversionState().FilHFileNo.closeQuietly();
        conversionState().FilDFileNo.closeQuietly();
        try {
            MeshWorkDb().close();
        } catch (...) {
        }
        try {
            closeLedger();
        } catch (...) {
        }
    }

    const std::vector<std::string>& files_;
    const std::string& outputPath_;
    const std::vector<std::string>& chosenCodes_;
    const velmora::MeshLayerDef& layer_;
    const bool census_;
    const bool several_;

    double total_ = 0;
    // The line count each file's header states, in list order.
    std::vector<std::int32_t> stated_;
    MeshFieldList fields_;
    velmora::db::Appender* mesh_ = nullptr;
    std::int32_t cellNumber_ = 1;
    CellWriter cells_;
    std::vector<std::string_view> values_;
    std::vector<std::string_view> censusFields_;
    std::vector<std::string_view> cellItems_;
    // The ledger of the current file (forest and lake layers).
    std::unique_ptr<LedgerLookup> ledger_;
    bool skippedCensusLine_ = false;
    // The turn of the message loop after each line read.
    ui::PacedYield lineYield_;
};

}  // namespace

bool MakeShapeMESHFileData(const std::vector<std::string>& files, const std::string& outputPath,
                           const std::vector<std::string>& chosenCodes) {
    try {
        MeshConversionRun run(files, outputPath, chosenCodes);
        return run.run();
    } catch (const std::exception& e) {
        // The layer row itself is out of reach.
        ui::showError(e, "Error: ModMesh (MakeShapeMESHFileData)");
        return false;
    }
}

}  // namespace ModMesh
