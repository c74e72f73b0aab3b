#include "brunhale/TrackedFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace velmora::brunhale {

namespace {

// Each thread writes files of its own (the .dbf in one, the .shp and .shx in another), so each keeps its
// own first failure and reports it with the file it was writing.
thread_local std::string g_firstError;

void note(const std::string& what) {
    if (g_firstError.empty()) g_firstError = what;
}

// shapelib seeks before every record it writes, even to where the file already stands; a real seek
// flushes the stdio buffer, so every record would cost its own system calls. The position is kept here
// and a seek to it costs nothing.
struct File {
    std::FILE* f;
    SAOffset pos;
};

File* asFile(SAFile f) { return reinterpret_cast<File*>(f); }

SAFile open(const char* name, const char* access) {
    std::FILE* f = std::fopen(name, access);
    if (!f) {
        // shapelib probes for files that may not exist (reading); only a failed creation is an error.
        if (std::strchr(access, 'w')) note(std::string("cannot create ") + name + ": " + std::strerror(errno));
        return nullptr;
    }
    std::setvbuf(f, nullptr, _IOFBF, 1 << 20);
    return reinterpret_cast<SAFile>(new File{f, 0});
}

// shapelib hands a null buffer with a count of zero (the field descriptors of a table without fields);
// the C library's functions must not see it.
SAOffset read(void* p, SAOffset size, SAOffset n, SAFile file) {
    if (n == 0 || size == 0) return 0;
    File* f = asFile(file);
    SAOffset done = std::fread(p, size, n, f->f);
    f->pos += done * size;
    return done;
}

SAOffset write(void* p, SAOffset size, SAOffset n, SAFile file) {
    if (n == 0 || size == 0) return 0;
    File* f = asFile(file);
    SAOffset done = std::fwrite(p, size, n, f->f);
    f->pos += done * size;
    if (done != n) note(std::string("write failed: ") + std::strerror(errno));
    return done;
}

SAOffset seek(SAFile file, SAOffset offset, int whence) {
    File* f = asFile(file);
    if (whence == SEEK_SET && offset == f->pos) return 0;
    if (std::fseek(f->f, static_cast<long>(offset), whence) != 0) {
        note(std::string("seek failed: ") + std::strerror(errno));
        return static_cast<SAOffset>(-1);
    }
    f->pos = static_cast<SAOffset>(std::ftell(f->f));
    return 0;
}

SAOffset tell(SAFile file) { return asFile(file)->pos; }

int flush(SAFile file) {
    int r = std::fflush(asFile(file)->f);
    if (r != 0) note(std::string("flush failed: ") + std::strerror(errno));
    return r;
}

int close(SAFile file) {
    File* f = asFile(file);
    int r = std::fclose(f->f);
    delete f;
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
