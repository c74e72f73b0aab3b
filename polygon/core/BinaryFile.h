#pragma once
// A binary output file whose every write, flush and close is checked: a full disk or a vanished folder
// throws the owner's failure text instead of leaving a truncated file behind a success. Files are made
// by OutputFiles, which puts them in place only when all of a save's files are complete.
#include <cstdint>
#include <cstdio>
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

}  // namespace ostrand
