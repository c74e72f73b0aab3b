// The pair and its extra files in the program folder: opening, moving, copying, deleting.
#include <gtest/gtest.h>

#include <filesystem>

#include "convert/core/ConversionState.h"
#include "convert/shapedesc/ShapeDescriptionFiles.h"
#include "platform/errors/RunTimeError.h"
#include "tests/convert/core/TempProgramFolder.h"

using namespace velmora;
using namespace velmora::shapedesc;
using Folder = testsupport::TempProgramFolder;

namespace {

int errorNumber(void (*f)()) {
    try {
        f();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(DescriptionFiles, NamesLieInTheProgramFolder) {
    Folder folder;
    EXPECT_EQ(headerFilePath(), folder.file("MakeShapeFile.fil_H"));
    EXPECT_EQ(coordinateFilePath(), folder.file("MakeShapeFile.fil_D"));
    EXPECT_EQ(descriptionPath("_Z2"), folder.file("MakeShapeFile.fil_Z2"));
}

TEST(DescriptionFiles, OpeningEmptiesWhatAnEarlierJobLeft) {
    Folder folder;
    Folder::write(headerFilePath(), "old header");
    Folder::write(coordinateFilePath(), "old coordinates");
    openPair();
    EXPECT_TRUE(conversionState().FilHFileNo.isOpen());
    EXPECT_TRUE(conversionState().FilDFileNo.isOpen());
    closePair();
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
    EXPECT_EQ(Folder::read(headerFilePath()), "");
    EXPECT_EQ(Folder::read(coordinateFilePath()), "");
    closePair();  // closing again is harmless
}

TEST(DescriptionFiles, PairInAFolderThatCannotBeWrittenIsARunTimeError) {
    Folder folder;
    setProgramFolder(folder.file("missing"));
    EXPECT_EQ(errorNumber(openPair), err::PathNotFound);
    EXPECT_FALSE(conversionState().FilHFileNo.isOpen());
}

TEST(DescriptionFiles, ExtraHeaderFilesMoveOntoTheHeaderFile) {
    Folder folder;
    WriterSlot z;
    openDescriptionFile(z, "_Z");
    z.file().writeLine("MAKEFILE_NAME,/out/p_Z");
    z.close();
    Folder::write(headerFilePath(), "main header");
    moveOntoHeaderFile("_Z");
    EXPECT_EQ(Folder::read(headerFilePath()), "MAKEFILE_NAME,/out/p_Z\r\n");
    EXPECT_FALSE(std::filesystem::exists(descriptionPath("_Z")));
    EXPECT_EQ(errorNumber([] { moveOntoHeaderFile("_Z2"); }), err::FileNotFound);
}

TEST(DescriptionFiles, NumberedPairsAreCopiedOntoThePair) {
    Folder folder;
    Folder::write(descriptionPath("_H3"), "header 3");
    Folder::write(descriptionPath("_D3"), "coordinates 3");
    Folder::write(headerFilePath(), "earlier");
    copyPairOnto(3);
    EXPECT_EQ(Folder::read(headerFilePath()), "header 3");
    EXPECT_EQ(Folder::read(coordinateFilePath()), "coordinates 3");
    EXPECT_TRUE(std::filesystem::exists(descriptionPath("_H3"))) << "a copy keeps the numbered pair";
    EXPECT_EQ(errorNumber([] { copyPairOnto(4); }), err::FileNotFound);
}

TEST(DescriptionFiles, DeletingWhatExists) {
    Folder folder;
    Folder::write(headerFilePath(), "h");
    deletePair();  // the coordinate file is missing: nothing to do for it
    EXPECT_FALSE(std::filesystem::exists(headerFilePath()));
    deleteDescriptionFile("_0");
}

}  // namespace
