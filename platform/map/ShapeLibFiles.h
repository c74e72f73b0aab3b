#pragma once
// shapelib derives the names of a shapefile's parts from the name it is given (base name plus ".shp",
// ".shx", ".dbf" in lower or upper case). Its open hook is pointed at the files we actually found, so that a
// layer reads exactly the given path and companions that differ in case ("Roads.Dbf").
#include <shapefil.h>

#include <string>

namespace velmora::map {

class ShapeLibFiles {
public:
    // While this object lives, shapelib calls made with hooks() on this thread open `shp`, `shx` and `dbf`
    // for names ending in those extensions (any case), and nothing else. Empty paths open nothing.
    ShapeLibFiles(std::string shp, std::string shx, std::string dbf);
    ~ShapeLibFiles();
    ShapeLibFiles(const ShapeLibFiles&) = delete;
    ShapeLibFiles& operator=(const ShapeLibFiles&) = delete;

    SAHooks* hooks() { return &hooks_; }

    struct Paths {
        std::string shp, shx, dbf;
    };

private:
    SAHooks hooks_;
    Paths paths_;
    Paths* previous_;
};

}  // namespace velmora::map
