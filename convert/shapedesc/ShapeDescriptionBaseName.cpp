#include "convert/shapedesc/ShapeDescriptionBaseName.h"

namespace velmora::shapedesc {

std::string outputBaseName(std::string_view outputPath, std::string_view extension) {
    if (outputPath.size() < extension.size()) return std::string(outputPath);
    std::string_view tail = outputPath.substr(outputPath.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char a = tail[i], b = extension[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
        if (a != b) return std::string(outputPath);
    }
    return std::string(outputPath.substr(0, outputPath.size() - extension.size()));
}

}  // namespace velmora::shapedesc
