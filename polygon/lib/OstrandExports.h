#pragma once
// The library's two entry points, for a caller that binds them by name (dlopen of libOstrand.so, dlsym of
// "Ostrand" and "MakeSyusuiV6"). Texts are NUL-terminated: paths UTF-8, codes ASCII. The counts go into
// caller-owned integers, written only when every count pointer is given. The result is the job's status
// (0 success; 1-5 and 11-13 refusals; 101 no progress window; 102 failure during processing).
#include <cstdint>

#define OSTRAND_EXPORT __attribute__((visibility("default")))

extern "C" {

// Area polygons of one data item (0-10). mesh_codes: comma-separated secondary meshes, required (may be
// empty) for the items 2, 3, 4, 6, 7 and 9.
OSTRAND_EXPORT std::int16_t Ostrand(std::int16_t data_id, const char* input_files, const char* output_path,
                                    const char* log_path, const char* mesh_codes, std::int32_t* total,
                                    std::int32_t* made, std::int32_t* incomplete, std::int32_t* rural_records);

// Catchment polygons for comma-separated catchment codes.
OSTRAND_EXPORT std::int16_t MakeSyusuiV6(const char* basin_codes, const char* input_files,
                                         const char* output_path, const char* log_path, std::int32_t* total,
                                         std::int32_t* made, std::int32_t* incomplete);
}

using OstrandFunction = decltype(&Ostrand);
using MakeSyusuiV6Function = decltype(&MakeSyusuiV6);
