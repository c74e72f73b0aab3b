#pragma once
// A binary output file whose every write, flush and close is checked: a full disk or a vanished folder
// throws the owner's failure text instead of leaving a truncated file behind a success. Files are made
// by OutputFiles, which puts them in place only when all of a save's files are complete.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace ostrand {

class BinaryFile {
public:
    // Takes over an open descriptor; failure_text is thrown (as std::string) when a write fails.
    BinaryFile(int fd, std::string failure_text);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    void write(const void* data, std::size_t n);
    void write(const std::string& bytes) { write(bytes.data(), bytes.size()); }
    void put_byte(std::uint8_t v) { write(&v, 1); }
    void put_be32(std::int32_t v);
    void put_le32(std::int32_t v);
    void put_le16(std::uint16_t v);
    void put_le_double(double v);
    // Flushes the buffer and waits until the device holds the data; throws the failure text.
    void sync();
    // Flushes and closes; throws the failure text when either fails.
    void close();

private:
    [[noreturn]] void fail();

    std::FILE* file_ = nullptr;
    std::string failure_;
};

// The fields put_be32, put_le32 and put_le_double write, stored at `b` or appended to bytes gathered for
// one write (a writer's whole record). Inline: a record appends two doubles for every point.
inline void store_be32(char* b, std::int32_t v) {
    const std::uint32_t u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>(u >> (24 - 8 * i));
}

inline void store_le32(char* b, std::int32_t v) {
    const std::uint32_t u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>(u >> (8 * i));
}

inline void store_le_double(char* b, double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) b[i] = static_cast<char>(u >> (8 * i));
}

inline void append_be32(std::string& bytes, std::int32_t v) {
    char b[4];
    store_be32(b, v);
    bytes.append(b, 4);
}

inline void append_le32(std::string& bytes, std::int32_t v) {
    char b[4];
    store_le32(b, v);
    bytes.append(b, 4);
}

inline void append_le_double(std::string& bytes, double v) {
    char b[8];
    store_le_double(b, v);
    bytes.append(b, 8);
}

}  // namespace ostrand
