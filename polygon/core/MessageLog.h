#pragma once
// Builds the makers' numbered log lines into the job's list of lines. Every operation does nothing when
// the log is not bound to a list.
#include <string>
#include <vector>

namespace ostrand {

class MessageLog {
public:
    explicit MessageLog(std::vector<std::string>* lines = nullptr) : lines_(lines) {}

    bool bound() const { return lines_ != nullptr; }

    void add(const std::string& message);
    // "[" number (at least 6 characters, "0" on the left) "]" message; the line stays open unless `end`.
    void add_numbered(int number, const std::string& message, bool end = true);
    // add_numbered (open), then "エリア一連番号=" serial.
    void add_area(int number, const std::string& message, int serial, bool end = true);
    // add_numbered (open), "エリア一連番号=" serial "/リンクメッシュコード=" mesh "/リンク番号=" link; ended.
    void add_area_link(int number, const std::string& message, int serial, const std::string& mesh_code, int link_no);
    // "エリアを構成するリンク間の不連続ヶ所が" gaps tail as the numbered message, then the serial; ended.
    void add_discontinuity(int number, int gaps, const std::string& tail, int serial);
    void flush_line();

private:
    std::vector<std::string>* lines_;
    std::string buf_;
};

}  // namespace ostrand
