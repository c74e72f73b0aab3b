#pragma once
// The run-time error box of the area-structure procedures: "Error: ModPolygon (<procedure>)".
#include <string>

#include "platform/errors/RunTimeError.h"
#include "platform/ui/UiService.h"

namespace velmora::ModPolygon {

inline std::string errorTitle(const char* procedure) { return std::string("Error: ModPolygon (") + procedure + ")"; }

// Runs a procedure's body that gives a Boolean: a run-time error shows the procedure's box and gives false.
template <class Body>
bool guardedProcedure(const char* procedure, Body&& body) {
    try {
        return body();
    } catch (const RunTimeError& e) {
        ui::showRunTimeError(e, errorTitle(procedure));
        return false;
    }
}

}  // namespace velmora::ModPolygon
