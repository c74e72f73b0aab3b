#include "brunhale/TrackedFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velmora::brunhale {

namespace {

std::string g_firstError;

void note(const std::string& what) {
    if (g_firstError.empty()) g_firstError = what;
}

std::FILE* asFile(SAFile f) { return reinterpret_cast<std::FILE*>(f); }

SAFile open(const char* name, const char* access) {
    std::FILE* f = std::fopen(name, access);
    if (!f) {
        // shapelib probes for files that may not exist (reading); only a failed creation is an error.
        if (std::strchr(access, 'w')) note(std::string("cannot create ") + name + ": " + std::strerror(errno));
        return nullptr;
    }
    std::setvbuf(f, nullptr, _IOFBF, 1 << 20);
    return reinterpret_cast<SAFile>(f);
}

SAOffset read(void* p, SAOffset size, SAOffset n, SAFile f) { return std::fread(p, size, n, asFile(f)); }

SAOffset write(void* p, SAOffset size, SAOffset n, SAFile f) {
    SAOffset done = std::fwrite(p, size, n, asFile(f));
    if (done != n) note(std::string("write failed: ") + std::strerror(errno));
    return done;
}

SAOffset seek(SAFile f, SAOffset offset, int whence) {
    int r = std::fseek(asFile(f), static_cast<long>(offset), whence);
    if (r != 0) note(std::string("seek failed: ") + std::strerror(errno));
    return static_cast<SAOffset>(r);
}

SAOffset tell(SAFile f) { return static_cast<SAOffset>(std::ftell(asFile(f))); }

int flush(SAFile f) {
    int r = std::fflush(asFile(f));
    if (r != 0) note(std::string("flush failed: ") + std::strerror(errno));
    return r;
}

int close(SAFile f) {
    int r = std::fclose(asFile(f));
    if (r != 0) note(std::string("close failed: ") + std::strerror(errno));
    return r;
}

int removeFile(const char* name) { return std::remove(name); }

void error(const char* message) { note(message); }

double toNumber(const char* s) { return std::strtod(s, nullptr); }

}  // namespace

TrackedFiles::TrackedFiles() {
    hooks_.FOpen = open;
    hooks_.FRead = read;
    hooks_.FWrite = write;
    hooks_.FSeek = seek;
    hooks_.FTell = tell;
    hooks_.FFlush = flush;
    hooks_.FClose = close;
    hooks_.Remove = removeFile;
    hooks_.Error = error;
    hooks_.Atof = toNumber;
}

const std::string& TrackedFiles::firstError() { return g_firstError; }
void TrackedFiles::reset() { g_firstError.clear(); }

}  // namespace velmora::brunhale
