#pragma once
// The work files a job keeps in the program folder while it runs: the intermediate shape description
// ("MakeShapeFile.fil" and its suffixes) and the work databases ("xxtmp*.mdb" with their journals).
#include <string>

namespace velmora::jobs {

// Deletes every work file of the program folder; one that cannot be deleted stays (the next job replaces
// it under its fixed name).
void removeWorkFiles();

}  // namespace velmora::jobs
