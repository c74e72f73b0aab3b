#pragma once
// One shipped data item converted as a user converts it: a program folder holding the shipped catalogue,
// input files generated in the item's layout, the job run through the headless job runner, and the
// output read back with ogrinfo.
#include <gmock/gmock.h>

#include "platform/text/Cp932.h"
#include "tests/app/jobs/JobRunFixture.h"
#include "tests/catalogue/ShippedCatalogue.h"
#include "tests/tools/gen/CatalogueRecordGen.h"

namespace velmora::testsupport {

class ShippedItemRun : public JobRunFixture {
protected:
    ShippedItemRun() {
        installShippedCatalogue(program_.path());
        if (!loadShippedCatalogue(conversionState())) ADD_FAILURE() << "the shipped catalogue does not load";
    }
    ~ShippedItemRun() override { resetConversionState(); }

    // Runs one job of the given kind ("line", "attr", ...) and row and expects it to succeed.
    void convert(const std::string& kind, int row, const std::string& output, const std::vector<std::string>& inputs,
                 const std::string& options = "--answer no") const {
        std::string arguments = "--kind " + kind + " --row " + std::to_string(row) + " " + options + " --out '" + output + "'";
        for (const std::string& in : inputs) arguments += " '" + in + "'";
        const JobRun run = jobrun(arguments);
        EXPECT_THAT(run.output, ::testing::EndsWith("result: success\n")) << kind << " row " << row;
        EXPECT_EQ(run.exitCode, 0);
    }

    // The field of an item as ogrinfo lists it: "name: String (20.0)" or "name: Integer (3.0)".
    template <std::size_t N>
    static std::string fieldLine(const BasicLayerDef<N>& d, int item) {
        const auto k = static_cast<std::size_t>(item);
        return text::fromCp932(d.ItemName[k]) + ": " + (gen::isTextItemType(d.ItemType[k]) ? "String" : "Integer") + " (" +
               std::to_string(d.ItemWidth[k]) + ".0)";
    }
    // The value of an item of one feature as ogrinfo prints it.
    template <std::size_t N>
    static std::string valueLine(const BasicLayerDef<N>& d, int item, const std::string& value) {
        const auto k = static_cast<std::size_t>(item);
        return "  " + text::fromCp932(d.ItemName[k]) + " (" + (gen::isTextItemType(d.ItemType[k]) ? "String" : "Integer") +
               ") = " + value + "\n";
    }
};

}  // namespace velmora::testsupport
