#pragma once
// A mesh conversion ready to run: an own program folder with "Log" and "in", the conversion log open, a
// progress bar and label, the scripted user interface, mesh layer row 1 describing the generator's files,
// and a stand-in for Brunhale that keeps a copy of the pair it was given ("captured_H", "captured_D"),
// counts its runs and exits with a chosen code.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "convert/core/ConversionLog.h"
#include "convert/core/ConversionState.h"
#include "convert/mesh/MeshLayerConversion.h"
#include "platform/text/Cp932.h"
#include "platform/ui/TestApplication.h"
#include "platform/ui/TestUi.h"
#include "tests/convert/core/TempProgramFolder.h"
#include "tests/tools/gen/MeshFileGen.h"

namespace velmora::testsupport {

class MeshFixture : public ::testing::Test {
protected:
    static constexpr int kRow = 1;

    MeshFixture() {
        ConversionState& s = conversionState();
        s.AppFolder = program_.path().string() + "/";
        std::filesystem::create_directory(program_.path() / "in");
        s.SelectedKind = DataKind::Mesh;
        s.SelectedIndex = kRow;
        s.DatumCode = 2000;
        s.OutputPath = program_.file("out.shp");
        layer(3, 0);
        s.LogFilePath = program_.file("Log/mesh.log");
        modCommon::openLogFile(text::LineWriter::Mode::Replace);
        s.ConvProgressBar = &bar_;
        s.ConvMsgLabel = &label_;
        label_.setText("before");
        installStandIn(0);
    }
    ~MeshFixture() override { conversionState().LogFileNo.closeQuietly(); }

    // Row kRow describes the generator's files of a level and subdivision (census: the census layer).
    MeshLayerDef& layer(int level, int subdivision, gen::MeshFileFormat format = gen::MeshFileFormat::Fixed) {
        MeshLayerDef& row = conversionState().MeshLayers[kRow];
        const std::string name = format == gen::MeshFileFormat::Fixed ? "標高・傾斜度メッシュ" : ModMesh::kCensusLayerName;
        gen::fillMeshLayerRow(row, name, "M99", level, subdivision, gen::meshItems(format, subdivision));
        return row;
    }

    // Row kRow as the forest, lake or four-way layer of the generator's files.
    MeshLayerDef& layer(gen::MeshLayerKind kind) {
        static const std::map<gen::MeshLayerKind, std::pair<const char*, int>> names = {
            {gen::MeshLayerKind::Forest, {"森林・国公有地メッシュ", 3}},
            {gen::MeshLayerKind::Lake, {"湖沼メッシュ", 3}},
            {gen::MeshLayerKind::FourWay, {"波向・海霧・自然漁場２次メッシュ", 2}}};
        MeshLayerDef& row = conversionState().MeshLayers[kRow];
        const auto& [name, level] = names.at(kind);
        gen::fillMeshLayerRow(row, name, "M99", level, 0, gen::layerItems(kind));
        return row;
    }

    void installStandIn(int exitCode) {
        const std::string path = program_.file("Brunhale");
        std::ofstream(path, std::ios::trunc) << "#!/bin/sh\nd=$(dirname \"$0\")\n"
                                                "cp \"$d/MakeShapeFile.fil_H\" \"$d/captured_H\"\n"
                                                "cp \"$d/MakeShapeFile.fil_D\" \"$d/captured_D\"\n"
                                                "echo run >> \"$d/runs\"\n"
                                                "exit "
                                             << exitCode << "\n";
        ::chmod(path.c_str(), 0755);
    }

    std::string input(const std::string& name, const gen::MeshFileModel& model) {
        const std::string path = program_.file("in/" + name);
        gen::writeMeshFile(path, model);
        return path;
    }
    std::string input(const std::string& name, const gen::MeshFileOptions& options) {
        return input(name, gen::makeMeshFileModel(options));
    }

    bool convert(const std::vector<std::string>& files, const std::vector<std::string>& codes = {}) {
        return ModMesh::MakeShapeMESHFileData(files, conversionState().OutputPath, codes);
    }

    // Lines of a file of the program folder, UTF-8, without their CR LF; empty when it does not exist.
    std::vector<std::string> linesOf(const std::string& name) const {
        std::vector<std::string> lines;
        const std::string bytes = TempProgramFolder::read(program_.file(name));
        std::size_t from = 0;
        for (std::size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
            lines.push_back(text::fromCp932(bytes.substr(from, at - from)));
        return lines;
    }
    std::vector<std::string> header() const { return linesOf("captured_H"); }
    std::vector<std::string> coordinates() const { return linesOf("captured_D"); }
    std::vector<std::string> logLines() {
        conversionState().LogFileNo.file().close();
        modCommon::openLogFile(text::LineWriter::Mode::Append);
        return linesOf("Log/mesh.log");
    }
    int writerRuns() const {
        const std::string runs = TempProgramFolder::read(program_.file("runs"));
        return static_cast<int>(std::count(runs.begin(), runs.end(), '\n'));
    }

    // The lines of a key ("LINKNO", "LINKIDX", "DBFITEM", ...) in order.
    static std::vector<std::string> keyed(const std::vector<std::string>& lines, const std::string& key) {
        std::vector<std::string> found;
        for (const std::string& l : lines)
            if (l.rfind(key + ",", 0) == 0) found.push_back(l);
        return found;
    }

    // Nothing of the job is left in the program folder, and the progress display is full, hidden and empty.
    void expectCleanEnd() {
        for (const char* name : {"MakeShapeFile.fil_H", "MakeShapeFile.fil_D", "xxtmpMesh.mdb", "xxtmpMeshdm.mdb"})
            EXPECT_FALSE(std::filesystem::exists(program_.file(name))) << name;
        EXPECT_TRUE(bar_.isHidden());
        EXPECT_EQ(bar_.value(), bar_.maximum());
        EXPECT_TRUE(label_.isHidden());
        EXPECT_EQ(label_.text().toStdString(), "");
    }

    QApplication& app_ = ui::testApplication();
    TempProgramFolder program_;
    ui::TestUi ui_;
    QProgressBar bar_;
    QLabel label_;
};

}  // namespace velmora::testsupport
