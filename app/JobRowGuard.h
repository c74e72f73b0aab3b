#pragma once
// Every job starts from its catalogue row as loaded. Some converters adapt the selected row in place
// (the land-price converters rewrite item flags and columns for the data year); the job keeps a copy of
// the row and puts it back however the job ends, so a second job in the same dialog (a retry, data of
// another year) does not start from the first job's altered row.
//
// The guard lives as long as the job: when it goes, so do the job's work files, whatever the job's end
// (the log, which holds the cause of a failure, stays).
#include <utility>

#include "app/WorkFiles.h"
#include "convert/core/ConversionState.h"

namespace velmora {

template <class Row>
class JobRowGuard {
public:
    explicit JobRowGuard(Row& row) : row_(row), loaded_(row) {
        conversionState().JobRunning = true;
        // The point job tells its input format afresh.
        conversionState().InputFileFormat = 0;
        conversionState().ItemInputFiles.clear();
        conversionState().JobInputFiles.clear();
        conversionState().OtherItemInputFiles.clear();
        conversionState().FewerRecordNotices.clear();
        // The log of this job is named when it opens: a failure before that has none to write to.
        conversionState().LogFilePath.clear();
        text::forgetReadPosition();
    }
    ~JobRowGuard() {
        row_ = std::move(loaded_);
        conversionState().JobRunning = false;
        conversionState().InFileNo.closeQuietly();
        for (WriterSlot* slot : {&conversionState().FilHFileNo, &conversionState().FilDFileNo,
                                 &conversionState().FilZFileNo, &conversionState().FilZ2FileNo})
            slot->closeQuietly();
        jobs::removeWorkFiles();
    }
    JobRowGuard(const JobRowGuard&) = delete;
    JobRowGuard& operator=(const JobRowGuard&) = delete;

private:
    Row& row_;
    Row loaded_;
};

}  // namespace velmora
